// The system calls of a save as strace sees them. Through a temporary: its bytes are written and
// flushed to the disk before it is renamed over the target, and the directory is flushed after
// the rename. In place: the copy of the old content is flushed before the file is written, and
// removed only after the file is flushed. The test runs itself under strace; the traced run
// makes the save.

#include <gtest/gtest.h>

#ifdef __linux__

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/FileWriting.h"
#include "tests/support/SaveSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

// Set in the traced run: the file it saves, and whether it saves it in place.
constexpr char kTracedSave[] = "QUASTOR_TRACED_SAVE";
constexpr char kTracedInPlace[] = "QUASTOR_TRACED_IN_PLACE";
constexpr char kTestName[] = "FileWritingTrace.FlushesEachFileBeforeTheStepThatReliesOnIt";

// A system call that a save must make: a line of strace's output that holds every part.
struct Call {
  const char* what;
  std::vector<std::string> parts;
};

// The first line that holds every part of call; lines.size() when none does.
std::size_t First(const std::vector<std::string>& lines, const Call& call) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bool all = true;
    for (const std::string& part : call.parts)
      all = all && lines[i].find(part) != std::string::npos;
    if (all)
      return i;
  }
  return lines.size();
}

// The lines strace writes for the traced save; strace shows a descriptor with its file, as in
// "fsync(3</dir/sdo.xml.123-0.tmp>) = 0".
std::vector<std::string> TraceSave(const fs::path& file, bool in_place, const fs::path& log) {
  const std::string command =
      std::string(kTracedSave) + "='" + file.string() + "' " + kTracedInPlace + "=" +
      (in_place ? "1" : "0") +
      // The leak checker stops under a tracer, so the traced run goes without it.
      " ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" XDG_CACHE_HOME='" +
      (file.parent_path() / "cache").string() + "' strace -f -y -qq -o '" + log.string() +
      "' -e trace=write,fsync,fdatasync,fallocate,ftruncate,rename,renameat,renameat2,unlink,"
      "unlinkat '" +
      fs::read_symlink("/proc/self/exe").string() + "' --gtest_filter=" + kTestName +
      " >/dev/null 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<std::string> lines;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

TEST(FileWritingTrace, FlushesEachFileBeforeTheStepThatReliesOnIt) {
  if (const char* target = std::getenv(kTracedSave); target != nullptr) {
    const Injected refused({InjectedWriteFault::Step::kNone, 0, 0,
                            std::string(std::getenv(kTracedInPlace)) == "1" ? EACCES : 0});
    ASSERT_TRUE(WriteFileAtomic(target, "new content").ok());
    return;
  }
  if (std::system("command -v strace >/dev/null 2>&1") != 0)
    FAIL() << "strace is not installed (scripts/install-deps.sh installs it)";
  TempDir dir;
  const fs::path project = dir / "project";
  const fs::path file = project / "sdo.xml";
  const std::string target = "<" + file.string() + ">";
  const std::string temporary = "<" + file.string() + ".";  // "<dir/sdo.xml.<pid>-<n>.tmp>"
  const std::string copy = ".inplace.";  // "<cache/<hash>.inplace.<pid>-<n>.tmp>"
  // Each call's first time comes after the call before it.
  const struct {
    const char* name;
    bool inPlace;
    std::vector<Call> calls;
  } cases[] = {
      {"through a temporary",
       false,
       {{"the temporary written", {"write(", temporary, ".tmp>"}},
        {"the temporary flushed", {"sync(", temporary, ".tmp>", ") = 0"}},
        {"the temporary renamed over the file",
         {"rename", ".tmp\", \"" + file.string() + "\"", ") = 0"}},
        {"the directory flushed", {"sync(", "<" + project.string() + ">)", ") = 0"}}}},
      {"in place",
       true,
       {{"the copy of the old content written", {"write(", copy, ".tmp>"}},
        {"the copy flushed", {"fsync(", copy, ".tmp>", ") = 0"}},
        {"the file written", {"write(", target}},
        {"the file flushed", {"fsync(", target, ") = 0"}},
        {"the copy removed", {"unlink", ".inplace\"", ") = 0"}}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::create_directory(project);
    WriteBytes(file, "old content");
    const std::vector<std::string> lines = TraceSave(file, c.inPlace, dir / "trace.log");
    EXPECT_EQ(ReadBytes(file), "new content");
    std::size_t before = 0;
    for (const Call& call : c.calls) {
      const std::size_t at = First(lines, call);
      EXPECT_LT(at, lines.size()) << call.what << ": not done";
      EXPECT_TRUE(at >= before) << call.what << ": done before the step it must follow";
      before = at;
    }
    // Nothing is written to the temporary once it is flushed.
    if (!c.inPlace) {
      const std::size_t synced = First(lines, c.calls[1]);
      for (std::size_t i = synced; i < lines.size(); ++i) {
        EXPECT_FALSE(lines[i].find("write(") != std::string::npos &&
                     lines[i].find(temporary) != std::string::npos)
            << "written after it was flushed: " << lines[i];
      }
    }
    fs::remove_all(project);
  }
}

}  // namespace
}  // namespace quastor::test

#endif  // __linux__
