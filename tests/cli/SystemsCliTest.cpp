// quastor-cli where Windows and the other systems differ: project names and application
// directories in every notation, settings files as the Windows profile functions write them,
// and CR LF in every text file the tool writes. The same cases run on Linux and, built for
// Windows, under Wine; expectations that only Windows can meet are marked.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/PathText.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

constexpr char kIni[] = "Quastor_DNET2PROFI.ini";
constexpr char kCafe[] = "Caf\xC3\xA9";  // "Café": not in every code page's ASCII part

std::string Utf8(const fs::path& path) {
  return Utf8FromPath(path);
}

// ASCII text as UTF-16 LE with its byte order mark, as Windows writes a Unicode profile.
std::string Utf16Le(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

// Every line of the text ends with CR LF, the last one included.
::testing::AssertionResult AllLinesEndWithCrLf(const std::string& text) {
  if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0)
    return ::testing::AssertionFailure() << "the last line has no CR LF";
  for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
    if (i == 0 || text[i - 1] != '\r')
      return ::testing::AssertionFailure() << "a bare LF at byte " << i;
  }
  for (std::size_t i = text.find('\r'); i != std::string::npos; i = text.find('\r', i + 1)) {
    if (i + 1 >= text.size() || text[i + 1] != '\n')
      return ::testing::AssertionFailure() << "a bare CR at byte " << i;
  }
  return ::testing::AssertionSuccess();
}

// An application directory with the projects Plant1 and Plant2.
class SystemsCli : public ::testing::Test {
 protected:
  SystemsCli() {
    fs::create_directories(home_ / "PROJECTS" / "Plant1" / "bin");
    fs::create_directories(home_ / "PROJECTS" / "Plant2" / "bin");
  }
  fs::path project(const std::string& name) const {
    return home_ / "PROJECTS" / PathFromUtf8(name);
  }
  // What "project show" prints for the project name.
  std::string Shown(const std::string& name) const {
    return kSep + name + "\n" + Utf8(project(name)) + "\n";
  }
  CliRun Run(const std::vector<std::string>& args) const { return RunCliAt(home_.path(), args); }

  TempDir home_;
};

TEST_F(SystemsCli, ProjectNamesAndDirectoriesInEveryNotation) {
  const std::string home = Utf8(home_.path());
  const std::string outside =
      "Name project not valid because it leads outside the projects directory\n";
  struct Case {
    const char* what;
    std::vector<std::string> args;  // "--home" and the home come first unless given
    int exitCode;
    std::string err;
    std::string shownAfter;  // "project show" at the next start
  } cases[] = {
      {"Windows separator in front", {"project", "open", "\\Plant1"}, 0, "", Shown("Plant1")},
      {"other separator in front", {"project", "open", "/Plant2"}, 0, "", Shown("Plant2")},
      {"Windows separator, option",
       {"--project", "\\Plant1", "project", "show"},
       0,
       "",
       Shown("Plant2")},
      {"home with a separator at its end",
       {"--home", home + kSep, "project", "open", "Plant1"},
       0,
       "",
       Shown("Plant1")},
      {"name outside ASCII", {"project", "new", kCafe}, 0, "", Shown(kCafe)},
      {"rooted name", {"project", "new", "\\Rooted"}, 1, outside, Shown(kCafe)},
#ifdef _WIN32
      // A drive letter makes a name absolute, or relative to that drive's current directory:
      // either way it leaves the projects directory.
      {"drive and root", {"project", "new", "C:\\Evil"}, 1, outside, Shown(kCafe)},
      {"drive without root", {"project", "new", "C:Evil"}, 1, outside, Shown(kCafe)},
      // Windows takes "/" for a separator too; what is printed has its own separators.
      {"home written with /",
       {"--home", fs::path(home).generic_string(), "project", "open", "Plant1"},
       0,
       "",
       Shown("Plant1")},
#endif
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    if (args.front() != "--home")
      args.insert(args.begin(), {"--home", home});
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what << ": " << run.err;
    EXPECT_EQ(run.err, c.err) << c.what;
    EXPECT_EQ(Run({"project", "show"}).out, c.shownAfter) << c.what;
  }
  EXPECT_TRUE(fs::is_directory(project(kCafe) / "bin"));
  EXPECT_FALSE(fs::exists(home_ / "Rooted"));
  EXPECT_FALSE(fs::exists(project("Rooted")));
}

TEST_F(SystemsCli, ReadsAndKeepsSettingsFilesOfTheWindowsProfileFunctions) {
  struct Case {
    const char* what;
    std::string file;
    std::string shown;
  } cases[] = {
      {"UTF-16 LE, CR LF", Utf16Le("[lastproj]\r\nprojectname=\\Plant1\r\n"), Shown("Plant1")},
      {"ANSI, bare name", "[lastproj]\r\nprojectname=Plant1\r\n", Shown("Plant1")},
      {"ANSI, Windows-1252 letter", "[LastProj]\r\nProjectName=\\Caf\xE9\r\n",
       kSep + kCafe + "\n" + Utf8(project(kCafe)) + "\n"},
  };
  fs::create_directories(project(kCafe));
  for (const Case& c : cases) {
    WriteBytes(home_ / kIni, c.file);
    const CliRun run = Run({"project", "show"});
    EXPECT_EQ(run.exitCode, 0) << c.what << ": " << run.err;
    EXPECT_EQ(run.out, c.shown) << c.what;
  }

  // Remembering another project keeps UTF-16 LE with its byte order mark, and CR LF.
  WriteBytes(home_ / kIni, Utf16Le("[lastproj]\r\nprojectname=\\Plant1\r\n"));
  const CliRun opened = Run({"project", "open", "Plant2"});
  EXPECT_EQ(opened.exitCode, 0) << opened.err;
  EXPECT_EQ(ReadBytes(home_ / kIni), Utf16Le("[lastproj]\r\nprojectname=" + kSep + "Plant2\r\n"));
  EXPECT_EQ(Run({"project", "show"}).out, Shown("Plant2"));
}

TEST_F(SystemsCli, EveryTextFileIsWrittenWithCrLf) {
  // A settings file with LF only and other sections: rewritten, every line gets CR LF.
  WriteBytes(home_ / kIni, "; kept\n[other]\nkey=1\n\n[lastproj]\nprojectname=\\Plant1\n");
  ASSERT_EQ(Run({"project", "open", "Plant2"}).exitCode, 0);
  const std::string ini = ReadBytes(home_ / kIni);
  EXPECT_TRUE(AllLinesEndWithCrLf(ini)) << ini;
  EXPECT_NE(ini.find("key=1\r\n"), std::string::npos) << ini;

  ASSERT_EQ(Run({"project", "new", "Fresh"}).exitCode, 0);
  EXPECT_TRUE(AllLinesEndWithCrLf(ReadBytes(home_ / kIni)));

  ASSERT_EQ(Run({"settings", "set", "--profi-in", "100", "--profi-out", "8"}).exitCode, 0);
  const fs::path gsd = home_ / "out.gsd";
  const CliRun run = Run({"gsd", Utf8(gsd)});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string text = ReadBytes(gsd);
  EXPECT_TRUE(AllLinesEndWithCrLf(text));
  EXPECT_NE(text.find("\r\nEndModule\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quastor::test
