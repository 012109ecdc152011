#include "app/Projects.h"

#include <cerrno>
#include <system_error>

#include "app/AppTexts.h"
#include "app/ProjectList.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor {
namespace {

std::filesystem::path Resolved(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  if (ec)
    resolved = std::filesystem::absolute(path, ec).lexically_normal();
  return resolved;
}

// A name that can only stay where it is typed: relative, without ".." parts.
bool StaysBelow(const std::filesystem::path& name) {
  if (name.has_root_name() || name.has_root_directory())
    return false;
  for (const auto& part : name) {
    if (part == "..")
      return false;
  }
  return true;
}

bool HasControlCharacter(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      return true;
  }
  return false;
}

// The settings file trims blanks around a value and drops matching quotes, so such a name
// would come back as another one at the next start.
bool SettingsFileKeeps(const std::string& name) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  if (blank(name.front()) || blank(name.back()))
    return false;
  if (name.find('"') != std::string::npos)
    return false;
  return !(name.size() >= 2 && name.front() == '\'' && name.back() == '\'');
}

}  // namespace

std::optional<std::string> NameBelow(const std::filesystem::path& path,
                                     const std::filesystem::path& root) {
  const std::filesystem::path top = Resolved(root);
  const std::filesystem::path inner = Resolved(path);
  auto t = top.begin();
  auto i = inner.begin();
  for (; t != top.end(); ++t, ++i) {
    if (t->empty())
      continue;  // a trailing separator of the root
    if (i == inner.end() || *i != *t)
      return std::nullopt;
  }
  std::string name;
  for (; i != inner.end(); ++i) {
    if (i->empty())
      continue;
    name += kNativeSeparator;
    name += Utf8FromPath(*i);
  }
  return name;
}

bool IsInside(const std::filesystem::path& path, const std::filesystem::path& root) {
  return NameBelow(path, root).has_value();
}

NewProjectOutcome CreateNewProject(AppState& state, const std::filesystem::path& dest_dir,
                                   const std::string& typed_name) {
  NewProjectOutcome outcome;
  if (dest_dir.empty())
    outcome.messages.push_back(app_texts::kDestinationNotValid);
  if (typed_name.empty() || HasControlCharacter(typed_name) || !SettingsFileKeeps(typed_name)) {
    outcome.messages.push_back(app_texts::kNameNotValid);
  }
  if (!outcome.messages.empty())
    return outcome;

  const std::string name = NativeProjectName(typed_name);
  const std::filesystem::path relative = PathFromUtf8(name);
  const std::filesystem::path dir = dest_dir / relative;
  if (!StaysBelow(relative) || !IsInside(dir, dest_dir)) {
    outcome.messages.push_back(app_texts::kNameOutside);
    return outcome;
  }
  std::error_code ec;
  if (std::filesystem::exists(dir, ec)) {
    outcome.messages.push_back(app_texts::kNameExists);
    return outcome;
  }
  // One level only: a nested name needs its parent. A failure keeps the dialog open without
  // a message, as the dialog always did.
  if (!std::filesystem::create_directory(dir, ec) || ec) {
    outcome.reason = ec ? ec.message() : SystemReason(EEXIST);
    return outcome;
  }
  std::filesystem::create_directories(dir / "bin", ec);
  state.ProjectName = name;
  state.ProjectDir = dest_dir;
  state.ProjectDir += std::filesystem::path::preferred_separator;
  state.ProjectDir += relative;
  state.SetProjectPaths();
  outcome.created = true;
  return outcome;
}

std::filesystem::path PrepareOpenProject(AppState& state) {
  std::error_code ec;
  if (!state.ProjectDir.empty() && !std::filesystem::is_directory(state.ProjectDir, ec)) {
    state.ProjectDir.clear();
  }
  return state.ProjectDir;
}

Status CompleteOpenProject(AppState& state, const std::optional<std::filesystem::path>& chosen) {
  Status status = Status::Ok();
  if (chosen) {
    if (!IsInside(*chosen, state.ProjectsDir)) {
      status = Failure{FormatText(app_texts::kOpenOutside, {Utf8FromPath(state.ProjectsDir)})};
    } else if (!IsProjectFolder(*chosen, state.ProjectsDir)) {
      // PROJECTS itself or a project's bin folder: the steps would write project files there.
      status = Failure{FormatText(app_texts::kNotProjectFolder, {Utf8FromPath(*chosen)})};
    } else {
      state.ProjectDir = *chosen;
    }
  }
  if (state.ProjectDir.empty()) {
    state.ProjectName.clear();
  } else if (auto name = NameBelow(state.ProjectDir, state.ProjectsDir)) {
    state.ProjectName = *name;
    state.ProjectDir = ProjectDirOf(state, *name);
  }
  state.SetProjectPaths();
  return status;
}

Status OpenProjectByName(AppState& state, const std::string& typed) {
  std::string name = NativeProjectName(typed);
  while (!name.empty() && (name.front() == kNativeSeparator || name.front() == '/')) {
    name.erase(name.begin());
  }
  const std::filesystem::path dir = state.ProjectsDir / PathFromUtf8(name);
  std::error_code ec;
  if (IsInside(dir, state.ProjectsDir) && !std::filesystem::is_directory(dir, ec)) {
    return Failure{FormatText(app_texts::kProjectMissing, {Utf8FromPath(dir)})};
  }
  return CompleteOpenProject(state, dir);
}

}  // namespace quastor
