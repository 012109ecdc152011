// Creating and opening projects, and keeping them inside the projects directory.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/ProjectList.h"
#include "app/Projects.h"
#include "app/StartUp.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

const std::string kSep(1, fs::path::preferred_separator);

class ProjectsTest : public ::testing::Test {
 protected:
  ProjectsTest() : state_(StartUp(home_.path())) {}
  TempDir home_;
  AppState state_;
};

TEST_F(ProjectsTest, NamesWithInnerBlanksAndQuotesAreKeptAcrossARestart) {
  for (const std::string name : {"Plant 4", "O'Brien", "'Q"}) {
    ASSERT_TRUE(CreateNewProject(state_, state_.ProjectsDir, name).created) << name;
    ASSERT_TRUE(SaveLastProject(state_).ok());
    EXPECT_EQ(StartUp(home_.path()).ProjectDir, home_ / "PROJECTS" / name) << name;
  }
}

TEST_F(ProjectsTest, NewProjectIsDirectoryWithEmptyBin) {
  const auto outcome = CreateNewProject(state_, state_.ProjectsDir, "Plant2");
  ASSERT_TRUE(outcome.created);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_TRUE(fs::is_empty(home_ / "PROJECTS" / "Plant2" / "bin"));
  EXPECT_EQ(std::distance(fs::directory_iterator(home_ / "PROJECTS" / "Plant2"),
                          fs::directory_iterator()),
            1);
  EXPECT_EQ(state_.ProjectName, "Plant2");
  EXPECT_EQ(state_.ProjectDir, home_ / "PROJECTS" / "Plant2");
  EXPECT_EQ(state_.ProjectFiles.pargen, home_ / "PROJECTS" / "Plant2" / "pargen.xml");
}

TEST_F(ProjectsTest, RefusalsLeaveStateAndDiskAlone) {
  fs::create_directories(home_ / "PROJECTS" / "Old");
  fs::create_directories(home_ / "outside");
  // Windows lets few users make links (and MinGW's library cannot): there the link case goes.
  std::error_code no_links;
  fs::create_directory_symlink(home_ / "outside", home_ / "PROJECTS" / "link", no_links);
  struct Case {
    fs::path dest;
    std::string name;
    std::vector<std::string> messages;
  };
  std::vector<Case> cases = {
      {"", "", {"directory destination not valid", "Name project not valid"}},
      {"", "X", {"directory destination not valid"}},
      {state_.ProjectsDir, "", {"Name project not valid"}},
      {state_.ProjectsDir, "Bad\nName", {"Name project not valid"}},
      // Names the settings file would give back otherwise at the next start.
      {state_.ProjectsDir, "Plant 4 ", {"Name project not valid"}},
      {state_.ProjectsDir, " Plant4", {"Name project not valid"}},
      {state_.ProjectsDir, "Plant4\t", {"Name project not valid"}},
      {state_.ProjectsDir, "\"Q\"", {"Name project not valid"}},
      {state_.ProjectsDir, "A\"B", {"Name project not valid"}},
      {state_.ProjectsDir, "'Q'", {"Name project not valid"}},
      {state_.ProjectsDir, "Old", {"Name project not valid because directory already exists"}},
      {state_.ProjectsDir,
       "..",
       {"Name project not valid because it leads outside the projects directory"}},
      {state_.ProjectsDir,
       "../x",
       {"Name project not valid because it leads outside the projects directory"}},
      {state_.ProjectsDir,
       "Old/../../x",
       {"Name project not valid because it leads outside the projects directory"}},
      {state_.ProjectsDir,
       (home_ / "abs").string(),
       {"Name project not valid because it leads outside the projects directory"}},
      {state_.ProjectsDir, "Missing/Child", {}},  // no parent: no message, dialog stays open
  };
  if (!no_links) {
    cases.push_back({state_.ProjectsDir,
                     "link/escaped",
                     {"Name project not valid because it leads outside the projects directory"}});
  }
  const AppState before = state_;
  for (const Case& c : cases) {
    const auto outcome = CreateNewProject(state_, c.dest, c.name);
    EXPECT_FALSE(outcome.created) << c.name;
    EXPECT_EQ(outcome.messages, c.messages) << c.name;
    EXPECT_EQ(state_.ProjectDir, before.ProjectDir);
    EXPECT_EQ(state_.ProjectName, before.ProjectName);
  }
  EXPECT_FALSE(fs::exists(home_ / "x"));
  EXPECT_FALSE(fs::exists(home_ / "abs"));
  EXPECT_FALSE(fs::exists(home_ / "PROJECTS" / "Plant 4 "));
  EXPECT_FALSE(fs::exists(home_ / "outside" / "escaped"));
  EXPECT_FALSE(fs::exists(home_ / "PROJECTS" / "Missing"));
}

