// The strings of the string picker.

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "tests/support/TestFiles.h"
#include "tools/SelectString.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

TEST(SelectString, StringsOfTheFileAndItsMessages) {
  test::TempDir dir;
  std::string many = "<s>";
  for (int i = 0; i < 1005; ++i)
    many += "<t>" + std::to_string(i) + "</t>";
  test::WriteBytes(dir / "many.xml", many + "</s>");
  test::WriteBytes(dir / "three.xml",
                   "<strings>\n  <s>speed</s>\n  <s>back <b>and</b> forth</s>\n  <s/>\n</strings>");
  test::WriteBytes(dir / "broken.xml", "<strings><s>speed</strings>");
  const struct {
    fs::path file;
    Texts strings;
    Texts messages;
  } cases[] = {
      {fs::path(), {}, {"File strings XML not found"}},
      {dir / "missing.xml", {}, {"File strings XML not found"}},
      {dir.path(), {}, {"File strings XML not found"}},
      {dir / "broken.xml", {}, {"Error in reading file XML"}},
      {dir / "three.xml", {"speed", "back and forth", ""}, {}},
  };
  for (const auto& c : cases) {
    const StringsLoad load = LoadStrings(c.file);
    EXPECT_EQ(load.strings, c.strings) << c.file;
    EXPECT_EQ(load.messages, c.messages) << c.file;
  }
  const StringsLoad load = LoadStrings(dir / "many.xml");
  ASSERT_EQ(load.strings.size(), 1000u) << "strings past the 1000th have no row";
  EXPECT_EQ(load.strings.back(), "999");
}

TEST(SelectString, TheProjectsStringsFile) {
  AppState state;
  state.ProjectsDir = fs::path("home") / "PROJECTS";
  EXPECT_EQ(ProjectStringsFile(state), fs::path());
  state.ProjectDir = state.ProjectsDir / "Plant";
  EXPECT_EQ(ProjectStringsFile(state), state.ProjectDir / "strings.xml");
}

}  // namespace
}  // namespace quastor
