// A stand-in for the flash programmer, copied into a test's application directory: writes
// each argument it gets on a line of args.txt beside itself. It writes args.tmp first and
// renames it, so that the test, which does not wait for it, never reads half of the file.

#include <filesystem>
#include <fstream>

#include "platform/Executable.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path dir = quastor::ExecutableDir(argc > 0 ? argv[0] : nullptr);
  {
    std::ofstream out(dir / "args.tmp", std::ios::binary | std::ios::trunc);
    for (const std::string& arg : quastor::Utf8Arguments(argc, argv))
      out << arg << '\n';
    if (!out)
      return 1;
  }
  std::error_code ec;
  fs::rename(dir / "args.tmp", dir / "args.txt", ec);
  return ec ? 1 : 0;
}
