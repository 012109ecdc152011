#pragma once
// The configuration image bin/bank.bin that the serial updater loads into the gateway:
// a little-endian 32-bit header holding 4, then the low byte of each of the six values of
// pargen.xml in the file's fixed order (PROFI_ID, PROFI_BAUD, PROFI_NB_IN, PROFI_NB_OUT,
// DNET_DEV_ID, DNET_BAUD). A project without pargen.xml gets the header alone.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace quastor {

using ConfigImage = std::vector<std::uint8_t>;

inline constexpr std::uint32_t kConfigImageHeader = 4;

// ProjectDir/bin/bank.bin.
std::filesystem::path ConfigImagePath(const std::filesystem::path& project_dir);

// Builds the image from project_dir's pargen.xml. Every value is read strictly as an integer
// (a value of -1 becomes FF). Fails on an unreadable file, a missing element or a value that
// is not an integer, and on an empty project_dir ("Project not valid").
Result<ConfigImage> BuildConfigImage(const std::filesystem::path& project_dir);

// Writes image to ProjectDir/bin/bank.bin atomically, creating bin when it is missing.
// Fails with "Cannot create file "%s". %s" and the system's reason.
Status WriteConfigImage(const std::filesystem::path& project_dir, const ConfigImage& image);

// What the main window says after writing image: "bank.bin written (10 bytes)".
std::string ConfigImageWrittenReport(const ConfigImage& image);

// The bytes in upper-case hexadecimal, separated by blanks: "04 00 00 00".
std::string HexBytes(const ConfigImage& image);

}  // namespace quastor
