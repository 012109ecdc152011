#include "app/StartUp.h"

#include <cstdlib>
#include <system_error>

#include "app/AppTexts.h"
#include "app/Projects.h"
#include "platform/PathText.h"
#include "platform/SettingsFile.h"
#include "platform/Text.h"

namespace quastor {

std::filesystem::path ApplicationDirectory(const std::filesystem::path& executable_dir) {
#ifdef _WIN32
  // The narrow environment is in the ANSI code page, which cannot hold every directory name.
  if (const wchar_t* home = _wgetenv(L"QUASTOR_HOME"); home != nullptr && *home != L'\0') {
    return std::filesystem::path(home);
  }
#else
  if (const char* home = std::getenv("QUASTOR_HOME"); home != nullptr && *home != '\0') {
    return PathFromUtf8(home);
  }
#endif
  return executable_dir;
}

AppState StartUp(const std::filesystem::path& app_dir) {
  AppState state;
  state.AppDir = app_dir;
  state.MasterDir = app_dir / "MASTER";
  state.ProjectsDir = app_dir / "PROJECTS";
  std::error_code ignored;
  std::filesystem::create_directory(state.MasterDir, ignored);
  std::filesystem::create_directory(state.ProjectsDir, ignored);

  std::string name = ReadProfileString(state.SettingsFile(), app_texts::kSettingsSection,
                                       app_texts::kSettingsKey, "");
  if (!name.empty()) {
    name = NativeProjectName(name);
    if (name.front() != kNativeSeparator && name.front() != '/' && name.front() != '\\') {
      name.insert(name.begin(), kNativeSeparator);
    } else {
      name.front() = kNativeSeparator;
    }
  }
  const std::filesystem::path remembered = ProjectDirOf(state, name);
  // A remembered name that leads outside PROJECTS ("..", "../MASTER") counts as none, as
  // "Open project" would refuse it: no step may write into the application directory.
  if (!name.empty()) {
    const auto below = NameBelow(remembered, state.ProjectsDir);
    if (!below || below->empty())
      name.clear();
  }
  state.ProjectName = name;
  if (!name.empty() && std::filesystem::is_directory(remembered, ignored)) {
    state.ProjectDir = remembered;
  } else {
    state.ProjectDir = state.ProjectsDir;
  }
  state.SetProjectPaths();
  return state;
}

std::string StartUpCaption(const AppState& state) {
  if (state.ProjectName.empty() || state.ProjectDir != ProjectDirOf(state, state.ProjectName)) {
    return app_texts::kDesignCaption;
  }
  return ProjectCaption(state.ProjectName);
}

std::string ProjectCaption(const std::string& project_name) {
  return app_texts::kCaptionPrefix + project_name;
}

Status SaveLastProject(const AppState& state) {
  const Status written = WriteProfileString(state.SettingsFile(), app_texts::kSettingsSection,
                                            app_texts::kSettingsKey, state.ProjectName);
  if (!written) {
    return Failure{FormatText(app_texts::kUnableToWrite, {Utf8FromPath(state.SettingsFile())})};
  }
  return Status::Ok();
}

}  // namespace quastor
