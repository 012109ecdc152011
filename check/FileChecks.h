#pragma once
// The checks of each subsystem's project files, which the project check runs in turn. Each
// gives one list per file, in the project check's file order, and reads through the readers
// of the windows and steps that use the file.

#include <filesystem>
#include <vector>

#include "app/AppState.h"
#include "check/ProblemList.h"

namespace quastor {

// pargen.xml, and what "GSD File" and "Update Device" make of it.
std::vector<ProblemList> CheckGatewayFiles(const std::filesystem::path& project_dir,
                                           const ProjectFileSet& files);

// sdo.xml, rpdodef.xml, sdopdo.xml, emcydef.xml and emcyword.xml.
std::vector<ProblemList> CheckCanopenFiles(const std::filesystem::path& project_dir,
                                           const ProjectFileSet& files);

// Receive_Frame.xml, Receive_Info.xml, Send_Frame.xml and Send_Info.xml.
std::vector<ProblemList> CheckJ1939Files(const ProjectFileSet& files);

}  // namespace quastor
