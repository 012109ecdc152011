#include "tests/support/StandIn.h"

#include <fstream>
#include <string>

namespace quastor::test {

void PlaceStandIn(const std::filesystem::path& path, long sleep_ms) {
  std::filesystem::create_directories(path.parent_path());
  std::filesystem::copy_file(QUASTOR_STAND_IN, path,
                             std::filesystem::copy_options::overwrite_existing);
  if (sleep_ms > 0)
    std::ofstream(path.parent_path() / "sleep-ms.txt") << sleep_ms;
}

std::string ProgramName(const std::string& name) {
#ifdef _WIN32
  return name + ".exe";
#else
  return name;
#endif
}

}  // namespace quastor::test
