// A save loop killed at random moments, many times over: the file always holds one of the
// two contents whole, and the only temporary left is that of the save the kill interrupted,
// which the next save removes. Written in place, a save cut short is undone by the next.

#include <gtest/gtest.h>

#ifndef _WIN32

#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileWriting.h"
#include "tests/support/SaveSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;

std::vector<std::string> Temporaries(const fs::path& dir, const fs::path& file) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path() != file)
      names.push_back(entry.path().filename().string());
  }
  return names;
}

// How a save loop runs and when it is killed.
struct Loop {
  bool asUser = false;  // as an ordinary user, in a directory that refuses that user new files
  // When set, the loop stops for its kill when save number stopSave completes this step; else
  // it is killed at a random moment.
  std::optional<WriteStep> stopAt;
  unsigned stopSave = 1;
};

// Starts a process that saves the two contents to file by turns until it is killed; returns
// once its first save has completed (or, with loop.stopAt, once it has stopped at the step),
// so that every kill meets a loop that is running.
pid_t StartSaveLoop(const fs::path& file, const std::string (&contents)[2], const Loop& loop) {
  int ready[2];
  if (::pipe(ready) != 0)
    return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ready[0]);
    if (loop.asUser && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(test::kOrdinaryUser) != 0 ||
         ::setuid(test::kOrdinaryUser) != 0)) {
      ::_exit(2);
    }
    if (loop.asUser && !test::RefusesNewFile(file.parent_path()).empty())
      ::_exit(3);
    unsigned save = 0;
    if (loop.stopAt) {
      ObserveWriteSteps([&](WriteStep step, const fs::path&) {
        if (step == *loop.stopAt && save == loop.stopSave) {
          (void)!::write(ready[1], "1", 1);
          for (;;)
            ::pause();
        }
      });
    }
    for (save = 1;; ++save) {
      if (!WriteFileAtomic(file, contents[save % 2]).ok())
        ::_exit(1);
      if (save == 1 && !loop.stopAt) {
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

// Kills the loop and waits for it; whether the kill ended it.
bool Kill(pid_t child) {
  int status = 0;
  return ::kill(child, SIGKILL) == 0 && ::waitpid(child, &status, 0) == child &&
         WIFSIGNALED(status);
}

TEST(SaveKill, EveryKillLeavesOneWholeContentAndNoTemporariesThatPileUp) {
  TempDir dir;
  const fs::path file = dir / "sdo.xml";
  // Large enough that a kill often lands while the bytes are written.
  const std::string contents[2] = {std::string(1 << 20, 'a'), std::string((1 << 20) + 4096, 'b')};
  ASSERT_TRUE(WriteFileAtomic(file, contents[0]).ok());
  std::mt19937 random(4410);
  int interrupted = 0;
  for (int kill = 1; kill <= 200; ++kill) {
    SCOPED_TRACE(testing::Message() << "kill " << kill);
    const pid_t child = StartSaveLoop(file, contents, {});
    ASSERT_GT(child, 0) << "the save loop did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    ASSERT_TRUE(Kill(child)) << "the save loop failed by itself";

    const std::string now = ReadBytes(file);
    ASSERT_TRUE(now == contents[0] || now == contents[1]) << now.size() << " bytes";
    // The first save of this loop removed the temporaries of earlier kills.
    const std::vector<std::string> left = Temporaries(dir.path(), file);
    ASSERT_LE(left.size(), 1u);
    if (!left.empty()) {
      EXPECT_EQ(left[0].rfind("sdo.xml." + std::to_string(child) + "-", 0), 0u) << left[0];
      ++interrupted;
    }
  }
  EXPECT_GT(interrupted, 0) << "no kill met a save in the middle";
  ASSERT_TRUE(WriteFileAtomic(file, contents[0]).ok());
  EXPECT_TRUE(Temporaries(dir.path(), file).empty());
}

// The same in a directory that refuses new files to the user who saves, so that every save is
// written in place; the loop is killed at random moments and at each step of a save. The file
// holds one of the two contents whole or, when the kill cut a write short, the next save puts
// back the one it held before (here a save that fails at its first byte, so that what the file
// holds after it is what was put back).
TEST(SaveKill, WriteInPlaceCutShortIsUndoneByTheNextSave) {
  TempDir dir;
  const fs::path project = dir / "project";
  fs::create_directory(project);
  fs::create_directory(dir / "cache");
  const fs::path file = project / "sdo.xml";
  const std::string contents[2] = {std::string(1 << 20, 'a'), std::string((1 << 20) + 4096, 'b')};
  test::WriteBytes(file, contents[0]);
  test::GiveToUser(dir / "cache");
  const test::ScopedCacheHome cache(dir / "cache");
  const test::RefusingDirectory refusing(project);
  const WriteStep steps[] = {WriteStep::kBackupSynced, WriteStep::kSpaceReserved,
                             WriteStep::kTargetWritten, WriteStep::kTargetSynced};
  std::mt19937 random(4375);
  int put_back = 0;
  for (int kill = 0; kill < 100; ++kill) {
    SCOPED_TRACE(testing::Message() << "kill " << kill);
    Loop loop;
    loop.asUser = true;
    if (kill % 5 != 4) {
      loop.stopAt = steps[kill % 5];
      loop.stopSave = 1 + kill / 5 % 2;  // a save that makes the file longer, then shorter
    }
    const pid_t child = StartSaveLoop(file, contents, loop);
    ASSERT_GT(child, 0) << "the save loop did not start";
    if (!loop.stopAt)
      std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    ASSERT_TRUE(Kill(child)) << "the save loop failed by itself";

    if (const std::string now = ReadBytes(file); now != contents[0] && now != contents[1]) {
      const std::string next = test::AsUserInChild([&]() -> std::string {
        const test::Injected injected({InjectedWriteFault::Step::kWrite, 0, EIO});
        return WriteFileAtomic(file, contents[0]).ok() ? "saved" : "";
      });
      ASSERT_EQ(next, "");
      const std::string after = ReadBytes(file);
      ASSERT_TRUE(after == contents[0] || after == contents[1]) << after.size() << " bytes";
      ++put_back;
    }
    ASSERT_LE(cache.Copies().size(), 2u);  // the copy, and the temporary of one being made
  }
  EXPECT_GT(put_back, 0) << "no kill cut a write in place short";
  EXPECT_EQ(test::AsUserInChild([&] {
              return WriteFileAtomic(file, contents[0]).ok() ? std::string() : "not saved";
            }),
            "");
  EXPECT_EQ(cache.Copies(), std::vector<std::string>{});
  EXPECT_TRUE(Temporaries(project, file).empty());
}

}  // namespace
}  // namespace quastor

#endif  // _WIN32
