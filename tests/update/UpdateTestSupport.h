#pragma once
// Helpers of the device update tests: record lines, bank images, the SRecord tools.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

namespace quastor::test {

// The lines of a text whose lines all end with CR LF; a line ending otherwise fails the test
// through the returned flag.
inline std::vector<std::string> CrLfLines(const std::string& text, bool* all_crlf = nullptr) {
  std::vector<std::string> lines;
  bool crlf = true;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      crlf = false;
      end = text.size();
    }
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    } else {
      crlf = false;
    }
    lines.push_back(line);
    start = end + 1;
  }
  if (all_crlf != nullptr)
    *all_crlf = crlf;
  return lines;
}

inline std::string Fixture(const std::string& name) {
  return ReadBytes(DataFile("update/" + name));
}

// size bytes counting up from first (a pattern that shows misplaced blocks).
inline std::string PatternImage(std::size_t size, int first = 0) {
  std::string image(size, '\0');
  for (std::size_t i = 0; i < size; ++i)
    image[i] = static_cast<char>((first + i * 13) & 0xFF);
  return image;
}

struct ToolRun {
  int status = -1;
  std::string output;
};

// Runs a shell command and collects what it prints (stdout and stderr).
inline ToolRun RunTool(const std::string& command) {
  ToolRun run;
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr)
    return run;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    run.output.append(buffer, got);
  run.status = pclose(pipe);
  return run;
}

// Whether the program is on the search path.
inline bool ToolInstalled(const std::string& name) {
#ifdef _WIN32
  // cmd.exe has no "command -v", and "where" answers 0 for anything under some versions of
  // Wine: look through PATH for name.exe instead.
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "";
  for (std::size_t start = 0; start <= dirs.size();) {
    const std::size_t end = std::min(dirs.find(';', start), dirs.size());
    const std::string dir = dirs.substr(start, end - start);
    std::error_code ec;
    if (!dir.empty() && std::filesystem::is_regular_file(dir + "\\" + name + ".exe", ec))
      return true;
    start = end + 1;
  }
  return false;
#else
  return RunTool("command -v " + name).status == 0;
#endif
}

}  // namespace quastor::test
