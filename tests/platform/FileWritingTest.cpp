// Atomic replacement of files, as a user without administrator rights meets it.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "tests/support/SaveSupport.h"
#include "tests/support/TestFiles.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

int CountEntries(const fs::path& dir) {
  int n = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
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

TEST(FileWriting, FailuresCarryTheSystemsReasonAndCreateNothing) {
  TempDir dir;
  fs::create_directory(dir / "sub");
  const Status missing = WriteFileAtomic(dir / "no" / "such" / "file", "x");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), SystemReason(ENOENT));
  const Status directory = WriteFileAtomic(dir / "sub", "x");
  ASSERT_FALSE(directory.ok());
  EXPECT_EQ(directory.error(), SystemReason(EISDIR));
  EXPECT_EQ(CountEntries(dir.path()), 1);

  const Status wrapped = WriteFileOrCannotCreate(dir / "no" / "f.xml", "x");
  EXPECT_EQ(wrapped.error(), "Cannot create file \"" + Utf8FromPath(dir / "no" / "f.xml") + "\". " +
                                 SystemReason(ENOENT));
}

TEST(FileWriting, JoinCrLfEndsEveryLine) {
  EXPECT_EQ(JoinCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinCrLf({}), "");
}

#ifndef _WIN32

// Runs as an ordinary user for its lifetime when the tests run as root, so that permission
// bits count as they do for the engineer at the desk.
class AsOrdinaryUser {
 public:
  AsOrdinaryUser() {
    if (::geteuid() == 0) {
      dropped_ = ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
      EXPECT_TRUE(dropped_) << "cannot drop privileges";
    }
  }
  ~AsOrdinaryUser() {
    if (dropped_) {
      EXPECT_EQ(::seteuid(0), 0);
      EXPECT_EQ(::setegid(0), 0);
    }
  }

 private:
  static constexpr uid_t kNobody = 65534;
  bool dropped_ = false;
};