TEST_F(ProjectsTest, NestedNameUnderExistingDirectory) {
  fs::create_directories(home_ / "PROJECTS" / "A");
  const auto outcome = CreateNewProject(state_, state_.ProjectsDir, "A\\B");
  ASSERT_TRUE(outcome.created);
  EXPECT_TRUE(fs::is_directory(home_ / "PROJECTS" / "A" / "B" / "bin"));
  EXPECT_EQ(state_.ProjectDir, home_ / "PROJECTS" / "A" / "B");
}

TEST_F(ProjectsTest, OpenTakesProjectFoldersOnly) {
  fs::create_directories(home_ / "PROJECTS" / "Plant1" / "bin");
  fs::create_directories(home_ / "PROJECTS" / "A" / "B" / "bin");
  fs::create_directories(home_ / "PROJECTS" / "A" / "C");
  struct Case {
    fs::path chosen;
    std::string name;  // empty: refused, the project before stays
  } cases[] = {
      {home_ / "PROJECTS" / "Plant1", kSep + "Plant1"},
      {home_ / "PROJECTS" / "A" / "B", kSep + "A" + kSep + "B"},  // made by New project
      // PROJECTS itself, a bin folder, a deeper folder that is no project: the steps would
      // write project files where no project is.
      {home_ / "PROJECTS", ""},
      {home_ / "PROJECTS" / "Plant1" / "bin", ""},
      {home_ / "PROJECTS" / "A" / "C", ""},
  };
  for (const Case& c : cases) {
    const std::string before = state_.ProjectName;
    const Status status = CompleteOpenProject(state_, c.chosen);
    EXPECT_EQ(status.ok(), !c.name.empty()) << c.chosen;
    if (c.name.empty()) {
      EXPECT_EQ(status.error(), c.chosen.string() + " is not a project folder");
      EXPECT_EQ(state_.ProjectName, before);
      continue;
    }
    EXPECT_EQ(state_.ProjectName, c.name);
    EXPECT_EQ(state_.ProjectDir, c.chosen);
    EXPECT_EQ(state_.ProjectFiles.rpdodef, c.chosen / "rpdodef.xml");
  }
  EXPECT_TRUE(MatchesFilter("Plant1", " LANT "));
  EXPECT_TRUE(MatchesFilter("Plant1", ""));
  EXPECT_FALSE(MatchesFilter("Plant1", "plant2"));
}

TEST_F(ProjectsTest, OpenCancelledReDerivesNameOfCurrentProject) {
  ASSERT_TRUE(CreateNewProject(state_, state_.ProjectsDir, "Plant2").created);
  EXPECT_EQ(state_.ProjectName, "Plant2");
  EXPECT_EQ(PrepareOpenProject(state_), home_ / "PROJECTS" / "Plant2");
  ASSERT_TRUE(CompleteOpenProject(state_, std::nullopt).ok());
  EXPECT_EQ(state_.ProjectName, kSep + "Plant2");
  EXPECT_EQ(state_.ProjectDir, home_ / "PROJECTS" / "Plant2");
}

TEST_F(ProjectsTest, OpenCancelledWhenProjectIsGoneLeavesNoProject) {
  ASSERT_TRUE(CreateNewProject(state_, state_.ProjectsDir, "Temp").created);
  fs::remove_all(home_ / "PROJECTS" / "Temp");
  EXPECT_EQ(PrepareOpenProject(state_), fs::path());
  ASSERT_TRUE(CompleteOpenProject(state_, std::nullopt).ok());
  EXPECT_FALSE(state_.ProjectSelected());
  EXPECT_EQ(state_.ProjectName, "");
}

TEST_F(ProjectsTest, OpenOutsideProjectsIsRefusedAsACancel) {
  fs::create_directories(home_ / "PROJECTS" / "Plant1");
  fs::create_directories(home_ / "elsewhere");
  ASSERT_TRUE(CompleteOpenProject(state_, home_ / "PROJECTS" / "Plant1").ok());
  for (const fs::path& outside :
       {home_ / "elsewhere", home_.path(), home_ / "PROJECTS" / ".." / "elsewhere"}) {
    const Status status = CompleteOpenProject(state_, outside);
    ASSERT_FALSE(status.ok()) << outside;
    EXPECT_NE(status.error().find("outside the projects directory"), std::string::npos);
    EXPECT_EQ(state_.ProjectDir, home_ / "PROJECTS" / "Plant1");
    EXPECT_EQ(state_.ProjectName, kSep + "Plant1");
  }
}

TEST(ProjectPaths, NameBelowComparesWholeComponents) {
  TempDir home;
  fs::create_directories(home / "PROJECTS");
  fs::create_directories(home / "PROJECTS2" / "x");
  EXPECT_FALSE(IsInside(home / "PROJECTS2" / "x", home / "PROJECTS"));
  EXPECT_EQ(NameBelow(home / "PROJECTS" / "new" / "deep", home / "PROJECTS"),
            kSep + "new" + kSep + "deep");
}

}  // namespace
}  // namespace quastor
