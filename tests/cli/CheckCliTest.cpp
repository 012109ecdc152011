// quastor-cli check over every project of tests/data/check: each case is a project folder
// ("project") and the exact lines the check must print ("expected.txt"; empty for a sound
// project, which must give exit status 0 and no output). The check must leave every file of
// the project as it was: same names, same bytes, same modification times.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

// What must not change of a file: its bytes (as a 64-bit FNV-1a sum and a size) and its time.
struct FileState {
  std::uint64_t sum = 0;
  std::size_t size = 0;
  fs::file_time_type time;
  bool operator==(const FileState& other) const {
    return sum == other.sum && size == other.size && time == other.time;
  }
};

std::uint64_t Fnv1a(const std::string& bytes) {
  std::uint64_t sum = 14695981039346656037ull;
  for (const unsigned char c : bytes) {
    sum ^= c;
    sum *= 1099511628211ull;
  }
  return sum;
}

// Every file below dir by its relative path; folders count too, so that one made is seen.
std::map<std::string, FileState> StateOf(const fs::path& dir) {
  std::map<std::string, FileState> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    FileState state;
    if (entry.is_symlink()) {  // its target, which may not exist
      state.sum = Fnv1a(fs::read_symlink(entry.path()).generic_string());
      files[fs::relative(entry.path(), dir).generic_string()] = state;
      continue;
    }
    state.time = entry.last_write_time();
    if (entry.is_regular_file()) {
      const std::string bytes = ReadBytes(entry.path());
      state.sum = Fnv1a(bytes);
      state.size = bytes.size();
    }
    files[fs::relative(entry.path(), dir).generic_string()] = state;
  }
  return files;
}

std::string WithoutCarriageReturns(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(DataFile("check")))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Whether every line is a note, which makes the check fail no more than no line at all.
bool OnlyNotes(const std::string& lines) {
  std::size_t start = 0;
  for (std::size_t end = lines.find('\n'); end != std::string::npos;
       start = end + 1, end = lines.find('\n', start)) {
    if (lines.substr(start, end - start).find(": note: ") == std::string::npos)
      return false;
  }
  return true;
}

class ProjectCheckCase : public ::testing::TestWithParam<std::string> {};

// Catches: a problem not reported or reported in other words or order, a sound project
// reported, a wrong exit status, and a check that writes, creates or touches a project file.
TEST_P(ProjectCheckCase, PrintsExactlyTheExpectedProblemsAndChangesNothing) {
  const fs::path source = DataFile("check/" + GetParam());
  const std::string expected = WithoutCarriageReturns(ReadBytes(source / "expected.txt"));
  TempDir home;
  const fs::path project = home / "PROJECTS" / GetParam();
  fs::create_directories(project.parent_path());
  fs::copy(source / "project", project, fs::copy_options::recursive);
  const std::map<std::string, FileState> before = StateOf(project);
  ASSERT_FALSE(before.empty());

  for (int run = 0; run < 2; ++run) {
    const CliRun result = RunCliAt(home.path(), {"--project", GetParam(), "check"});
    EXPECT_EQ(result.out, expected) << "run " << run;
    EXPECT_EQ(result.err, "") << "run " << run;
    EXPECT_EQ(result.exitCode, OnlyNotes(expected) ? 0 : 1) << "run " << run;
  }
  EXPECT_TRUE(StateOf(project) == before) << "the check changed a project file";
  for (const auto& [name, state] : before) {
    if (state.size > 0) {
      EXPECT_EQ(ReadBytes(project / name), ReadBytes(source / "project" / name)) << name;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Projects, ProjectCheckCase, ::testing::ValuesIn(CaseNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

// Catches a data set that shrank, or whose cases lost their expected output.
TEST(ProjectCheck, DataSetHoldsEnoughDamagedAndSoundProjects) {
  int damaged = 0;
  int sound = 0;
  for (const std::string& name : CaseNames()) {
    const fs::path dir = DataFile("check/" + name);
    ASSERT_TRUE(fs::is_regular_file(dir / "expected.txt")) << name;
    ASSERT_TRUE(fs::is_directory(dir / "project")) << name;
    (fs::file_size(dir / "expected.txt") == 0 ? sound : damaged) += 1;
  }
  EXPECT_GE(damaged, 30);
  EXPECT_GE(sound, 2);
}

// Catches a symbolic link in a table file's place that leads nowhere taken for a missing file
// (the window starts empty and OK writes through the link), and a check that follows it.
TEST(ProjectCheck, TellsALinkThatLeadsNowhereInATableFilesPlace) {
  TempDir home;
  const fs::path project = home / "PROJECTS" / "Plant";
  fs::create_directories(project);
  fs::copy(DataFile("check/clean_full/project/pargen.xml"), project / "pargen.xml");
  // Where the system makes symbolic links (Wine does not).
  std::error_code no_links;
  fs::create_symlink("gone/sdo.xml", project / "sdo.xml", no_links);
  if (!no_links) {
    const std::map<std::string, FileState> before = StateOf(project);
    const CliRun run = RunCliAt(home.path(), {"--project", "Plant", "check"});
    EXPECT_EQ(run.out,
              "sdo.xml: file: it is a symbolic link to \"gone/sdo.xml\", which does not exist: "
              "the window starts as without the file\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(StateOf(project) == before);
    EXPECT_FALSE(fs::exists(project / "gone"));
    fs::remove(project / "sdo.xml");
  }

  // The string picker's file as a directory is no empty picker either.
  fs::create_directory(project / "strings.xml");
  const CliRun strings = RunCliAt(home.path(), {"--project", "Plant", "check"});
  EXPECT_EQ(strings.out, "strings.xml: file: \"strings.xml\" is not a regular file.\n");
  EXPECT_EQ(strings.exitCode, 1);
}

// Catches a check that runs without a project (over PROJECTS itself) or takes arguments.
TEST(ProjectCheck, RefusesWithoutAProjectAndWithArguments) {
  TempDir home;
  CliRun run = RunCliAt(home.path(), {"check"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Project not valid\n");

  fs::create_directories(home / "PROJECTS" / "Plant");
  run = RunCliAt(home.path(), {"--project", "Plant", "check", "now"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("quastor-cli: check takes no arguments\n", 0), 0u) << run.err;
}

}  // namespace
}  // namespace quastor::test
