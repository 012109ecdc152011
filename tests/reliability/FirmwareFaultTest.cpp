// Firmware generation that fails part way, through a failure injected into its streamed writes,
// its flush or its final rename, or through a full disk, or that is killed: the run reports the
// system's reason, leaves the installed firmware, the bank images, the project's other files
// and the new file of an earlier run byte for byte, and leaves no stage file, neither in the
// project nor in the temporary directory. The new file keeps the links in its place and its
// permission bits.

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/Result.h"
#include "tests/reliability/FaultSupport.h"
#include "tests/support/SaveSupport.h"
#include "tests/update/FirmwareInstallation.h"
#include "update/FirmwareGeneration.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <chrono>
#include <random>
#include <thread>
#endif

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr char kTemporaryVariable[] = "TMP";
#else
constexpr char kTemporaryVariable[] = "TMPDIR";
#endif

// The installation with a temporary directory of its own and the new file of an earlier run.
struct Generated : FirmwareInstallation {
  fs::path temporary = dir / "tmp";
  ScopedEnvironment temporaryHome{kTemporaryVariable, temporary.string()};
  std::string newFile;  // what a complete run writes

  static constexpr char kEarlier[] = "firmware of an earlier run\r\n";

  Generated() {
    fs::create_directory(temporary);
    const Outcome first = Run();
    EXPECT_TRUE(first.complete) << first.message;
    newFile = ReadBytes(NewFile());
    WriteBytes(NewFile(), kEarlier);
  }

  struct Outcome {
    bool complete = false;
    std::string message;  // the first message shown
  };

  Outcome Run(std::array<bool, kBankCount> selected = {true, true, false, false, false}) const {
    Result<FirmwareJob> job = PrepareFirmwareJob(state);
    if (!job)
      return {false, job.error()};
    job.value().selected = selected;
    Outcome outcome;
    PipelineEvents events;
    events.message = [&](const std::string& text) {
      if (outcome.message.empty())
        outcome.message = text;
    };
    outcome.complete = RunBankPipeline(*job, events).complete;
    return outcome;
  }

  // What the temporary directory holds: the stage files' work directories.
  std::vector<std::string> Stages() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(temporary))
      names.push_back(entry.path().filename().string());
    return names;
  }
};

TEST(FirmwareFaults, InjectedFailureKeepsTheOldFileAndLeavesNoStageFile) {
  Generated installation;
  const std::size_t size = installation.newFile.size();
  ASSERT_GT(size, 2u);
  using Step = InjectedWriteFault::Step;
  const InjectedWriteFault faults[] = {
      {Step::kWrite, 0, ENOSPC},       {Step::kWrite, 1, ENOSPC}, {Step::kWrite, size / 2, EIO},
      {Step::kWrite, size - 1, EFBIG}, {Step::kSync, 0, EIO},     {Step::kRename, 0, EXDEV},
  };
  const auto before = Snapshot(installation.dir.path());
  for (const InjectedWriteFault& fault : faults) {
    SCOPED_TRACE(testing::Message() << "step " << static_cast<int>(fault.step) << " after "
                                    << fault.afterBytes << " bytes");
    Generated::Outcome outcome;
    {
      Injected injected(fault);
      outcome = installation.Run();
    }
    EXPECT_FALSE(outcome.complete);
    EXPECT_NE(outcome.message.find(SystemReason(fault.error)), std::string::npos)
        << outcome.message;
    EXPECT_EQ(Snapshot(installation.dir.path()), before);
  }
  // Without the fault the same run writes the same file again.
  ASSERT_TRUE(installation.Run().complete);
  EXPECT_EQ(ReadBytes(installation.NewFile()), installation.newFile);
  EXPECT_TRUE(installation.Leftovers().empty());
  EXPECT_TRUE(installation.Stages().empty());
}

#ifndef _WIN32

