#pragma once
// The application shell's own words, shared by its windows, the command-line tool and tests.

#ifndef QUASTOR_VERSION
#error "QUASTOR_VERSION comes from the build (app/CMakeLists.txt)"
#endif

namespace quastor::app_texts {

inline constexpr char kApplicationTitle[] = "Firmware Quastor";
inline constexpr char kDesignCaption[] = "Vexlar Quastor_SW4410_DNET2PROFI";
inline constexpr char kCaptionPrefix[] = "Vexlar Quastor_SW4410_DNET2PROFI :";
inline constexpr char kWebAddress[] = "www.vexlar-automation.example";
inline constexpr char kWebPage[] = "https://www.vexlar-automation.example/";

inline constexpr char kSettingsFileName[] = "Quastor_DNET2PROFI.ini";

// Files installed with the application: the help file beside MASTER's two files (the
// simulation file for the serial updater, the firmware file for the firmware generation).
inline constexpr char kSimulationFileName[] = "sim4410.sim";
inline constexpr char kFirmwareFileName[] = "sx4375.sx";
inline constexpr const char* kInstalledMasterFiles[] = {kSimulationFileName, kFirmwareFileName};
// The data directory of an installed tree, from the executables' directory.
inline constexpr char kInstalledDataDir[] = "../share/quastor";
// The folder of the user's data directory that an installed program keeps everything in.
inline constexpr char kUserDataFolder[] = "quastor";
inline constexpr char kSettingsSection[] = "lastproj";
inline constexpr char kSettingsKey[] = "projectname";
// "Unable to write to %s", followed by the system's reason.
inline constexpr char kUnableToWrite[] = "Unable to write to %s: %s";
// An installed program without a data directory of the user's: the variable that is not set.
inline constexpr char kNoUserDataDirectory[] =
    "No application directory: %s is not set, so the user's data directory is unknown. Set it, "
    "or set QUASTOR_HOME to the directory to use";

inline constexpr char kProjectNotValid[] = "Project not valid";
inline constexpr char kNotAvailableYet[] = "not available yet";

// The main window's bar and buttons.
inline constexpr char kProductLine[] = "VA4410  DeviceNet \u2194 PROFIBUS DP";
inline constexpr char kNewProject[] = "New project";
inline constexpr char kOpenProject[] = "Open project";
inline constexpr char kSetCommunication[] = "Set Communication";
inline constexpr char kGsdFile[] = "GSD File";
inline constexpr char kUpdateDevice[] = "Update Device";
inline constexpr char kAbout[] = "About";
inline constexpr char kAboutTip[] = "About this software";
inline constexpr char kHelpTip[] = "Help (F1)";
inline constexpr char kCloseTip[] = "Close";

// The menu of windows beside About, with its groups.
inline constexpr char kWindowsMenu[] = "Tools";
inline constexpr char kWindowsMenuTip[] = "Table editors and tools (Alt+T)";
inline constexpr char kWindowsMenuKey[] = "Alt+T";
inline constexpr char kTablesGroup[] = "Tables";
inline constexpr char kToolsGroup[] = "Tools";

// New project dialog.
inline constexpr char kNewProjectCaption[] = "New project";
inline constexpr char kEditXmlCaption[] = "Edit XML";
inline constexpr char kProjectNameLabel[] = "Project name";
inline constexpr char kDestinationNotValid[] = "directory destination not valid";
inline constexpr char kNameNotValid[] = "Name project not valid";
inline constexpr char kNameExists[] = "Name project not valid because directory already exists";
inline constexpr char kNameOutside[] =
    "Name project not valid because it leads outside the projects directory";

// Open project.
inline constexpr char kSelectDirectoryTitle[] = "Select directory of project";
inline constexpr char kOpenOutside[] =
    "Directory of project not valid because it is outside the projects directory %s";
inline constexpr char kNotProjectFolder[] = "%s is not a project folder";
inline constexpr char kOpenProjectCaption[] = "Open project";
inline constexpr char kProjectFilterLabel[] = "&Filter:";
inline constexpr char kProjectColumn[] = "Project";
inline constexpr char kLastChangeColumn[] = "Last change";
inline constexpr char kBrowseFolder[] = "&Browse...";
inline constexpr char kNoProjects[] = "No project under %s yet: New project makes one.";
// The main window's header: the current project, or that there is none.
inline constexpr char kProjectHeader[] = "Project: %s";
inline constexpr char kNoProjectHeader[] = "No project";
inline constexpr char kProjectMissing[] = "Project directory \"%s\" does not exist";

// About and help.
inline constexpr char kAboutCaption[] = "About...";
inline constexpr char kAboutTitle[] = "Software Quastor ";
inline constexpr char kAboutProduct[] = "Gateway DeviceNet Slave to PROIBUS Slave";
inline constexpr char kSoftwareCodeLabel[] = "Software Code : ";
inline constexpr char kSoftwareCode[] = "SW4410";
inline constexpr char kVersionLabel[] = "Version :";
// The project's version, from CMake's project() (QUASTOR_VERSION): one number for the About
// window and both executables' --version.
inline constexpr char kVersion[] = QUASTOR_VERSION;
inline constexpr char kDocumentCodeLabel[] = "Document Code :";
inline constexpr char kDocumentCode[] = "MN4410";
inline constexpr char kHelpCaption[] = "Help";
inline constexpr char kHelpUnreadable[] = "Impossible to read file Help";

}  // namespace quastor::app_texts
