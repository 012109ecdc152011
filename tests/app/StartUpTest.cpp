// Start-up paths, the remembered project and the settings file at exit.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/StartUp.h"
#include "platform/PathText.h"
#include "platform/SettingsFile.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(StartUp, FirstRunInEmptyDirectory) {
  TempDir home;
  const AppState state = StartUp(home.path());
  EXPECT_TRUE(fs::is_directory(home / "MASTER"));
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS"));
  EXPECT_EQ(state.ProjectName, "");
  EXPECT_EQ(state.ProjectDir, home / "PROJECTS");
  EXPECT_FALSE(state.ProjectSelected()) << "PROJECTS itself is no project: no step may write there";
  EXPECT_EQ(StartUpCaption(state), "Vexlar Quastor_SW4410_DNET2PROFI");
  EXPECT_EQ(state.ProjectFiles.pargen, home / "PROJECTS" / "pargen.xml");
}

TEST(StartUp, RememberedProjectInEveryNotation) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Plant1");
  fs::create_directories(home / "PROJECTS" / "A" / "B");
  const std::string sep(1, fs::path::preferred_separator);
  struct Case {
    const char* value;
    std::string name;
    fs::path dir;
  } cases[] = {
      {"Plant1", sep + "Plant1", home / "PROJECTS" / "Plant1"},
      {"\\Plant1", sep + "Plant1", home / "PROJECTS" / "Plant1"},
      {"/Plant1", sep + "Plant1", home / "PROJECTS" / "Plant1"},
      {"\\A\\B", sep + "A" + sep + "B", home / "PROJECTS" / "A" / "B"},  // written on Windows
  };
  for (const Case& c : cases) {
    WriteBytes(home / "Quastor_DNET2PROFI.ini",
               std::string("[lastproj]\r\nprojectname=") + c.value + "\r\n");
    const AppState state = StartUp(home.path());
    EXPECT_EQ(state.ProjectName, c.name) << c.value;
    EXPECT_EQ(state.ProjectDir, c.dir) << c.value;
    EXPECT_EQ(StartUpCaption(state), "Vexlar Quastor_SW4410_DNET2PROFI :" + c.name);
    EXPECT_EQ(state.ProjectFiles.sendInfo, c.dir / "Send_Info.xml");
  }
}

// A remembered name that leads outside PROJECTS, or to PROJECTS itself, is no project; nor is
// one that holds a NUL byte, which the system's calls cut short to PROJECTS/P (a step that
// removes a file of the project then removed that folder itself).
TEST(StartUp, RememberedNameOutsideProjectsCountsAsNone) {
  TempDir home;
  fs::create_directories(home / "MASTER");
  fs::create_directories(home / "PROJECTS" / "P");
  fs::create_directories(home / "elsewhere");
  fs::create_directories(home / "PROJECTS");
  // Windows lets few users make links (and MinGW's library cannot): there the link case goes.
  std::error_code no_links;
  fs::create_directory_symlink(home / "elsewhere", home / "PROJECTS" / "link", no_links);
  std::vector<std::string> values = {"..",
                                     "../MASTER",
                                     "\\..\\MASTER",
                                     "/../elsewhere",
                                     ".",
                                     std::string("P\0junk", 6),
                                     std::string("\\P\0", 3)};
  if (!no_links)
    values.push_back("link");
  for (const std::string& value : values) {
    WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=" + value + "\r\n");
    const AppState state = StartUp(home.path());
    EXPECT_EQ(state.ProjectName, "") << value;
    EXPECT_EQ(state.ProjectDir, home / "PROJECTS") << value;
    EXPECT_FALSE(state.ProjectSelected()) << value;
    EXPECT_EQ(StartUpCaption(state), "Vexlar Quastor_SW4410_DNET2PROFI") << value;
  }
}

TEST(StartUp, GoneProjectKeepsItsNameForTheNextExit) {
  TempDir home;
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=\\Gone\r\n");
  AppState state = StartUp(home.path());
  EXPECT_EQ(state.ProjectDir, home / "PROJECTS");
  EXPECT_EQ(StartUpCaption(state), "Vexlar Quastor_SW4410_DNET2PROFI");
  ASSERT_TRUE(SaveLastProject(state).ok());
  const std::string sep(1, fs::path::preferred_separator);
  EXPECT_EQ(ReadBytes(home / "Quastor_DNET2PROFI.ini"),
            "[lastproj]\r\nprojectname=" + sep + "Gone\r\n");
}

TEST(StartUp, ExitWithoutProjectWritesEmptyValue) {
  TempDir home;
  const AppState state = StartUp(home.path());
  ASSERT_TRUE(SaveLastProject(state).ok());
  EXPECT_EQ(ReadBytes(home / "Quastor_DNET2PROFI.ini"), "[lastproj]\r\nprojectname=\r\n");
}

TEST(StartUp, FailedSettingsWriteSaysUnableToWrite) {
  TempDir home;
  AppState state = StartUp(home.path());
  fs::create_directories(home / "Quastor_DNET2PROFI.ini" / "x");
  const Status saved = SaveLastProject(state);
  ASSERT_FALSE(saved.ok());
  const Status reason = WriteProfileString(home / "Quastor_DNET2PROFI.ini", "lastproj", "p", "");
  ASSERT_FALSE(reason.ok());
  EXPECT_FALSE(reason.error().empty());
  EXPECT_EQ(saved.error(), "Unable to write to " + (home / "Quastor_DNET2PROFI.ini").string() +
                               ": " + reason.error());
}

// Catches a read that makes the application directory, MASTER or PROJECTS: only a command
// that writes may (the command-line tool's read-only commands go through it).
TEST(StartUp, LoadingChangesNothingOnDisk) {
  TempDir top;
  const fs::path home = top / "home";
  const AppState fresh = LoadAppState(home, top.path());
  EXPECT_FALSE(fs::exists(home));
  EXPECT_EQ(fresh.ProjectDir, home / "PROJECTS");
  fs::create_directories(home / "PROJECTS" / "Plant1");
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=Plant1\r\n");
  EXPECT_EQ(LoadAppState(home).ProjectDir, home / "PROJECTS" / "Plant1");
  EXPECT_FALSE(fs::exists(home / "MASTER"));
  PrepareAppDirectory(LoadAppState(home));
  EXPECT_TRUE(fs::is_directory(home / "MASTER"));
}

// Sets QUASTOR_HOME of this process; an empty value removes it on Windows.
void SetHome(const fs::path& value) {
#ifdef _WIN32
  _wputenv_s(L"QUASTOR_HOME", value.c_str());
#else
  setenv("QUASTOR_HOME", value.c_str(), 1);
#endif
}

TEST(StartUp, HomeFromEnvironment) {
  TempDir home;
  SetHome(home.path());
  EXPECT_EQ(*ApplicationDirectory("/opt/exe"), home.path());
  // A name outside the ANSI code page's reach on Windows must come through whole.
  const fs::path wide = home.path() / PathFromUtf8("Caf\xC3\xA9 \xCE\xA9");
  SetHome(wide);
  EXPECT_EQ(*ApplicationDirectory("/opt/exe"), wide);
  SetHome("");
  EXPECT_EQ(*ApplicationDirectory("/opt/exe"), fs::path("/opt/exe"));
#ifndef _WIN32
  unsetenv("QUASTOR_HOME");
  EXPECT_EQ(*ApplicationDirectory("/opt/exe"), fs::path("/opt/exe"));
#endif
}

}  // namespace
}  // namespace quastor
