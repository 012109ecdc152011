#pragma once
// Where the running executable lives.

#include <filesystem>
#include <string>
#include <vector>

namespace quastor {

// Directory of the running executable; argv0 serves where the system cannot tell.
std::filesystem::path ExecutableDir(const char* argv0);

// The program's arguments after its name, as UTF-8. On Windows main's argv is in the ANSI code
// page, which cannot hold every name: there they are read from the wide command line.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace quastor
