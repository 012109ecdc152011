#pragma once
// The gateway's GSD file, the PROFIBUS device description that the master's engineering tool
// imports: a modular station whose input and output modules carry the project's PROFIBUS
// input and output bytes, at most 64 bytes per module, inputs first.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace quastor {

inline constexpr std::int32_t kGsdModuleBytes = 64;
inline constexpr std::int32_t kGsdMaxBytes = 244;

struct GsdSizes {
  std::int32_t nin = 0;   // PROFIBUS input bytes (PROFI_NB_IN)
  std::int32_t nout = 0;  // PROFIBUS output bytes (PROFI_NB_OUT)
};

// Modules needed for bytes: bytes / 64, plus one for a remainder (0 for 0 bytes).
std::int32_t GsdModuleCount(std::int32_t bytes);

// The sizes of project_dir's pargen.xml. Refuses, with a message, a project without
// pargen.xml, an unreadable file, a missing size and a size that is not an integer from 0
// to 244; a project never borrows the sizes of another.
Result<GsdSizes> ReadGsdSizes(const std::filesystem::path& project_dir);

// The lines of the GSD file for sizes (each is ended by CR LF in the file).
std::vector<std::string> GsdLines(const GsdSizes& sizes);

// The modules the file lists for sizes: input modules and output modules together.
std::int32_t GsdModuleTotal(const GsdSizes& sizes);

// Reads the sizes of project_dir and replaces file atomically with the GSD text. Nothing is
// written when the sizes are refused; a write failure gives "Cannot create file "%s". %s".
Status WriteGsdFile(const std::filesystem::path& project_dir, const std::filesystem::path& file);
// The same, and what was written in the main window's words: "GSD written: <file> (4 modules)".
Result<std::string> WriteGsdFileSaying(const std::filesystem::path& project_dir,
                                       const std::filesystem::path& file);

}  // namespace quastor
