#pragma once
// Where the running executable lives.

#include <filesystem>

namespace quastor {

// Directory of the running executable; argv0 serves where the system cannot tell.
std::filesystem::path ExecutableDir(const char* argv0);

}  // namespace quastor
