#pragma once
// The command-line tool's frame: the context every command gets, exit codes, the commands.

#include <iosfwd>
#include <string>
#include <vector>

#include "app/AppState.h"

namespace quastor::cli {

enum ExitCode { kDone = 0, kFailed = 1, kUsage = 2 };

struct Context {
  AppState state;
  std::ostream& out;
  std::ostream& err;
};

using Arguments = std::vector<std::string>;

// Each returns an exit code; messages go to ctx.err in the system's own words.
int ProjectCommand(Context& ctx, const Arguments& args);
int SettingsCommand(Context& ctx, const Arguments& args);
int ImageCommand(Context& ctx, const Arguments& args);
int GsdCommand(Context& ctx, const Arguments& args);
int FirmwareCommand(Context& ctx, const Arguments& args);
int ImportCommand(Context& ctx, const Arguments& args);
int ExportCommand(Context& ctx, const Arguments& args);
int XmlCommand(Context& ctx, const Arguments& args);
int CheckCommand(Context& ctx, const Arguments& args);
int EdsCommand(Context& ctx, const Arguments& args);
int DbcCommand(Context& ctx, const Arguments& args);

// Prints the usage text to ctx.err and returns kUsage.
int Usage(Context& ctx, const std::string& problem);

}  // namespace quastor::cli
