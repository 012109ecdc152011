#include "app/AppState.h"

#include "app/AppTexts.h"
#include "platform/PathText.h"

namespace quastor {

void AppState::SetProjectPaths() {
  auto in_project = [this](const char* name) {
    std::filesystem::path file = ProjectDir;
    file += std::filesystem::path::preferred_separator;
    file += name;
    return file;
  };
  ProjectFiles.pargen = in_project("pargen.xml");
  ProjectFiles.receiveFrame = in_project("Receive_Frame.xml");
  ProjectFiles.receiveInfo = in_project("Receive_Info.xml");
  ProjectFiles.emcydef = in_project("emcydef.xml");
  ProjectFiles.emcyword = in_project("emcyword.xml");
  ProjectFiles.rpdodef = in_project("rpdodef.xml");
  ProjectFiles.sdopdo = in_project("sdopdo.xml");
  ProjectFiles.sendFrame = in_project("Send_Frame.xml");
  ProjectFiles.sendInfo = in_project("Send_Info.xml");
}

namespace {

// The path without "." parts and trailing separators, for comparing directories by name.
std::filesystem::path Normal(const std::filesystem::path& dir) {
  std::filesystem::path normal = dir.lexically_normal();
  if (!normal.has_filename() && normal.has_relative_path())
    normal = normal.parent_path();
  return normal;
}

}  // namespace

bool AppState::ProjectSelected() const {
  return !ProjectDir.empty() && Normal(ProjectDir) != Normal(ProjectsDir);
}

std::filesystem::path AppState::SettingsFile() const {
  return AppDir / app_texts::kSettingsFileName;
}

std::filesystem::path ProjectDirOf(const AppState& state, const std::string& project_name) {
  std::filesystem::path dir = state.ProjectsDir;
  dir += PathFromUtf8(project_name);
  return dir;
}

std::string NativeProjectName(const std::string& name) {
  std::string native = name;
#ifndef _WIN32
  for (char& c : native) {
    if (c == '\\')
      c = '/';
  }
#endif
  return native;
}

}  // namespace quastor
