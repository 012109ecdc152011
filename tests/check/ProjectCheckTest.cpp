// The project check over a project folder: what needs a project, and the SDO table's 1500
// rows per side, too many to keep a case of them in tests/data.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppState.h"
#include "check/ProjectCheck.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr char kSettings[] =
    "<Par_Gen><PROFI_ID>20</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>20</PROFI_NB_IN>"
    "<PROFI_NB_OUT>20</PROFI_NB_OUT><DNET_DEV_ID>10</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD>"
    "</Par_Gen>";

AppState StateOver(const fs::path& home, const fs::path& project_dir) {
  AppState state;
  state.AppDir = home;
  state.ProjectsDir = home / "PROJECTS";
  state.ProjectDir = project_dir;
  state.SetProjectPaths();
  return state;
}

// Catches a check that, without a project, reads PROJECTS itself as one.
TEST(ProjectCheck, NoProjectNoProblems) {
  TempDir home;
  fs::create_directories(home / "PROJECTS");
  WriteBytes(home / "PROJECTS" / "pargen.xml", "<Par_Gen>");
  // As start-up leaves it without a remembered project.
  const AppState state = StateOver(home.path(), home / "PROJECTS");
  ASSERT_FALSE(state.ProjectSelected());
  EXPECT_TRUE(CheckProjectLines(state).empty());
}

// Catches SDO records beyond a page's 1500 rows that go untold, or are told on the wrong page.
TEST(ProjectCheck, SdoRecordsBeyondEachPagesRowsAreTold) {
  TempDir home;
  const fs::path project = home / "PROJECTS" / "Plant";
  fs::create_directories(project);
  WriteBytes(project / "pargen.xml", kSettings);
  const struct {
    int sideA, sideB;
    Lines lines;
  } cases[] = {
      {1500, 1500, {}},
      {1502,
       1501,
       {"sdo.xml: page \"SDO from CAN A request to CAN B\": records beyond its 1500 rows: 2; "
        "the window does not show them, and OK drops them",
        "sdo.xml: page \"SDO from CAN B request to CAN A\": records beyond its 1500 rows: 1; "
        "the window does not show them, and OK drops them"}},
  };
  for (const auto& c : cases) {
    std::string text = "<sdo>";
    for (int side = 0; side < 2; ++side) {
      const int count = side == 0 ? c.sideA : c.sideB;
      for (int i = 0; i < count; ++i) {
        text += "<row conf='" + std::to_string(side) + "' IndexA='" + std::to_string(i) +
                "' SubindexA='1' devIDB='1' IndexB='1' SubindexB='1' nbyteB='1'/>";
      }
    }
    WriteBytes(project / "sdo.xml", text + "</sdo>");
    EXPECT_EQ(CheckProjectLines(StateOver(home.path(), project)), c.lines) << c.sideA;
  }
}

}  // namespace
}  // namespace quastor::test
