// The serial updater's command line, for every combination of the four options.

#include <gtest/gtest.h>

#include "update/UpdaterCommandLine.h"

namespace quastor {
namespace {

TEST(UpdaterCommandLine, AllSixteenOptionCombinations) {
  // Index bits: 8 = Firmware, 4 = Read Firmware, 2 = Project, 1 = Read Project.
  const char* const tokens[16] = {
      "NO NO NO NO", "NO NO NO PR", "NO NO PW NO", "NO NO PW PR", "NO FR NO NO", "NO FR NO PR",
      "NO FR PW NO", "NO FR PW PR", "FW NO NO NO", "FW NO NO PR", "FW NO PW NO", "FW NO PW PR",
      "FW FR NO NO", "FW FR NO PR", "FW FR PW NO", "FW FR PW PR",
  };
#ifdef _WIN32
  const std::filesystem::path master = "D:\\App\\MASTER";
  const std::filesystem::path project = "D:\\App\\PROJECTS\\Plant1";
  const std::string paths = "\"D:\\App\\MASTER\\sim4410.sim\" \"D:\\App\\PROJECTS\\Plant1\\bin\\\"";
#else
  const std::filesystem::path master = "/opt/app/MASTER";
  const std::filesystem::path project = "/opt/app/PROJECTS/Plant 1";
  const std::string paths = "\"/opt/app/MASTER/sim4410.sim\" \"/opt/app/PROJECTS/Plant 1/bin/\"";
#endif
  for (int bits = 0; bits < 16; ++bits) {
    const UpdateOptions options{(bits & 8) != 0, (bits & 4) != 0, (bits & 2) != 0, (bits & 1) != 0};
    EXPECT_EQ(UpdaterCommandLine("COM3", options, master, project),
              std::string("COM3 ") + tokens[bits] + " " + paths)
        << "options " << bits;
  }
  EXPECT_EQ(UpdaterCommandLine("/dev/ttyUSB0", UpdateOptions{}, master, project),
            "/dev/ttyUSB0 FW FR PW PR " + paths);
}

}  // namespace
}  // namespace quastor
