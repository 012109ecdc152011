// The layers hold: core files include no Qt and no window, the command-line tool no window,
// and a subsystem no other subsystem than app/ and platform/. The project check (check/)
// reads every subsystem's files through their core, so it may include any core header, but
// no other folder's window, and nothing below it includes the check.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

const std::set<std::string> kSubsystems = {"app",   "gateway", "update", "canopen",
                                           "j1939", "tools",   "devices"};

struct Include {
  std::string target;  // "platform/Text.h", or "<QWidget>" for an angle include
  int line;
};

std::vector<Include> IncludesOf(const fs::path& file) {
  std::vector<Include> includes;
  std::ifstream in(file);
  std::string text;
  int number = 0;
  while (std::getline(in, text)) {
    ++number;
    const auto hash = text.find_first_not_of(" \t");
    if (hash == std::string::npos || text.compare(hash, 8, "#include") != 0)
      continue;
    const auto open = text.find_first_of("\"<", hash + 8);
    if (open == std::string::npos)
      continue;
    const char close = text[open] == '"' ? '"' : '>';
    const auto end = text.find(close, open + 1);
    if (end == std::string::npos)
      continue;
    std::string target = text.substr(open + 1, end - open - 1);
    includes.push_back({close == '>' ? "<" + target + ">" : target, number});
  }
  return includes;
}

// The files of the window libraries, as each folder's CMakeLists.txt lists them in its
// quastor_ui_library() (a .cpp brings its .h along), by their paths from the top.
std::set<std::string> WindowFiles(const fs::path& top) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(top)) {
    if (entry.path().filename() != "CMakeLists.txt")
      continue;
    std::ifstream in(entry.path());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto block = text.find("quastor_ui_library(");
    if (block == std::string::npos)
      continue;
    const std::string folder = fs::relative(entry.path().parent_path(), top).generic_string();
    std::string word;
    for (std::size_t i = block; i < text.size() && text[i] != ')'; ++i) {
      if (!std::isspace(static_cast<unsigned char>(text[i]))) {
        word += text[i];
        continue;
      }
      const fs::path source(word);
      if (source.extension() == ".cpp" || source.extension() == ".h") {
        files.insert(folder + "/" + source.generic_string());
        files.insert(folder + "/" + fs::path(source).replace_extension(".h").generic_string());
      }
      word.clear();
    }
  }
  return files;
}

bool IsQt(const std::string& target) {
  return target.rfind("<Q", 0) == 0 || target.rfind("<qt", 0) == 0;
}

std::string TopFolder(const std::string& target) {
  return target.substr(0, target.find('/'));
}

// The problems of one file, given its path from the top of the tree and the window files.
std::vector<std::string> Problems(const fs::path& relative, const fs::path& file,
                                  const std::set<std::string>& windows) {
  std::vector<std::string> problems;
  const std::string folder = relative.begin()->string();
  const bool core = windows.count(relative.generic_string()) == 0;
  for (const Include& include : IncludesOf(file)) {
    const std::string where = relative.generic_string() + ":" + std::to_string(include.line) + " ";
    const std::string& target = include.target;
    const bool ui_header = windows.count(target) != 0;
    if ((core || folder == "cli") && (IsQt(target) || ui_header))
      problems.push_back(where + "a core file includes " + target);
    if (target.front() == '<' || target.find('/') == std::string::npos)
      continue;
    const std::string top = TopFolder(target);
    if (folder == "platform" && top != "platform")
      problems.push_back(where + "platform includes " + target);
    if (kSubsystems.count(folder) && top != folder && top != "app" && top != "platform")
      problems.push_back(where + "subsystem " + folder + " includes " + target);
    if (folder == "app" && top != "app" && top != "platform")
      problems.push_back(where + "app includes " + target);
    if (top == "check" && (kSubsystems.count(folder) || folder == "platform"))
      problems.push_back(where + folder + " includes the project check " + target);
    if (folder == "check" && ui_header && top != "check" && top != "platform")
      problems.push_back(where + "the project check includes the window " + target);
  }
  return problems;
}

