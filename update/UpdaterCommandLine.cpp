#include "update/UpdaterCommandLine.h"

#include "platform/PathText.h"
#include "update/UpdateTexts.h"

namespace quastor {

std::string UpdaterCommandLine(const std::string& port, const UpdateOptions& options,
                               const std::filesystem::path& master_dir,
                               const std::filesystem::path& project_dir) {
  std::string line = port;
  line += options.firmware ? " FW" : " NO";
  line += options.readFirmware ? " FR" : " NO";
  line += options.project ? " PW" : " NO";
  line += options.readProject ? " PR" : " NO";
  line +=
      " \"" + Utf8FromPath(master_dir) + kNativeSeparator + update_texts::kSimulationFile + "\"";
  line += " \"" + Utf8FromPath(project_dir) + kNativeSeparator + update_texts::kBinDirName +
          kNativeSeparator + "\"";
  return line;
}

}  // namespace quastor
