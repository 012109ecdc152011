// The order of a write's steps, which is what lets it survive a crash of the system or a kill:
// through a temporary, the bytes are on the disk before the rename, and the rename is flushed
// with its directory; in place, the copy of the old content is on the disk before the target
// is touched, and goes only once the new content is. Which failures to make the temporary lead
// to a write in place (only those of a directory that refuses new files), and how a write in
// place that fails or is cut short gets the old content back.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileReading.h"
#include "platform/FileWriting.h"
#include "platform/InPlaceBackup.h"
#include "platform/PathText.h"
#include "tests/support/SaveSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Step = InjectedWriteFault::Step;

const std::string kOld = "old content, longer than the new one";
const std::string kNew = "new content";

// A project file with its old content, and the user's cache directory, in a fresh directory.
struct Saved {
  TempDir dir;
  fs::path file = dir / "sdo.xml";
  ScopedCacheHome cache{dir / "cache"};

  Saved() { WriteBytes(file, kOld); }
  // Every entry of the directory but the cache: the file and any temporary left.
  int Entries() const {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
      n += entry.path().filename() != "cache" ? 1 : 0;
    return n;
  }
};

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// What must hold when step is done on file: empty, or what does not.
std::string CheckAt(const Saved& saved, WriteStep step, const fs::path& file) {
  const std::string target = ReadBytes(saved.file);
  const bool copy_kept = !saved.cache.Copies().empty();
  switch (step) {
    case WriteStep::kTemporaryWritten:
    case WriteStep::kTemporarySynced:
      return target == kOld && file != saved.file && ReadBytes(file) == kNew ? "" : "temporary";
    case WriteStep::kRenamed:
      return target == kNew && file == saved.file ? "" : "rename";
    case WriteStep::kDirectorySynced:
      return file == saved.file.parent_path() ? "" : "directory";
    case WriteStep::kBackupSynced:
      return target == kOld && EndsWith(ReadBytes(file), kOld) ? "" : "copy before the target";
    case WriteStep::kSpaceReserved:
      return target.compare(0, kOld.size(), kOld) == 0 ? "" : "old content touched by reserving";
    case WriteStep::kTargetWritten:
    case WriteStep::kTargetSynced:
      return target == kNew && copy_kept ? "" : "copy gone before the new content is on the disk";
    case WriteStep::kBackupRemoved:
      return target == kNew && !fs::exists(file) && !copy_kept ? "" : "copy not removed";
  }
  return "unknown step";
}

