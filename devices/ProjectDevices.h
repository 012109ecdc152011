#pragma once
// The device files a project keeps, so that it stays whole when it moves: copies in its folder
// "devices", and which EDS file the SDO table picks from, remembered in devices/devices.ini.

#include <filesystem>
#include <optional>

#include "platform/Result.h"

namespace quastor {

// ProjectDir/devices.
std::filesystem::path DevicesFolder(const std::filesystem::path& project_dir);

// The EDS file the project remembers, in its devices folder; nothing when it remembers none or
// the remembered name is not a bare file name (the folder's files only are ever taken).
std::optional<std::filesystem::path> RememberedEds(const std::filesystem::path& project_dir);

// Copies source into the project's devices folder under its own name (unless it lies there
// already) and remembers it: the copy's path, or why it could not be made.
Result<std::filesystem::path> AdoptEds(const std::filesystem::path& project_dir,
                                       const std::filesystem::path& source);

}  // namespace quastor
