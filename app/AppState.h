#pragma once
// The process-wide state: application paths, the current project and its file set.

#include <filesystem>
#include <string>

namespace quastor {

// Selects the help file (help2.dat) and the two-bank layout of the firmware generation.
inline constexpr int ProductVariant = 2;

// Full paths of the project's files, derived from ProjectDir by SetProjectPaths.
struct ProjectFileSet {
  std::filesystem::path pargen;        // pargen.xml
  std::filesystem::path receiveFrame;  // Receive_Frame.xml
  std::filesystem::path receiveInfo;   // Receive_Info.xml
  std::filesystem::path emcydef;       // emcydef.xml
  std::filesystem::path emcyword;      // emcyword.xml
  std::filesystem::path rpdodef;       // rpdodef.xml
  std::filesystem::path sdo;           // sdo.xml
  std::filesystem::path sdopdo;        // sdopdo.xml
  std::filesystem::path sendFrame;     // Send_Frame.xml
  std::filesystem::path sendInfo;      // Send_Info.xml
};

// The file set of the project in project_dir: each name after project_dir and a separator.
ProjectFileSet ProjectFilesIn(const std::filesystem::path& project_dir);

struct AppState {
  std::filesystem::path AppDir;
  // Where the files installed with the application lie (help file, the originals of MASTER's
  // files); may be AppDir itself, or empty when there is no installation to draw on.
  std::filesystem::path DataDir;
  std::filesystem::path MasterDir;    // AppDir/MASTER: files installed with the application
  std::filesystem::path ProjectsDir;  // AppDir/PROJECTS: parent of every project
  // Name of the current project: with a leading separator after start-up and "Open project"
  // (for PROJECTS/Plant1 it is "/Plant1"), the bare name after "New project". May be empty.
  std::string ProjectName;
  // Directory of the current project; empty means that no valid project is selected.
  std::filesystem::path ProjectDir;
  ProjectFileSet ProjectFiles;

  // Recomputes ProjectFiles from ProjectDir; does not look at the disk.
  void SetProjectPaths();
  // Whether a project is selected: ProjectDir names a directory below ProjectsDir. Neither an
  // empty ProjectDir nor ProjectsDir itself (where start-up stands without a remembered
  // project) is a project, so no step writes into PROJECTS.
  bool ProjectSelected() const;
  std::filesystem::path SettingsFile() const;
  std::filesystem::path BinDir() const { return ProjectDir / "bin"; }
};

// ProjectsDir followed by ProjectName, as text: the project directory of a name.
std::filesystem::path ProjectDirOf(const AppState& state, const std::string& project_name);

// A remembered or typed project name with separators of this system ("\" and "/" both count
// as separators except on Windows, where "/" already does).
std::string NativeProjectName(const std::string& name);

}  // namespace quastor
