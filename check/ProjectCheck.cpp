#include "check/ProjectCheck.h"

#include <string>
#include <system_error>
#include <utility>

#include "app/AppState.h"
#include "check/CheckTexts.h"
#include "check/FileChecks.h"
#include "check/ProblemList.h"
#include "platform/FileReading.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/TextCodec.h"
#include "platform/XmlDocument.h"
#include "tools/SelectString.h"
#include "tools/ToolsTexts.h"

namespace quastor {
namespace {

// The readers' messages name a file by its full path; a problem names it by its name in the
// project, so that the lines read the same wherever the project lies.
std::string WithFileNames(std::string text, const std::filesystem::path& project_dir) {
  const std::string dir = Utf8FromPath(project_dir);
  if (dir.empty())
    return text;
  const bool ends_in_separator = dir.back() == '/' || dir.back() == '\\';
  for (const char separator : {'/', '\\'}) {
    const std::string prefix = ends_in_separator ? dir : dir + separator;
    for (std::size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at))
      text.erase(at, prefix.size());
  }
  return text;
}

// A file whose UTF-8 letters the readers cannot show, since other bytes make it 8-bit text.
void NoteMixedEncoding(const std::filesystem::path& file, ProblemList& list) {
  const Result<std::string> bytes = ReadWholeFile(file);
  if (bytes && MixesUtf8WithOtherBytes(*bytes))
    list.File(check_texts::kMixedEncoding);
}

// A symbolic link in a file's place that leads nowhere: the windows take the file for missing.
void NoteDanglingLink(const std::filesystem::path& file, ProblemList& list) {
  std::error_code error;
  if (!std::filesystem::is_symlink(file, error) || std::filesystem::exists(file, error))
    return;
  const std::filesystem::path target = std::filesystem::read_symlink(file, error);
  list.File(FormatText(check_texts::kDanglingLink, {Utf8FromPath(target)}));
}

// strings.xml, the string picker's file: it reads, and the picker shows all its strings.
ProblemList CheckStrings(const std::filesystem::path& file) {
  ProblemList list(ProblemFileName(file));
  std::error_code error;
  // A missing file (or a link that leads nowhere, told apart) is an empty picker; anything else
  // that is not a regular file is refused by the read below.
  if (!std::filesystem::exists(file, error))
    return list;
  XmlDocument document;
  if (Status loaded = document.Load(file); !loaded) {
    list.File(loaded.error());
    return list;
  }
  const std::size_t count = document.DocumentElement().ChildCount();
  if (count > static_cast<std::size_t>(kStringRows)) {
    list.File(FormatText(check_texts::kStringsBeyond,
                         {std::to_string(count), std::to_string(kStringRows)}));
  }
  return list;
}

}  // namespace

std::vector<CheckProblem> CheckProject(const AppState& state) {
  if (!state.ProjectSelected())
    return {};
  std::vector<ProblemList> lists = CheckGatewayFiles(state.ProjectDir, state.ProjectFiles);
  for (ProblemList& list : CheckCanopenFiles(state.ProjectDir, state.ProjectFiles))
    lists.push_back(std::move(list));
  for (ProblemList& list : CheckJ1939Files(state.ProjectFiles))
    lists.push_back(std::move(list));
  lists.push_back(CheckStrings(state.ProjectDir / tools_texts::kStringsFileName));

  std::vector<CheckProblem> problems;
  for (ProblemList& list : lists) {
    NoteDanglingLink(state.ProjectDir / PathFromUtf8(list.file()), list);
    NoteMixedEncoding(state.ProjectDir / PathFromUtf8(list.file()), list);
    for (CheckProblem& problem : list.Sorted()) {
      problem.reason = WithFileNames(std::move(problem.reason), state.ProjectDir);
      problems.push_back(std::move(problem));
    }
  }
  return problems;
}

std::vector<std::string> CheckProjectLines(const AppState& state) {
  std::vector<std::string> lines;
  for (const CheckProblem& problem : CheckProject(state))
    lines.push_back(ProblemLine(problem));
  return lines;
}

}  // namespace quastor
