#include "platform/IsolatedCall.h"

#include <cerrno>

#include "platform/PathText.h"
#include "platform/Text.h"

#ifndef _WIN32
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quastor {

#ifdef _WIN32

Result<std::string> RunIsolated(const std::function<std::string()>& work, std::chrono::seconds) {
  return work();
}

#else

namespace {

void WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      _exit(3);
    done += static_cast<std::size_t>(written);
  }
}

}  // namespace

Result<std::string> RunIsolated(const std::function<std::string()>& work,
                                std::chrono::seconds limit) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0)
    return Failure{FormatText(kIsolatedFailed, {SystemReason(errno)})};
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
    return Failure{FormatText(kIsolatedFailed, {SystemReason(error)})};
  }
  if (child == 0) {
    ::close(pipe_fds[0]);
    WriteAll(pipe_fds[1], work());
    ::close(pipe_fds[1]);
    _exit(0);  // no destructors or exit handlers of the parent's objects run here
  }
  ::close(pipe_fds[1]);

  std::string bytes;
  bool timed_out = false;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  char buffer[1 << 16];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timed_out = true;
      break;
    }
    pollfd wait{pipe_fds[0], POLLIN, 0};
    const int ready = ::poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR)
      break;
    if (ready <= 0)
      continue;
    const ssize_t got = ::read(pipe_fds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      break;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipe_fds[0]);
  if (timed_out)
    ::kill(child, SIGKILL);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (timed_out)
    return Failure{FormatText(kIsolatedTimedOut, {std::to_string(limit.count())})};
  if (WIFSIGNALED(status))
    return Failure{FormatText(kIsolatedCrashed, {std::to_string(WTERMSIG(status))})};
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return Failure{
        FormatText(kIsolatedFailed, {"exit status " + std::to_string(WEXITSTATUS(status))})};
  }
  return bytes;
}

#endif

}  // namespace quastor
