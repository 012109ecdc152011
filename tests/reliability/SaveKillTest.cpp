// A save loop killed at random moments, many times over: the file always holds one of the
// two contents whole, and the only temporary left is that of the save the kill interrupted,
// which the next save removes.

#include <gtest/gtest.h>

#ifndef _WIN32

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileWriting.h"
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

// Starts a process that saves the two contents to file by turns until it is killed; returns
// once its first save has completed, so that every kill meets a loop that is running.
pid_t StartSaveLoop(const fs::path& file, const std::string (&contents)[2]) {
  int ready[2];
  if (::pipe(ready) != 0)
    return -1;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ready[0]);
    for (unsigned n = 1;; ++n) {
      if (!WriteFileAtomic(file, contents[n % 2]).ok())
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
    const pid_t child = StartSaveLoop(file, contents);
    ASSERT_GT(child, 0) << "the save loop did not start";
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 20000));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop failed by itself";

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

}  // namespace
}  // namespace quastor

#endif  // _WIN32