// A directory and files that the ordinary user owns, as in the user's own project.
class OwnedDir {
 public:
  OwnedDir() { Own(dir_.path(), 0755); }
  fs::path File(const std::string& name, const std::string& bytes, mode_t mode) const {
    const fs::path file = dir_ / name;
    WriteBytes(file, bytes);
    Own(file, mode);
    return file;
  }
  void Own(const fs::path& path, mode_t mode) const {
    if (::geteuid() == 0) {
      EXPECT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
    EXPECT_EQ(::chmod(path.c_str(), mode), 0);
  }
  const fs::path& path() const { return dir_.path(); }
  fs::path operator/(const std::string& name) const { return dir_ / name; }

 private:
  TempDir dir_;
};

mode_t ModeOf(const fs::path& file) {
  struct stat info {};
  EXPECT_EQ(::lstat(file.c_str(), &info), 0);
  return info.st_mode & 07777;
}

TEST(FileWritingAsUser, WriteProtectedFileIsRefusedLikeADirectWriteAndKept) {
  OwnedDir dir;
  const fs::path file = dir.File("pargen.xml", "old", 0444);
  Status status;
  {
    AsOrdinaryUser user;
    status = WriteFileAtomic(file, "new");
  }
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error(), SystemReason(EACCES));
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(ModeOf(file), 0444u);
  EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(FileWritingAsUser, ReplacementKeepsThePermissionBits) {
  OwnedDir dir;
  for (const mode_t mode : {0600u, 0640u, 0664u, 0755u}) {
    const fs::path file = dir.File("f" + std::to_string(mode), "old", mode);
    {
      AsOrdinaryUser user;
      ASSERT_TRUE(WriteFileAtomic(file, "new").ok());
    }
    EXPECT_EQ(ReadBytes(file), "new");
    EXPECT_EQ(ModeOf(file), mode) << std::oct << mode;
  }
}

TEST(FileWritingAsUser, SymbolicLinksAreWrittenThroughToTheFileTheyName) {
  OwnedDir dir;
  fs::create_directory(dir / "real");
  dir.Own(dir / "real", 0755);
  const fs::path real = dir.File("real/target.xml", "old", 0644);
  fs::create_symlink("real/target.xml", dir / "relative.xml");
  fs::create_symlink(dir / "relative.xml", dir / "chain.xml");
  fs::create_symlink(dir / "real" / "later.xml", dir / "dangling.xml");
  {
    AsOrdinaryUser user;
    ASSERT_TRUE(WriteFileAtomic(dir / "chain.xml", "through two links").ok());
    ASSERT_TRUE(WriteFileAtomic(dir / "dangling.xml", "created where the link points").ok());
  }
  EXPECT_TRUE(fs::is_symlink(dir / "chain.xml"));
  EXPECT_TRUE(fs::is_symlink(dir / "relative.xml"));
  EXPECT_EQ(ReadBytes(real), "through two links");
  EXPECT_EQ(ReadBytes(dir / "real" / "later.xml"), "created where the link points");
  EXPECT_EQ(CountEntries(dir / "real"), 2);

  fs::create_symlink("loop2", dir / "loop1");
  fs::create_symlink("loop1", dir / "loop2");
  EXPECT_FALSE(WriteFileAtomic(dir / "loop1", "x").ok());
}

TEST(FileWritingAsUser, DirectoryWithoutNewFilesStillTakesItsWritableFile) {
  OwnedDir dir;
  const fs::path file = dir.File("sdo.xml", "old and longer", 0644);
  dir.Own(dir.path(), 0555);
  const OwnedDir cache_dir;
  const test::ScopedCacheHome cache(cache_dir.path());
  Status in_place, new_file;
  {
    AsOrdinaryUser user;
    in_place = WriteFileAtomic(file, "new");
    new_file = WriteFileAtomic(dir / "other.xml", "x");
  }
  dir.Own(dir.path(), 0755);
  ASSERT_TRUE(in_place.ok()) << in_place.error();
  EXPECT_EQ(ReadBytes(file), "new");
  ASSERT_FALSE(new_file.ok());
  EXPECT_EQ(new_file.error(), SystemReason(EACCES));
  EXPECT_EQ(CountEntries(dir.path()), 1);
  EXPECT_EQ(cache.Copies(), std::vector<std::string>{});
}

TEST(FileWritingAsUser, WriteInPlaceMeetsAFullDiskBeforeTouchingTheFile) {
  TempDir dir;
  fs::create_directories(dir / "project");
  fs::create_directories(dir / "cache");
  const fs::path file = dir / "project" / "sdo.xml";
  WriteBytes(file, "old");
  test::GiveToUser(dir / "cache");
  const test::ScopedCacheHome cache(dir / "cache");
  const test::RefusingDirectory refusing(dir / "project");
  const std::string bytes(1 << 20, 'n');
  const std::string outcome = test::AsUserInChild(
      [&]() -> std::string {
        if (std::string refused = test::RefusesNewFile(file.parent_path()); !refused.empty())
          return refused;
        test::StepRecorder recorder;
        const Status status = WriteFileAtomic(file, bytes);
        if (status.ok())
          return "saved past the limit";
        if (status.error() != SystemReason(EFBIG))
          return status.error();
        // The copy of the old content was made and removed, and nothing between: the
        // reservation failed.
        return recorder.steps ==
                       std::vector<WriteStep>{WriteStep::kBackupSynced, WriteStep::kBackupRemoved}
                   ? ""
                   : "the file was written before the disk ran full";
      },
      64 * 1024);
  EXPECT_EQ(outcome, "");
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(cache.Copies(), std::vector<std::string>{});
}

TEST(FileWriting, NameTooLongForTheTemporarysSuffixGetsAShortTemporary) {
  TempDir dir;
  const fs::path file = dir / std::string(250, 'n');  // legal: names may have 255 bytes
  WriteBytes(file, "old");
  test::StepRecorder recorder;
  const Status replaced = WriteFileAtomic(file, "new");
  ASSERT_TRUE(replaced.ok()) << replaced.error();
  EXPECT_EQ(ReadBytes(file), "new");
  ASSERT_FALSE(recorder.files.empty());
  EXPECT_EQ(recorder.files.front().filename().string().rfind(".quastor.", 0), 0u);
  const Status created = WriteFileAtomic(dir / std::string(250, 'm'), "x");
  ASSERT_TRUE(created.ok()) << created.error();
  EXPECT_EQ(CountEntries(dir.path()), 2);
}

// A process id that no process has: a child's that has ended and been waited for.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0)
    ::_exit(0);
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, 0), child);
  return child;
}

TEST(FileWriting, SaveRemovesTheTemporariesOfEndedProcessesOnly) {
  TempDir dir;
  const std::string ended = std::to_string(EndedProcess());
  const std::string running = std::to_string(::getppid());
  const std::string own = std::to_string(::getpid());
  const struct {
    std::string name;
    bool removed;
  } cases[] = {
      {"f.xml." + ended + "-0.tmp", true},
      {"f.xml." + ended + "-17.tmp", true},
      {"f.xml." + running + "-0.tmp", false},  // its process may still write it
      {"f.xml." + own + "-99.tmp", false},     // another thread's save
      {"g.xml." + ended + "-0.tmp", false},    // another file's
      {"f.xml." + ended + ".tmp", false},
      {"f.xml." + ended + "-.tmp", false},
      {"f.xml.-0.tmp", false},
      {"f.xml.x" + ended + "-0.tmp", false},
      {"f.xml." + ended + "-0.tmp.bak", false},
      {"f.xml." + ended + "-0-1.tmp", false},
      // The short temporaries of names too long for the suffix, whichever file's they were.
      {".quastor." + ended + "-3.tmp", true},
      {".quastor." + running + "-3.tmp", false},
      {".quastorx." + ended + "-3.tmp", false},
      {"quastor." + ended + "-3.tmp", false},
  };
  for (const auto& c : cases)
    WriteBytes(dir / c.name, "left");
  ASSERT_TRUE(WriteFileAtomic(dir / "f.xml", "new").ok());
  for (const auto& c : cases)
    EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
}

TEST(FileWriting, DeviceIsWrittenToNotReplaced) {
  const Status status = WriteFileAtomic("/dev/full", "x");
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.error(), SystemReason(ENOSPC));
  struct stat info {};
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
}

#endif  // _WIN32

}  // namespace
}  // namespace quastor
