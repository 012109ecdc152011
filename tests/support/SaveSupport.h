#pragma once
// What the tests of saving share: an injected write fault and an environment variable for a
// scope, the steps of this process's writes as they complete, and (POSIX) a child process that
// runs as an ordinary user in a directory that refuses that user new files.

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileWriting.h"
#include "tests/support/TestFiles.h"

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quastor::test {

// The fault, set for the lifetime of the object.
class Injected {
 public:
  explicit Injected(const InjectedWriteFault& fault) { InjectWriteFault(fault); }
  ~Injected() { InjectWriteFault({}); }
  Injected(const Injected&) = delete;
  Injected& operator=(const Injected&) = delete;
};

// An environment variable set for the lifetime of the object, then restored.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name); old != nullptr)
      old_ = old;
    Set(value);
  }
  ~ScopedEnvironment() { Set(old_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const std::string& value) const {
#ifdef _WIN32
    _putenv_s(name_, value.c_str());  // the empty value removes the variable
#else
    if (value.empty()) {
      ::unsetenv(name_);
    } else {
      ::setenv(name_, value.c_str(), 1);
    }
#endif
  }
  const char* name_;
  std::string old_;
};

// The user's cache directory, where writes in place keep the copies of old contents, made dir
// for the lifetime of the object.
class ScopedCacheHome {
 public:
  explicit ScopedCacheHome(const std::filesystem::path& dir)
#ifdef _WIN32
      : env_("LOCALAPPDATA", dir.string()),
#else
      : env_("XDG_CACHE_HOME", dir.string()),
#endif
        copies_(dir / "quastor") {
  }
  // The files in the directory of the copies: none once every write in place has ended.
  std::vector<std::string> Copies() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(copies_, ec), end; !ec && it != end;
         it.increment(ec)) {
      names.push_back(it->path().filename().string());
    }
    return names;
  }
  const std::filesystem::path& copies() const {
    return copies_;
  }

 private:
  ScopedEnvironment env_;
  std::filesystem::path copies_;
};

// The steps of this process's writes, in the order they completed, for the lifetime of the
// object; onStep, when set, is called at each, to look at the files at that moment.
class StepRecorder {
 public:
  StepRecorder() {
    ObserveWriteSteps([this](WriteStep step, const std::filesystem::path& file) {
      steps.push_back(step);
      files.push_back(file);
      if (onStep)
        onStep(step, file);
    });
  }
  ~StepRecorder() { ObserveWriteSteps({}); }
  StepRecorder(const StepRecorder&) = delete;
  StepRecorder& operator=(const StepRecorder&) = delete;

  std::vector<WriteStep> steps;
  std::vector<std::filesystem::path> files;
  std::function<void(WriteStep, const std::filesystem::path&)> onStep;
};

#ifndef _WIN32

// The user the saves run as when the tests run as root.
inline constexpr uid_t kOrdinaryUser = 65534;

// Hands path over to the ordinary user when the tests run as root.
inline void GiveToUser(const std::filesystem::path& path) {
  if (::geteuid() == 0)
    (void)!::lchown(path.c_str(), kOrdinaryUser, kOrdinaryUser);
}

// Runs body in a child process as an ordinary user: uid and gid 65534 when the tests run as
// root, else the user they run as. The child's files may not grow past size_limit bytes, as on
// a full disk (writes past it fail with EFBIG). Returns body's text, empty when everything went
// as it should, else what went wrong or how the child ended.
inline std::string AsUserInChild(const std::function<std::string()>& body,
                                 rlim_t size_limit = RLIM_INFINITY) {
  int report[2];
  if (::pipe(report) != 0)
    return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(report[0]);
    std::string text;
    const rlimit size{size_limit, size_limit};
    ::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &size) != 0) {
      text = "cannot limit the file size";
    } else if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(kOrdinaryUser) != 0 ||
                                    ::setuid(kOrdinaryUser) != 0)) {
      text = "cannot become an ordinary user";
    } else {
      text = body();
    }
    const char* at = text.data();
    std::size_t left = text.size();
    while (left > 0) {
      const ssize_t written = ::write(report[1], at, left);
      if (written <= 0)
        break;
      at += written;
      left -= static_cast<std::size_t>(written);
    }
    ::_exit(0);
  }
  ::close(report[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t got; (got = ::read(report[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(got));
  ::close(report[0]);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child)
    return "the child did not run";
  if (!WIFEXITED(status))
    return text + " (the child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
  return text;
}

// A directory whose files are the ordinary user's and whose directories refuse that user new
// files, for the lifetime of the object.
class RefusingDirectory {
 public:
  explicit RefusingDirectory(const std::filesystem::path& dir) : dir_(dir) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
      GiveToUser(entry.path());
      if (entry.is_directory())
        std::filesystem::permissions(entry.path(), std::filesystem::perms(0555));
    }
    GiveToUser(dir);
    std::filesystem::permissions(dir, std::filesystem::perms(0555));
  }
  ~RefusingDirectory() {
    std::filesystem::permissions(dir_, std::filesystem::perms(0755));
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_)) {
      if (entry.is_directory())
        std::filesystem::permissions(entry.path(), std::filesystem::perms(0755));
    }
  }
  RefusingDirectory(const RefusingDirectory&) = delete;
  RefusingDirectory& operator=(const RefusingDirectory&) = delete;

 private:
  std::filesystem::path dir_;
};

// Empty when dir refuses this process a new file for want of permission; else what happened.
// A child checks it first, so that its saves really meet a directory that refuses them.
inline std::string RefusesNewFile(const std::filesystem::path& dir) {
  const std::filesystem::path probe = dir / "probe";
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.c_str());
    return dir.string() + " takes new files";
  }
  return errno == EACCES ? "" : dir.string() + ": " + std::to_string(errno);
}

#endif  // _WIN32

}  // namespace quastor::test