TEST(LayerGuard, IncludesFollowTheLayers) {
  const fs::path top = SourceFile("");
  const std::set<std::string> windows = WindowFiles(top);
  EXPECT_TRUE(windows.count("gateway/Upargen.h")) << "the window libraries were not found";
  std::vector<std::string> problems;
  int files = 0;
  for (const char* folder : {"platform", "app", "gateway", "update", "canopen", "j1939", "tools",
                             "devices", "check", "cli"}) {
    if (!fs::is_directory(top / folder))
      continue;
    for (const auto& entry : fs::recursive_directory_iterator(top / folder)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".h" && extension != ".cpp")
        continue;
      ++files;
      for (auto& problem : Problems(fs::relative(entry.path(), top), entry.path(), windows))
        problems.push_back(problem);
    }
  }
  EXPECT_GT(files, 50) << "the source tree was not found at " << top;
  for (const auto& problem : problems)
    ADD_FAILURE() << problem;
}

// The guard itself finds each kind of fault.
TEST(LayerGuard, FindsEachKindOfFault) {
  TempDir dir;
  const std::set<std::string> windows = {"gateway/Upargen.cpp",     "gateway/Upargen.h",
                                         "platform/ui/Shell.cpp",   "platform/ui/Widgets.h",
                                         "update/UBootSer.h",       "j1939/USetVar.cpp",
                                         "check/UCheckProject.cpp", "check/UCheckProject.h"};
  struct Case {
    const char* file;
    const char* include;
    bool fault;
  } cases[] = {
      {"gateway/ParGen.cpp", "#include <QString>", true},
      {"gateway/ParGen.cpp", "#include \"gateway/Upargen.h\"", true},
      {"gateway/Upargen.cpp", "#include <QString>", false},
      {"platform/Text.cpp", "#include <QWidget>", true},
      {"platform/ui/Shell.cpp", "#include <QWidget>", false},
      {"platform/Text.cpp", "#include \"app/AppState.h\"", true},
      {"cli/main.cpp", "#include \"update/UBootSer.h\"", true},
      {"cli/main.cpp", "#include \"update/SRecord.h\"", false},
      {"canopen/TableFile.cpp", "#include \"gateway/ParGen.h\"", true},
      {"canopen/TableFile.cpp", "#include \"app/AppState.h\"", false},
      {"j1939/USetVar.cpp", "#include \"platform/ui/Widgets.h\"", false},
      {"app/StartUp.cpp", "#include \"update/SRecord.h\"", true},
      {"check/CanopenCheck.cpp", "#include \"canopen/PdoTable.h\"", false},
      {"check/J1939Check.cpp", "#include \"j1939/FrameInfo.h\"", false},
      {"check/ProjectCheck.cpp", "#include <QString>", true},
      {"check/GatewayCheck.cpp", "#include \"gateway/Upargen.h\"", true},
      {"check/UCheckProject.cpp", "#include <QListWidget>", false},
      {"check/UCheckProject.cpp", "#include \"platform/ui/Widgets.h\"", false},
      {"check/UCheckProject.cpp", "#include \"gateway/Upargen.h\"", true},
      {"canopen/TableFile.cpp", "#include \"check/ProjectCheck.h\"", true},
      {"app/AppState.cpp", "#include \"check/ProjectCheck.h\"", true},
      {"cli/CheckCommands.cpp", "#include \"check/ProjectCheck.h\"", false},
      {"cli/CheckCommands.cpp", "#include \"check/UCheckProject.h\"", true},
      {"devices/EdsFile.cpp", "#include \"app/AppState.h\"", false},
      {"devices/EdsFile.cpp", "#include \"canopen/SdoTable.h\"", true},
      {"canopen/USdo.cpp", "#include \"devices/EdsFile.h\"", true},
      {"j1939/FrameList.cpp", "#include \"devices/DbcFile.h\"", true},
      {"cli/DeviceCommands.cpp", "#include \"devices/DbcFile.h\"", false},
  };
  for (const Case& c : cases) {
    const fs::path file = dir / "file.cpp";
    WriteBytes(file, std::string(c.include) + "\n");
    EXPECT_EQ(!Problems(c.file, file, windows).empty(), c.fault) << c.file << " " << c.include;
  }
}

}  // namespace
}  // namespace quastor::test
