#pragma once
// A FIFO in place of a file, for tests of readers that must not wait on one. POSIX only.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>
#include <system_error>

namespace quastor::test {

// How long a reader may take before it counts as waiting for a writer: far more than a read
// that does not wait takes, even under valgrind on a loaded machine.
inline constexpr std::chrono::seconds kFifoGrace{10};

// Makes a FIFO at path and runs call; *waited tells whether call was still running after
// kFifoGrace, that is, waited for a writer (the fault these tests catch). Such a call is set
// free: the FIFO is then opened for writing whenever someone reads it and closed at once, so
// the reader meets the end of the file. A reader that waits makes its test fail, not hang.
template <class Call>
auto WithFifo(const std::filesystem::path& path, Call call, bool* waited) -> decltype(call()) {
  if (::mkfifo(path.c_str(), 0600) != 0) {
    throw std::filesystem::filesystem_error("mkfifo", path,
                                            std::error_code(errno, std::generic_category()));
  }
  auto result = std::async(std::launch::async, call);
  *waited = result.wait_for(kFifoGrace) != std::future_status::ready;
  while (result.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
    // Fails (ENXIO) while no one has the FIFO open for reading.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
      ::close(fd);
  }
  return result.get();
}

}  // namespace quastor::test