TEST(FirmwareFaults, FullDiskKeepsTheOldFileAndLeavesNoStageFile) {
  Generated installation;
  const std::size_t size = installation.newFile.size();
  const auto before = Snapshot(installation.dir.path());
  for (const rlim_t limit : {rlim_t{0}, rlim_t{size / 2}, rlim_t{size - 1}}) {
    SCOPED_TRACE(testing::Message() << "files limited to " << limit << " bytes");
    const int result = ChildUnderSizeLimit(limit, [&] {
      const Generated::Outcome outcome = installation.Run();
      if (outcome.complete)
        return 1;
      return outcome.message.find(SystemReason(EFBIG)) != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(result, 0)
        << "1: complete, 2: another reason, 126: no limit set, above 128: a signal";
    EXPECT_EQ(Snapshot(installation.dir.path()), before);
  }
}

mode_t ModeOf(const fs::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0);
  return info.st_mode & 07777;
}

TEST(FirmwareFaults, NewFileKeepsTheLinkInItsPlaceAndItsMode) {
  Generated installation;
  const fs::path real = installation.dir / "flash" / "image.sx";
  fs::create_directory(real.parent_path());
  WriteBytes(real, Generated::kEarlier);
  fs::permissions(real, fs::perms(0600));
  fs::remove(installation.NewFile());
  fs::create_symlink(real, installation.NewFile());

  ASSERT_TRUE(installation.Run().complete);
  EXPECT_TRUE(fs::is_symlink(installation.NewFile()));
  EXPECT_EQ(ReadBytes(real), installation.newFile);
  EXPECT_EQ(ModeOf(real), 0600u);
  EXPECT_TRUE(installation.Leftovers().empty());
}

// Runs complete, by turns with two bank selections (two different files), until killed.
pid_t StartRunLoop(const Generated& installation) {
  int ready[2];
  if (::pipe(ready) != 0)
    return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ready[0]);
    for (unsigned n = 1;; ++n) {
      const bool both = n % 2 == 0;
      if (!installation.Run({true, both, false, false, false}).complete)
        ::_exit(1);
      if (n == 1) {
        (void)!::write(ready[1], "1", 1);
        ::close(ready[1]);
      }
    }
  }
  ::close(ready[1]);
  char byte = 0;
  const bool started = child > 0 && ::read(ready[0], &byte, 1) == 1;
  ::close(ready[0]);
  return started ? child : -1;
}

TEST(FirmwareFaults, KilledRunKeepsOneWholeFileAndLeavesNoStageFileInTheProject) {
  Generated installation;
  ASSERT_TRUE(installation.Run({true, false, false, false, false}).complete);
  const std::string one_bank = ReadBytes(installation.NewFile());
  ASSERT_NE(one_bank, installation.newFile);
  std::mt19937 random(4375);
  int interrupted = 0;
  for (int kill = 1; kill <= 60; ++kill) {
    SCOPED_TRACE(testing::Message() << "kill " << kill);
    const pid_t child = StartRunLoop(installation);
    ASSERT_GT(child, 0) << "the run loop did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    int status = 0;
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the run loop failed by itself";

    const std::string now = ReadBytes(installation.NewFile());
    ASSERT_TRUE(now == one_bank || now == installation.newFile) << now.size() << " bytes";
    // In the project at most the temporary of the new file that the kill cut short, which the
    // next save of it removes; the stage files only in the temporary directory.
    const std::vector<std::string> left = installation.Leftovers();
    ASSERT_LE(left.size(), 1u);
    if (!left.empty()) {
      EXPECT_EQ(left[0].rfind("New_sx4375.sx." + std::to_string(child) + "-", 0), 0u) << left[0];
    }
    ASSERT_LE(installation.Stages().size(), 1u) << "the next run removes those of ended runs";
    interrupted += installation.Stages().empty() ? 0 : 1;
  }
  EXPECT_GT(interrupted, 0) << "no kill met a run in the middle";
  ASSERT_TRUE(installation.Run().complete);
  EXPECT_TRUE(installation.Leftovers().empty());
  EXPECT_TRUE(installation.Stages().empty());
}

#endif  // _WIN32

}  // namespace
}  // namespace quastor::test
