// Atomic replacement of files.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileWriting.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

int CountEntries(const std::filesystem::path& dir) {
  int n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    (void)entry;
    ++n;
  }
  return n;
}

TEST(FileWriting, ReplacesWholeFileAndLeavesNoTemporary) {
  TempDir dir;
  const auto file = dir / "a.txt";
  WriteBytes(file, "old content that is longer");
  ASSERT_TRUE(WriteFileAtomic(file, std::string("new\0bytes", 9)).ok());
  EXPECT_EQ(ReadBytes(file), std::string("new\0bytes", 9));
  EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(FileWriting, UncommittedWriterLeavesOldFile) {
  TempDir dir;
  const auto file = dir / "a.txt";
  WriteBytes(file, "old");
  {
    AtomicFileWriter writer(file);
    ASSERT_TRUE(writer.Open().ok());
    ASSERT_TRUE(writer.Write("partial"));
    // destroyed without Commit: a run aborted half-way
  }
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(FileWriting, MissingDirectoryFailsWithReason) {
  TempDir dir;
  const Status status = WriteFileAtomic(dir / "no" / "such" / "file", "x");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().find("No such file"), std::string::npos) << status.error();
}

TEST(FileWriting, JoinCrLfEndsEveryLine) {
  EXPECT_EQ(JoinCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinCrLf({}), "");
}

}  // namespace
}  // namespace quastor
