#pragma once
// Helpers for the gateway tests: pargen.xml texts written by hand, a project directory, and a
// file size limit that makes the next write fail half-way.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <cerrno>
#include <cstddef>

#include "platform/FileWriting.h"
#else
#include <sys/resource.h>
#include <csignal>
#endif

namespace quastor::test {

using Elements = std::vector<std::pair<std::string, std::string>>;

// The six elements as the settings dialog writes its defaults.
inline Elements DefaultElements() {
  return {{"PROFI_ID", "20"},     {"PROFI_BAUD", "10"},  {"PROFI_NB_IN", "20"},
          {"PROFI_NB_OUT", "20"}, {"DNET_DEV_ID", "10"}, {"DNET_BAUD", "2"}};
}

// The defaults with one element's text replaced.
inline Elements With(const std::string& name, const std::string& text) {
  Elements elements = DefaultElements();
  for (auto& element : elements) {
    if (element.first == name)
      element.second = text;
  }
  return elements;
}

// The defaults without one element.
inline Elements Without(const std::string& name) {
  Elements elements;
  for (const auto& element : DefaultElements()) {
    if (element.first != name)
      elements.push_back(element);
  }
  return elements;
}

// <Par_Gen> with the elements in the given order, on one line.
inline std::string ParGenXml(const Elements& elements) {
  std::string text = "<Par_Gen>";
  for (const auto& [name, value] : elements)
    text += "<" + name + ">" + value + "</" + name + ">";
  return text + "</Par_Gen>";
}

inline constexpr char kDefaultParGenText[] =
    "<Par_Gen><PROFI_ID>20</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>20</PROFI_NB_IN>"
    "<PROFI_NB_OUT>20</PROFI_NB_OUT><DNET_DEV_ID>10</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD>"
    "</Par_Gen>";

// Names of the entries of dir, to see that a failed write left no temporary behind.
inline std::vector<std::string> EntriesOf(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

#ifdef _WIN32
// While alive, no write of this process may make a file longer than bytes: the write fails
// with "File too large" instead. Windows has no such limit: the fault is injected into the
// writes (platform/FileWriting.h).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes) {
    InjectWriteFault({InjectedWriteFault::Step::kWrite, bytes, EFBIG});
  }
  ~FileSizeLimit() { InjectWriteFault({}); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
};
#else
// While alive, no write of this process may make a file longer than bytes: the write fails
// with "File too large" instead (works for root too, unlike file permissions).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = SIG_DFL;
};
#endif

}  // namespace quastor::test
