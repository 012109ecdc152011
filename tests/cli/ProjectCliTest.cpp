// quastor-cli project new | open | show, end to end on a temporary application directory.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/PathText.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

std::string Remembered(const TempDir& home) {
  return ReadBytes(home / "Quastor_DNET2PROFI.ini");
}

TEST(ProjectCli, NewCreatesProjectWithBinAndRemembersIt) {
  TempDir home;
  const CliRun run = RunCliAt(home.path(), {"project", "new", "Plant2"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::is_directory(home / "MASTER"));
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS" / "Plant2" / "bin"));
  EXPECT_TRUE(fs::is_empty(home / "PROJECTS" / "Plant2" / "bin"));
  EXPECT_EQ(Remembered(home), "[lastproj]\r\nprojectname=Plant2\r\n");

  // The next start turns the bare name into a name with a leading separator.
  const CliRun show = RunCliAt(home.path(), {"project", "show"});
  EXPECT_EQ(show.exitCode, 0);
  EXPECT_EQ(show.out, kSep + "Plant2\n" + (home / "PROJECTS" / "Plant2").string() + "\n");
}

TEST(ProjectCli, NewRefusalsCarryTheDialogsMessages) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Old");
  struct Case {
    const char* name;
    const char* message;
  } cases[] = {
      {"Old", "Name project not valid because directory already exists\n"},
      {"", "Name project not valid\n"},
      {"../Escape", "Name project not valid because it leads outside the projects directory\n"},
      {"/tmp/abs", "Name project not valid because it leads outside the projects directory\n"},
      {"A/../../B", "Name project not valid because it leads outside the projects directory\n"},
  };
  for (const Case& c : cases) {
    const CliRun run = RunCliAt(home.path(), {"project", "new", c.name});
    EXPECT_EQ(run.exitCode, 1) << c.name;
    EXPECT_EQ(run.err, c.message) << c.name;
  }
  EXPECT_FALSE(fs::exists(home / "Escape"));
  EXPECT_FALSE(fs::exists(home / "Quastor_DNET2PROFI.ini")) << "a refusal remembered nothing";
}

TEST(ProjectCli, NestedNameNeedsItsParent) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "A");
  EXPECT_EQ(RunCliAt(home.path(), {"project", "new", "A\\B"}).exitCode, 0);
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS" / "A" / "B" / "bin"));
  const CliRun missing = RunCliAt(home.path(), {"project", "new", "Missing/B"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "Name project not valid: " + SystemReason(ENOENT) + "\n");
  EXPECT_FALSE(fs::exists(home / "PROJECTS" / "Missing"));
}

// The dialog stays open without a word when the directory cannot be made; the command says
// why, in the system's words.
TEST(ProjectCli, NewTellsWhyTheDirectoryCannotBeMade) {
  TempDir home;
  fs::create_directories(home / "PROJECTS");
  // Each system has its own words for a name that is too long.
  const CliRun too_long = RunCliAt(home.path(), {"project", "new", std::string(300, 'n')});
  EXPECT_EQ(too_long.exitCode, 1);
#ifndef _WIN32
  EXPECT_EQ(too_long.err, "Name project not valid: " + SystemReason(ENAMETOOLONG) + "\n");
#else
  EXPECT_EQ(too_long.err.rfind("Name project not valid: ", 0), 0u) << too_long.err;
  EXPECT_GT(too_long.err.size(), std::string("Name project not valid: \n").size());
#endif
  // A PROJECTS that is a file cannot hold projects (and start-up cannot replace it).
  fs::remove(home / "PROJECTS");
  WriteBytes(home / "PROJECTS", "not a directory");
  const CliRun no_projects = RunCliAt(home.path(), {"project", "new", "Plant"});
  EXPECT_EQ(no_projects.exitCode, 1);
  EXPECT_EQ(no_projects.err.rfind("Name project not valid: ", 0), 0u) << no_projects.err;
  EXPECT_GT(no_projects.err.size(), std::string("Name project not valid: \n").size());
}

TEST(ProjectCli, OpenRemembersNameWithLeadingSeparator) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Plant1" / "bin");
  const CliRun run = RunCliAt(home.path(), {"project", "open", "Plant1"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Remembered(home), "[lastproj]\r\nprojectname=" + kSep + "Plant1\r\n");

  const CliRun missing = RunCliAt(home.path(), {"project", "open", "Gone"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;
  const CliRun outside = RunCliAt(home.path(), {"project", "open", "../.."});
  EXPECT_EQ(outside.exitCode, 1);
  EXPECT_NE(outside.err.find("outside the projects directory"), std::string::npos);
  EXPECT_EQ(Remembered(home), "[lastproj]\r\nprojectname=" + kSep + "Plant1\r\n")
      << "refusals keep it";
}

TEST(ProjectCli, ShowUsesSettingsFileWrittenOnWindows) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Plant1");
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[LastProj]\r\nProjectName=\\Plant1\r\n");
  const CliRun run = RunCliAt(home.path(), {"project", "show"});
  EXPECT_EQ(run.out, kSep + "Plant1\n" + (home / "PROJECTS" / "Plant1").string() + "\n");

  // A remembered project that is gone: the projects directory itself, the name kept.
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=\\Gone\r\n");
  EXPECT_EQ(RunCliAt(home.path(), {"project", "show"}).out,
            kSep + "Gone\n" + (home / "PROJECTS").string() + "\n");
}

TEST(ProjectCli, ProjectOptionAndHomeFromEnvironment) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "P1");
  fs::create_directories(home / "PROJECTS" / "P2");
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=P1\r\n");
  const CliRun run =
      RunCli({"--project", "P2", "project", "show"}, {{"QUASTOR_HOME", home.path().string()}});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, kSep + "P2\n" + (home / "PROJECTS" / "P2").string() + "\n");
  EXPECT_EQ(RunCliAt(home.path(), {"--project", "Nope", "project", "show"}).exitCode, 1);
}

TEST(ProjectCli, UsageErrorsExitWithTwo) {
  TempDir home;
  EXPECT_EQ(RunCliAt(home.path(), {}).exitCode, 2);
  EXPECT_EQ(RunCliAt(home.path(), {"frobnicate"}).exitCode, 2);
  EXPECT_EQ(RunCliAt(home.path(), {"project"}).exitCode, 2);
  EXPECT_EQ(RunCliAt(home.path(), {"project", "new"}).exitCode, 2);
}

TEST(ProjectCli, UnwritableSettingsFileIsReported) {
  TempDir home;
  fs::create_directories(home / "Quastor_DNET2PROFI.ini" / "blocker");
  const CliRun run = RunCliAt(home.path(), {"project", "new", "P"});
  EXPECT_EQ(run.exitCode, 1);
  // The system's reason follows: a directory in the file's place.
  const std::string prefix = "Unable to write to " + (home / "Quastor_DNET2PROFI.ini").string();
  EXPECT_EQ(run.err.rfind(prefix + ": ", 0), 0u) << run.err;
  EXPECT_GT(run.err.size(), prefix.size() + 3) << run.err;
}

}  // namespace
}  // namespace quastor::test
