#pragma once
// Start-up of the application state and the remembered project, shared by the main window
// and the command-line tool.

#include <filesystem>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "platform/Result.h"

namespace quastor {

// Whether the executable runs from an installed tree: its directory has a sibling
// share/quastor (bin/quastor beside share/quastor/help2.dat, as "cmake --install" lays it out).
bool RunsInstalled(const std::filesystem::path& executable_dir);

// Where the files installed with the application lie: share/quastor of an installed tree, else
// the executable's own directory (a build tree or an unpacked zip keeps them beside it).
std::filesystem::path InstalledDataDirectory(const std::filesystem::path& executable_dir);

// The user's own data directory for the program: $XDG_DATA_HOME/quastor (an absolute value
// only), else $HOME/.local/share/quastor; on Windows %LOCALAPPDATA%\quastor. Empty when the
// environment names no such place.
std::filesystem::path UserDataDirectory();

// The application directory: QUASTOR_HOME when set and not empty; else, for an installed tree
// (whose directories the user cannot write), the user's data directory; else the executable's.
// An installed tree whose user has no data directory (HOME unset) is refused with a message:
// the executable's directory is the system's, not a place for projects.
Result<std::filesystem::path> ApplicationDirectory(const std::filesystem::path& executable_dir);

// Copies each of MASTER's installed files that state.MasterDir lacks from DataDir/MASTER, so
// that an application directory of the user's own starts with them. Anything already there
// under that name, even a broken link or a directory, is the user's and stays as it is; a copy
// that fails is not reported (the window that needs the file says it is missing). Returns the
// names of the files copied.
std::vector<std::string> FillMasterFiles(const AppState& state);

// Computes the paths, reads the remembered project and selects it when its directory exists
// (else ProjectDir is ProjectsDir and ProjectName keeps what was read), then derives the
// project file set. Changes nothing on disk. A remembered name that leads outside PROJECTS or
// holds a NUL byte (which would cut the path short) is no project: ProjectName is empty.
AppState LoadAppState(const std::filesystem::path& app_dir,
                      const std::filesystem::path& data_dir = {});

// Creates the application directory (with its parents), MASTER and PROJECTS when missing
// (failures are not reported) and fills MASTER's missing installed files from DataDir
// (FillMasterFiles; not when DataDir is empty): what a command that writes needs first.
void PrepareAppDirectory(const AppState& state);

// The window's start-up: LoadAppState and PrepareAppDirectory.
AppState StartUp(const std::filesystem::path& app_dir, const std::filesystem::path& data_dir = {});

// The caption after start-up: the design caption, or the caption prefix and the project name
// when the remembered project was found.
std::string StartUpCaption(const AppState& state);

// The caption prefix followed by the project name.
std::string ProjectCaption(const std::string& project_name);

// Writes ProjectName to the settings file; fails with "Unable to write to <file>: <reason>".
Status SaveLastProject(const AppState& state);

}  // namespace quastor
