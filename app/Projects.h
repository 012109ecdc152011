#pragma once
// Creating and opening projects: the rules behind "New project" and "Open project".

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "platform/Result.h"

namespace quastor {

struct NewProjectOutcome {
  bool created = false;
  std::vector<std::string> messages;  // shown one after the other, in order
  // Why the directory could not be made, in the system's words, when that was the refusal
  // (the dialog stays open without a word; the command-line tool tells it).
  std::string reason;
};

// Creates dest_dir/name and its bin subdirectory and makes it the current project (bare
// ProjectName, no leading separator). Refuses an empty destination or name, a name that the
// settings file could not keep (leading or trailing blanks, double quotes, matching single
// quotes), an existing directory, and a name that leads outside dest_dir (".." parts, absolute
// paths, links).
// A directory that cannot be created (missing parent of a nested name, no rights) gives no
// message and created = false. The state is changed only when the project was created.
NewProjectOutcome CreateNewProject(AppState& state, const std::filesystem::path& dest_dir,
                                   const std::string& name);

// Where the folder chooser of "Open project" starts. Empties ProjectDir first when it does not
// name an existing directory.
std::filesystem::path PrepareOpenProject(AppState& state);

// Completes "Open project" with the chooser's answer (nothing when cancelled): the chosen
// directory becomes ProjectDir, then ProjectName is derived from ProjectDir (the part after
// ProjectsDir, with a leading separator) and the file set recomputed. A directory outside
// ProjectsDir is refused with a message and handled as a cancel.
Status CompleteOpenProject(AppState& state, const std::optional<std::filesystem::path>& chosen);

// "Open project" by name (for the command-line tool): PROJECTS/name must be an existing
// directory inside ProjectsDir. A leading separator of the name is optional.
Status OpenProjectByName(AppState& state, const std::string& name);

// Whether path lies in root or below it, links resolved.
bool IsInside(const std::filesystem::path& path, const std::filesystem::path& root);

// The part of path below root with a leading separator ("" for root itself); nothing when
// path is not inside root.
std::optional<std::string> NameBelow(const std::filesystem::path& path,
                                     const std::filesystem::path& root);

}  // namespace quastor
