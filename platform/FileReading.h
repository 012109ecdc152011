#pragma once
// Reading a whole file without surprises: directories, missing files and read errors are
// failures with the system's reason, never exceptions.

#include <filesystem>
#include <string>

#include "platform/Result.h"

namespace quastor {

// The file's bytes, or the system's reason why they cannot be read.
Result<std::string> ReadWholeFile(const std::filesystem::path& file);

}  // namespace quastor
