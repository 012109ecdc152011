#pragma once
// The serial updater's command line: the port, four option tokens, the simulation file in
// MASTER and the project's bin directory.

#include <filesystem>
#include <string>

namespace quastor {

struct UpdateOptions {
  bool firmware = true;      // "FW", else "NO"
  bool readFirmware = true;  // "FR", else "NO"
  bool project = true;       // "PW", else "NO"
  bool readProject = true;   // "PR", else "NO"
};

// For COM3, all options, MASTER D:\App\MASTER and project D:\App\PROJECTS\Plant1:
//   COM3 FW FR PW PR "D:\App\MASTER\sim4410.sim" "D:\App\PROJECTS\Plant1\bin\"
// The bin directory ends with the separator, directly followed by the closing quote.
std::string UpdaterCommandLine(const std::string& port, const UpdateOptions& options,
                               const std::filesystem::path& master_dir,
                               const std::filesystem::path& project_dir);

}  // namespace quastor