TEST(FileWritingSteps, ComeInTheOrderThatSurvivesACrash) {
  const struct {
    const char* name;
    int refused;  // the temporary's creation fails with this error (0: it does not)
    std::vector<WriteStep> steps;
  } cases[] = {
      {"through a temporary",
       0,
       {WriteStep::kTemporaryWritten, WriteStep::kTemporarySynced, WriteStep::kRenamed,
        WriteStep::kDirectorySynced}},
      {"in place",
       EACCES,
       {WriteStep::kBackupSynced, WriteStep::kSpaceReserved, WriteStep::kTargetWritten,
        WriteStep::kTargetSynced, WriteStep::kBackupRemoved}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Saved saved;
    std::vector<std::string> problems;
    StepRecorder recorder;
    recorder.onStep = [&](WriteStep step, const fs::path& file) {
      if (std::string problem = CheckAt(saved, step, file); !problem.empty())
        problems.push_back(problem);
    };
    Status status;
    {
      Injected refused({Step::kNone, 0, 0, c.refused});
      status = WriteFileAtomic(saved.file, kNew);
    }
    ASSERT_TRUE(status.ok()) << status.error();
    EXPECT_EQ(recorder.steps, c.steps);
    EXPECT_EQ(problems, std::vector<std::string>{});
    EXPECT_EQ(ReadBytes(saved.file), kNew);
    EXPECT_EQ(saved.Entries(), 1);
  }
}

TEST(FileWritingSteps, OnlyADirectoryThatRefusesNewFilesIsWrittenInPlace) {
  const struct {
    int error;
    bool inPlace;
  } cases[] = {
      {EACCES, true}, {EPERM, true}, {EROFS, true}, {ENOSPC, false}, {EMFILE, false}, {EIO, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(SystemReason(c.error));
    Saved saved;
    StepRecorder recorder;
    Status status;
    {
      Injected refused({Step::kNone, 0, 0, c.error});
      status = WriteFileAtomic(saved.file, kNew);
    }
    if (c.inPlace) {
      ASSERT_TRUE(status.ok()) << status.error();
      EXPECT_EQ(ReadBytes(saved.file), kNew);
      EXPECT_EQ(recorder.steps.front(), WriteStep::kBackupSynced);
    } else {
      ASSERT_FALSE(status.ok());
      EXPECT_EQ(status.error(), SystemReason(c.error));
      EXPECT_EQ(ReadBytes(saved.file), kOld);
      EXPECT_TRUE(recorder.steps.empty());
    }
    EXPECT_EQ(saved.Entries(), 1);
    EXPECT_EQ(saved.cache.Copies(), std::vector<std::string>{});
  }
}

TEST(FileWritingSteps, FailedWriteInPlacePutsTheOldContentBack) {
  const std::string longer(4096, 'n');
  const struct {
    std::string bytes;
    InjectedWriteFault fault;
  } cases[] = {
      {kNew, {Step::kWrite, 0, ENOSPC}},     {kNew, {Step::kWrite, 5, EIO}},
      {kNew, {Step::kSync, 0, EIO}},         {longer, {Step::kWrite, 100, ENOSPC}},
      {longer, {Step::kWrite, 4095, EFBIG}}, {longer, {Step::kSync, 0, EIO}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.bytes.size() << " bytes, step " << static_cast<int>(c.fault.step) << " after "
                 << c.fault.afterBytes);
    Saved saved;
    Status status;
    {
      InjectedWriteFault fault = c.fault;
      fault.temporaryError = EACCES;
      Injected injected(fault);
      status = WriteFileAtomic(saved.file, c.bytes);
    }
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.error(), SystemReason(c.fault.error));
    EXPECT_EQ(ReadBytes(saved.file), kOld);
    EXPECT_EQ(saved.cache.Copies(), std::vector<std::string>{});
  }
}

// What a process killed right after writing the target in place leaves behind: the target with
// part of the new content, and the copy of the old content.
void LeaveAWriteInPlaceCutShort(const Saved& saved) {
  std::vector<std::pair<fs::path, std::string>> copies;
  {
    StepRecorder recorder;
    recorder.onStep = [&](WriteStep step, const fs::path&) {
      if (step != WriteStep::kTargetWritten)
        return;
      for (const auto& entry : fs::directory_iterator(saved.cache.copies()))
        copies.emplace_back(entry.path(), ReadBytes(entry.path()));
    };
    Injected refused({Step::kNone, 0, 0, EACCES});
    ASSERT_TRUE(WriteFileAtomic(saved.file, kNew).ok());
  }
  ASSERT_EQ(copies.size(), 1u);
  WriteBytes(copies[0].first, copies[0].second);
  WriteBytes(saved.file, kNew.substr(0, 4));
}

TEST(FileWritingSteps, NextWriteOfAWriteInPlaceCutShortPutsTheOldContentBackFirst) {
  const struct {
    const char* name;
    InjectedWriteFault fault;
    bool saves;
  } cases[] = {
      {"in place, failing", {Step::kWrite, 0, EIO, EACCES}, false},
      {"through a temporary, failing", {Step::kRename, 0, EXDEV}, false},
      {"in place", {Step::kNone, 0, 0, EACCES}, true},
      {"through a temporary", {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Saved saved;
    LeaveAWriteInPlaceCutShort(saved);
    ASSERT_EQ(saved.cache.Copies().size(), 1u);
    Status status;
    {
      Injected injected(c.fault);
      status = WriteFileAtomic(saved.file, "third");
    }
    EXPECT_EQ(status.ok(), c.saves);
    EXPECT_EQ(ReadBytes(saved.file), c.saves ? "third" : kOld);
    EXPECT_EQ(saved.cache.Copies(), std::vector<std::string>{});
    EXPECT_EQ(saved.Entries(), 1);
  }
}

// Nothing waits for the next write: reading the file, or the next start of the program, puts
// the old content back (a reader would otherwise show a damaged table, and its OK write an
// empty one).
TEST(FileWritingSteps, ReaderOrStartUpPutsTheOldContentOfAWriteInPlaceCutShortBack) {
  const struct {
    const char* name;
    void (*mend)(const fs::path& file);
  } cases[] = {
      {"reading the file", [](const fs::path& file) { EXPECT_EQ(*ReadWholeFile(file), kOld); }},
      {"start-up", [](const fs::path&) { RestoreInterruptedWrites(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Saved saved;
    LeaveAWriteInPlaceCutShort(saved);
    c.mend(saved.file);
    EXPECT_EQ(ReadBytes(saved.file), kOld);
    EXPECT_EQ(saved.cache.Copies(), std::vector<std::string>{});
  }
}

// A file mended by hand after a write to it was cut short is the user's: neither a reader nor
// the start-up puts the old content back over it; the next save drops the copy.
TEST(FileWritingSteps, AFileChangedAfterTheCutIsNotPutBack) {
  Saved saved;
  LeaveAWriteInPlaceCutShort(saved);
  WriteBytes(saved.file, "mended by hand");
  fs::last_write_time(saved.file, fs::last_write_time(saved.file) + std::chrono::seconds(60));
  EXPECT_EQ(*ReadWholeFile(saved.file), "mended by hand");
  std::vector<std::string> notes;
  RestoreInterruptedWrites(&notes);
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("was changed after a write to it was cut short"), std::string::npos);
  EXPECT_EQ(ReadBytes(saved.file), "mended by hand");
  EXPECT_EQ(saved.cache.Copies().size(), 1u);
  ASSERT_TRUE(WriteFileAtomic(saved.file, kNew).ok());
  EXPECT_EQ(ReadBytes(saved.file), kNew);
  EXPECT_EQ(saved.cache.Copies(), std::vector<std::string>{});
}

// A reader while another write in place is under way (here: of this process, through another
// open of the copy) must not put the old content back under it.
TEST(FileWritingSteps, ReaderLeavesAWriteInPlaceUnderWayAlone) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows keeps no lock on the copy: its opens here do not share deletion";
#endif
  Saved saved;
  std::string read;
  {
    StepRecorder recorder;
    recorder.onStep = [&](WriteStep step, const fs::path&) {
      if (step == WriteStep::kTargetWritten) {
        const Result<std::string> bytes = ReadWholeFile(saved.file);
        read = bytes ? *bytes : bytes.error();
      }
    };
    Injected refused({Step::kNone, 0, 0, EACCES});
    ASSERT_TRUE(WriteFileAtomic(saved.file, kNew).ok());
  }
  EXPECT_EQ(read, kNew);
  EXPECT_EQ(ReadBytes(saved.file), kNew);
  EXPECT_EQ(saved.cache.Copies(), std::vector<std::string>{});
}

}  // namespace
}  // namespace quastor::test
