// Firmware generation that fails part way, through a failure injected into its streamed writes,
// its flush or its final rename, or through a full disk: the run reports the system's reason,
// leaves the installed firmware, the bank images and the project's other files byte for byte,
// and leaves neither a new file nor a stage file behind. (The new file of an earlier run is
// removed when a run starts, so that a failed run never leaves a file for the programmer.)

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/Result.h"
#include "tests/reliability/FaultSupport.h"
#include "tests/update/FirmwareInstallation.h"
#include "update/FirmwareGeneration.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

// The installation after one complete run with banks 1 and 2 selected.
struct Generated : FirmwareInstallation {
  std::string newFile;  // what that run wrote

  Generated() {
    const Outcome first = Run();
    EXPECT_TRUE(first.complete) << first.message;
    newFile = ReadBytes(NewFile());
  }

  struct Outcome {
    bool complete = false;
    std::string message;  // the first message shown
  };

  Outcome Run() const {
    Result<FirmwareJob> job = PrepareFirmwareJob(state);
    if (!job)
      return {false, job.error()};
    job.value().selected = {true, true, false, false, false};
    Outcome outcome;
    PipelineEvents events;
    events.message = [&](const std::string& text) {
      if (outcome.message.empty())
        outcome.message = text;
    };
    outcome.complete = RunBankPipeline(*job, events).complete;
    return outcome;
  }

  // The installation as a failed run must leave it: as before, without the new file.
  std::map<std::string, std::string> AfterFailure(std::map<std::string, std::string> files) const {
    files.erase(fs::relative(NewFile(), dir.path()).generic_string());
    return files;
  }
};

TEST(FirmwareFaults, InjectedFailureLeavesNoNewFileAndNoStageFile) {
  Generated installation;
  const std::size_t size = installation.newFile.size();
  ASSERT_GT(size, 2u);
  using Step = InjectedWriteFault::Step;
  const InjectedWriteFault faults[] = {
      {Step::kWrite, 0, ENOSPC},       {Step::kWrite, 1, ENOSPC}, {Step::kWrite, size / 2, EIO},
      {Step::kWrite, size - 1, EFBIG}, {Step::kSync, 0, EIO},     {Step::kRename, 0, EXDEV},
  };
  for (const InjectedWriteFault& fault : faults) {
    SCOPED_TRACE(testing::Message() << "step " << static_cast<int>(fault.step) << " after "
                                    << fault.afterBytes << " bytes");
    ASSERT_TRUE(installation.Run().complete);
    const auto expected = installation.AfterFailure(Snapshot(installation.dir.path()));
    Generated::Outcome outcome;
    {
      Injected injected(fault);
      outcome = installation.Run();
    }
    EXPECT_FALSE(outcome.complete);
    EXPECT_NE(outcome.message.find(SystemReason(fault.error)), std::string::npos)
        << outcome.message;
    EXPECT_EQ(Snapshot(installation.dir.path()), expected);
    EXPECT_TRUE(installation.Leftovers().empty());
  }
  // Without the fault the same run writes the same file again.
  ASSERT_TRUE(installation.Run().complete);
  EXPECT_EQ(ReadBytes(installation.NewFile()), installation.newFile);
}

#ifndef _WIN32

TEST(FirmwareFaults, FullDiskLeavesNoNewFileAndNoStageFile) {
  Generated installation;
  const std::size_t size = installation.newFile.size();
  for (const rlim_t limit : {rlim_t{0}, rlim_t{size / 2}, rlim_t{size - 1}}) {
    SCOPED_TRACE(testing::Message() << "files limited to " << limit << " bytes");
    ASSERT_TRUE(installation.Run().complete);
    const auto expected = installation.AfterFailure(Snapshot(installation.dir.path()));
    const int result = ChildUnderSizeLimit(limit, [&] {
      const Generated::Outcome outcome = installation.Run();
      if (outcome.complete)
        return 1;
      return outcome.message.find(SystemReason(EFBIG)) != std::string::npos ? 0 : 2;
    });
    EXPECT_EQ(result, 0)
        << "1: complete, 2: another reason, 126: no limit set, above 128: a signal";
    EXPECT_EQ(Snapshot(installation.dir.path()), expected);
    EXPECT_TRUE(installation.Leftovers().empty());
  }
}

#endif  // _WIN32

}  // namespace
}  // namespace quastor::test
