#pragma once
// The projects under PROJECTS as "Open project" lists them, and which folders are projects.

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace quastor {

struct ProjectEntry {
  std::string name;  // the folder's name, as the file system spells it (UTF-8)
  std::filesystem::path dir;
  std::time_t lastChange;  // newest modification of the folder, its files and its bin folder
};

// The folders directly under projects_dir, by name (letter case ignored). Entries that are not
// directories, or that cannot be read, are left out; a missing projects_dir gives none.
std::vector<ProjectEntry> ListProjects(const std::filesystem::path& projects_dir);

// Whether the filter's text (letter case ignored, blanks around it too) is part of the name;
// an empty filter matches every name.
bool MatchesFilter(const std::string& name, const std::string& filter);

// Whether dir can be opened as a project: a folder directly under projects_dir, or a deeper one
// that "New project" made (it holds a bin folder). projects_dir itself and a project's bin folder
// are not projects: their steps would write project files where no project is.
bool IsProjectFolder(const std::filesystem::path& dir, const std::filesystem::path& projects_dir);

// "Last change" as the list shows it: local time, "2026-12-10 14:05".
std::string LastChangeText(std::time_t when);

}  // namespace quastor
