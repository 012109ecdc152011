#pragma once
// Starting external programs without a windowing toolkit (for the command-line tool).
// Parameters are one text, as on the Windows command line. Elsewhere they are split into
// arguments: blanks separate them, double quotes group blanks into an argument and are removed.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

std::vector<std::string> SplitCommandLine(std::string_view parameters);

// Starts program with parameters and does not wait for it. The failure message is the
// system's reason.
Status StartDetached(const std::filesystem::path& program, const std::string& parameters);

// The name of an external program in the application directory: "Name.exe" on Windows,
// "Name" elsewhere.
std::filesystem::path ExternalProgram(const std::filesystem::path& app_dir,
                                      const std::string& windows_name);

}  // namespace quastor
