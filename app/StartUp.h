#pragma once
// Start-up of the application state and the remembered project, shared by the main window
// and the command-line tool.

#include <filesystem>
#include <string>

#include "app/AppState.h"
#include "platform/Result.h"

namespace quastor {

// The application directory: QUASTOR_HOME when set and not empty, else the executable's.
std::filesystem::path ApplicationDirectory(const std::filesystem::path& executable_dir);

// Computes the paths, creates MASTER and PROJECTS when missing (failures are not reported),
// reads the remembered project and selects it when its directory exists (else ProjectDir is
// ProjectsDir and ProjectName keeps what was read), then derives the project file set.
AppState StartUp(const std::filesystem::path& app_dir);

// The caption after start-up: the design caption, or the caption prefix and the project name
// when the remembered project was found.
std::string StartUpCaption(const AppState& state);

// The caption prefix followed by the project name.
std::string ProjectCaption(const std::string& project_name);

// Writes ProjectName to the settings file; fails with "Unable to write to <file>".
Status SaveLastProject(const AppState& state);

}  // namespace quastor
