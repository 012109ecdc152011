// The system calls of a save as strace sees them: the temporary's bytes are written and flushed
// to the disk before it is renamed over the target, and the directory is flushed after the
// rename. The test runs itself under strace; the traced run makes the save.

#include <gtest/gtest.h>

#ifdef __linux__

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/FileWriting.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

// Set in the traced run: the file it saves.
constexpr char kTracedSave[] = "QUASTOR_TRACED_SAVE";
constexpr char kTestName[] = "FileWritingTrace.FlushesTheTemporaryBeforeTheRenameAndTheDirAfter";

// The first line at or after from that holds every one of parts; lines.size() when none does.
std::size_t Find(const std::vector<std::string>& lines, std::size_t from,
                 const std::vector<std::string>& parts) {
  for (std::size_t i = from; i < lines.size(); ++i) {
    bool all = true;
    for (const std::string& part : parts)
      all = all && lines[i].find(part) != std::string::npos;
    if (all)
      return i;
  }
  return lines.size();
}

TEST(FileWritingTrace, FlushesTheTemporaryBeforeTheRenameAndTheDirAfter) {
  if (const char* target = std::getenv(kTracedSave); target != nullptr) {
    ASSERT_TRUE(WriteFileAtomic(target, "new content").ok());
    return;
  }
  if (std::system("command -v strace >/dev/null 2>&1") != 0)
    FAIL() << "strace is not installed (scripts/install-deps.sh installs it)";
  TempDir dir;
  const fs::path project = dir / "project";
  fs::create_directory(project);
  const fs::path file = project / "sdo.xml";
  WriteBytes(file, "old content");
  const fs::path log = dir / "trace.log";
  const std::string command = std::string(kTracedSave) + "='" + file.string() +
                              "' strace -f -y -qq -o '" + log.string() +
                              "' -e trace=write,fsync,fdatasync,rename,renameat,renameat2 '" +
                              fs::read_symlink("/proc/self/exe").string() +
                              "' --gtest_filter=" + kTestName + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  ASSERT_EQ(ReadBytes(file), "new content");

  std::vector<std::string> lines;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  // The temporary, as strace shows a descriptor's file: "<dir/sdo.xml.<pid>-<n>.tmp>".
  const std::string temporary = "<" + file.string() + ".";
  const std::size_t written = Find(lines, 0, {"write(", temporary, ".tmp>"});
  const std::size_t synced = Find(lines, written, {"sync(", temporary, ".tmp>", ") = 0"});
  const std::size_t renamed =
      Find(lines, synced, {"rename", ".tmp\", ", "\"" + file.string() + "\"", ") = 0"});
  const std::size_t dir_synced = Find(lines, renamed, {"sync(", "<" + project.string() + ">)"});
  EXPECT_LT(written, lines.size()) << "the temporary was not written";
  EXPECT_LT(synced, lines.size()) << "the temporary was not flushed after its last write";
  EXPECT_LT(renamed, lines.size()) << "the flushed temporary was not renamed";
  EXPECT_LT(dir_synced, lines.size()) << "the directory was not flushed after the rename";
  EXPECT_EQ(Find(lines, synced, {"write(", temporary}), lines.size())
      << "the temporary was written after it was flushed";
}

}  // namespace
}  // namespace quastor::test

#endif  // __linux__
