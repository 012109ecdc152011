#pragma once
// An application directory for firmware generation tests: MASTER/sx4375.sx (the small
// fixture) and the project Plant1 with bank1.bin (16384 bytes) and bank2.bin (3000 bytes).

#include <filesystem>

#include "app/AppState.h"
#include "platform/PathText.h"
#include "tests/update/UpdateTestSupport.h"
#include "update/SRecordMerge.h"

namespace quastor::test {

struct FirmwareInstallation {
  TempDir dir;
  AppState state;

  FirmwareInstallation() {
    state.AppDir = dir.path();
    state.MasterDir = dir / "MASTER";
    state.ProjectsDir = dir / "PROJECTS";
    state.ProjectName = "/Plant1";
    state.ProjectDir = state.ProjectsDir / "Plant1";
    state.SetProjectPaths();
    std::filesystem::create_directories(state.MasterDir);
    std::filesystem::create_directories(state.ProjectDir / "bin");
    WriteBytes(state.MasterDir / "sx4375.sx", Fixture("sx4375.sx"));
    WriteBytes(Bin("bank1.bin"), PatternImage(kBankBytes, 1));
    WriteBytes(Bin("bank2.bin"), PatternImage(3000, 2));
  }
  std::filesystem::path Bin(const std::string& name) const {
    return state.ProjectDir / "bin" / name;
  }
  std::filesystem::path NewFile() const { return state.ProjectDir / "New_sx4375.sx"; }
  std::filesystem::path Program(const std::string& name) const {
#ifdef _WIN32
    return dir / (name + ".exe");
#else
    return dir / name;
#endif
  }

  // Files of the project directory other than bin and the new file: stage files left over.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(state.ProjectDir)) {
      const std::string name = Utf8FromPath(entry.path().filename());
      if (name != "bin" && name != "New_sx4375.sx")
        names.push_back(name);
    }
    return names;
  }
};

}  // namespace quastor::test
