#include "app/AppState.h"

#include "app/AppTexts.h"
#include "platform/PathText.h"

namespace quastor {

ProjectFileSet ProjectFilesIn(const std::filesystem::path& project_dir) {
  auto in_project = [&project_dir](const char* name) {
    std::filesystem::path file = project_dir;
    file += std::filesystem::path::preferred_separator;
    file += name;
    return file;
  };
  ProjectFileSet files;
  files.pargen = in_project("pargen.xml");
  files.receiveFrame = in_project("Receive_Frame.xml");
  files.receiveInfo = in_project("Receive_Info.xml");
  files.emcydef = in_project("emcydef.xml");
  files.emcyword = in_project("emcyword.xml");
  files.rpdodef = in_project("rpdodef.xml");
  files.sdo = in_project("sdo.xml");
  files.sdopdo = in_project("sdopdo.xml");
  files.sendFrame = in_project("Send_Frame.xml");
  files.sendInfo = in_project("Send_Info.xml");
  return files;
}

void AppState::SetProjectPaths() {
  ProjectFiles = ProjectFilesIn(ProjectDir);
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
