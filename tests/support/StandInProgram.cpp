// A stand-in for a program that the application starts (the serial updater, a program a wait
// is tried on), copied by the tests into a folder under the name they need. It appends "run" to
// runs.txt beside itself, writes each argument it gets on a line of args.txt (args.tmp first,
// then renamed, so that a test that does not wait never reads half of it), and then, when
// sleep-ms.txt beside it holds a number, sleeps that many milliseconds. On Windows it also
// writes its whole command line, as the system handed it over, to command-line.txt: a program
// there splits its command line itself, and not every program the same way.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/Executable.h"

#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path dir = quastor::ExecutableDir(argc > 0 ? argv[0] : nullptr);
  {
    std::ofstream runs(dir / "runs.txt", std::ios::binary | std::ios::app);
    runs << "run\n";
  }
  {
    std::ofstream out(dir / "args.tmp", std::ios::binary | std::ios::trunc);
    for (const std::string& arg : quastor::Utf8Arguments(argc, argv))
      out << arg << '\n';
    if (!out)
      return 1;
  }
#ifdef _WIN32
  {
    const wchar_t* line = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8.data(), size, nullptr, nullptr);
    std::ofstream(dir / "command-line.txt", std::ios::binary) << utf8;
  }
#endif
  std::error_code ec;
  fs::rename(dir / "args.tmp", dir / "args.txt", ec);
  long sleep_ms = 0;
  if (std::ifstream sleep{dir / "sleep-ms.txt"}; sleep >> sleep_ms && sleep_ms > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(sleep_ms));
  return ec ? 1 : 0;
}
