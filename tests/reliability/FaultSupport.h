#pragma once
// What the save fault tests share: a snapshot of a directory's files and a child process whose
// files may not grow past a size (a full disk); tests/support/SaveSupport.h has the rest.

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "platform/FileWriting.h"
#include "tests/support/SaveSupport.h"
#include "tests/support/TestFiles.h"

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quastor::test {

// Every file and directory below dir, with the bytes of each file.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    const std::string name = std::filesystem::relative(entry.path(), dir).generic_string();
    files[name] = entry.is_regular_file() ? ReadBytes(entry.path()) : "<directory>";
  }
  return files;
}

#ifndef _WIN32

// Runs body in a child process whose files may not grow past limit bytes, as on a full disk
// (writes past it fail with EFBIG). Returns body's result (0 to 125), 126 when the limit could
// not be set, above 128 for a signal, -1 when the child did not run.
inline int ChildUnderSizeLimit(rlim_t limit, const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit size{limit, limit};
    if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
      ::_exit(126);
    ::_exit(body());
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child)
    return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

#endif  // _WIN32

}  // namespace quastor::test
