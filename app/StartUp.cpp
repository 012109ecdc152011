#include "app/StartUp.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "app/AppTexts.h"
#include "app/Projects.h"
#include "platform/FileReading.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/SettingsFile.h"
#include "platform/Text.h"

namespace quastor {

namespace {

// A variable of the environment as a path; empty when it is not set or empty.
std::filesystem::path EnvironmentPath(const char* name) {
#ifdef _WIN32
  // The narrow environment is in the ANSI code page, which cannot hold every directory name.
  const std::wstring wide(name, name + std::char_traits<char>::length(name));
  if (const wchar_t* value = _wgetenv(wide.c_str()); value != nullptr && *value != L'\0')
    return std::filesystem::path(value);
#else
  if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
    return PathFromUtf8(value);
#endif
  return {};
}

}  // namespace

bool RunsInstalled(const std::filesystem::path& executable_dir) {
  std::error_code ec;
  return std::filesystem::is_directory(executable_dir / app_texts::kInstalledDataDir, ec);
}

std::filesystem::path InstalledDataDirectory(const std::filesystem::path& executable_dir) {
  if (RunsInstalled(executable_dir))
    return (executable_dir / app_texts::kInstalledDataDir).lexically_normal();
  return executable_dir;
}

std::filesystem::path UserDataDirectory() {
#ifdef _WIN32
  const std::filesystem::path base = EnvironmentPath("LOCALAPPDATA");
  return base.empty() ? base : base / app_texts::kUserDataFolder;
#else
  // XDG: a relative XDG_DATA_HOME is invalid and is ignored.
  const std::filesystem::path xdg = EnvironmentPath("XDG_DATA_HOME");
  if (xdg.is_absolute())
    return xdg / app_texts::kUserDataFolder;
  const std::filesystem::path home = EnvironmentPath("HOME");
  if (home.empty())
    return {};
  return home / ".local" / "share" / app_texts::kUserDataFolder;
#endif
}

Result<std::filesystem::path> ApplicationDirectory(const std::filesystem::path& executable_dir) {
  if (std::filesystem::path home = EnvironmentPath("QUASTOR_HOME"); !home.empty())
    return home;
  if (RunsInstalled(executable_dir)) {
    if (std::filesystem::path user = UserDataDirectory(); !user.empty())
      return user;
#ifdef _WIN32
    return Failure{FormatText(app_texts::kNoUserDataDirectory, {"LOCALAPPDATA"})};
#else
    return Failure{FormatText(app_texts::kNoUserDataDirectory, {"HOME"})};
#endif
  }
  return executable_dir;
}

std::vector<std::string> FillMasterFiles(const AppState& state) {
  std::vector<std::string> copied;
  if (state.DataDir.empty())
    return copied;
  for (const char* name : app_texts::kInstalledMasterFiles) {
    const std::filesystem::path target = state.MasterDir / name;
    const std::filesystem::path source = state.DataDir / "MASTER" / name;
    std::error_code ec;
    // symlink_status: a link, even a broken one, is something the user put there.
    // An error other than "not found" counts as something there, too.
    if (std::filesystem::symlink_status(target, ec).type() !=
        std::filesystem::file_type::not_found) {
      continue;
    }
    const Result<std::string> bytes = ReadWholeFile(source);
    if (!bytes)
      continue;
    // Whole or not at all: a half-copied file would count as the user's at the next start.
    if (WriteFileAtomic(target, *bytes).ok())
      copied.emplace_back(name);
  }
  return copied;
}

void PrepareAppDirectory(const AppState& state) {
  std::error_code ignored;
  // A directory named for the first time (QUASTOR_HOME, --home, the user's data directory of a
  // fresh account) is made with its parents.
  std::filesystem::create_directories(state.AppDir, ignored);
  std::filesystem::create_directory(state.MasterDir, ignored);
  std::filesystem::create_directory(state.ProjectsDir, ignored);
  FillMasterFiles(state);
}

AppState LoadAppState(const std::filesystem::path& app_dir, const std::filesystem::path& data_dir) {
  AppState state;
  state.AppDir = app_dir;
  state.DataDir = data_dir;
  state.MasterDir = app_dir / "MASTER";
  state.ProjectsDir = app_dir / "PROJECTS";

  std::string name = ReadProfileString(state.SettingsFile(), app_texts::kSettingsSection,
                                       app_texts::kSettingsKey, "");
  // The system's calls end a path at a NUL byte: "P\0junk" would name PROJECTS/P for one step
  // and PROJECTS itself for another.
  if (name.find('\0') != std::string::npos)
    name.clear();
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
  std::error_code ignored;
  if (!name.empty() && std::filesystem::is_directory(remembered, ignored)) {
    state.ProjectDir = remembered;
  } else {
    state.ProjectDir = state.ProjectsDir;
  }
  state.SetProjectPaths();
  return state;
}

AppState StartUp(const std::filesystem::path& app_dir, const std::filesystem::path& data_dir) {
  // Making PROJECTS cannot make a remembered project's directory appear, so the order of the
  // two does not change the project selected.
  AppState state = LoadAppState(app_dir, data_dir);
  PrepareAppDirectory(state);
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
    return Failure{FormatText(app_texts::kUnableToWrite,
                              {Utf8FromPath(state.SettingsFile()), written.error()})};
  }
  return Status::Ok();
}

}  // namespace quastor
