// quastor-cli: the configurator's operations from the command line, on the same core.

#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "app/Projects.h"
#include "app/StartUp.h"
#include "cli/Cli.h"
#include "platform/Executable.h"
#include "platform/InPlaceBackup.h"
#include "platform/MemoryTuning.h"
#include "platform/PathText.h"

namespace quastor::cli {
namespace {

constexpr char kUsageText[] =
    "usage: quastor-cli [--home DIR] [--project NAME] COMMAND [ARGS]\n"
    "       quastor-cli --version | --help\n"
    "  --home DIR      application directory (MASTER, PROJECTS, settings file);\n"
    "                  default: $QUASTOR_HOME, else (installed) the user's data\n"
    "                  directory, else the executable's directory\n"
    "  --project NAME  a project under PROJECTS; default: the remembered project\n"
    "commands:\n"
    "  project new NAME | project open NAME | project show\n"
    "  settings show\n"
    "  settings set [--profi-id V] [--profi-in V] [--profi-out V] [--dnet-id V]\n"
    "               [--dnet-baud 125K|250K|500K]\n"
    "  image\n"
    "  gsd FILE\n"
    "  firmware [--port N] [--no-flash]\n"
    "  import TABLE WORKBOOK [--force] | export TABLE [--force]\n"
    "  xml FILE | check\n"
    "  eds FILE          the objects of a device's EDS file, one line each:\n"
    "                    INDEX SUB OBJECTTYPE DATATYPE SIZE ACCESS \"NAME\" [default=VALUE]\n"
    "  dbc FILE          the messages of a DBC file, one line each, and their signals\n"
    "                    below them, indented (see README-cli.txt)\n";

// Whether the command writes into the application directory (the settings file, a project,
// MASTER's copies): only then are the application directory, MASTER and PROJECTS made. A
// command that only reads, or one that is refused as unknown, leaves the disk as it was.
bool WritesIntoApplicationDirectory(const std::string& command, const Arguments& rest) {
  if (command == "project")
    return rest.size() == 2 && (rest[0] == "new" || rest[0] == "open");
  if (command == "settings")
    return !rest.empty() && rest[0] == "set";
  return command == "image" || command == "firmware" || command == "import" || command == "export";
}

// Selects the project named on the command line, as "Open project" would.
bool SelectProject(Context& ctx, const std::string& name) {
  const Status opened = OpenProjectByName(ctx.state, name);
  if (!opened)
    ctx.err << opened.error() << "\n";
  return opened.ok();
}

int Run(int argc, char** argv) {
  const Arguments args = Utf8Arguments(argc, argv);
  std::optional<std::string> home;
  std::optional<std::string> project;
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if ((arg == "--home" || arg == "--project") && i + 1 < args.size()) {
      (arg == "--home" ? home : project) = args[++i];
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsageText;
      return kDone;
    } else if (arg == "--version") {
      std::cout << "quastor-cli " << app_texts::kVersion << "\n";
      return kDone;
    } else {
      break;
    }
  }
  // Native separators throughout, so that "--home C:/Quastor" prints as Windows writes paths.
  const std::filesystem::path executable_dir = ExecutableDir(argc > 0 ? argv[0] : nullptr);
  const Result<std::filesystem::path> found_dir =
      home ? Result<std::filesystem::path>(PathFromUtf8(*home))
           : ApplicationDirectory(executable_dir);
  if (!found_dir) {
    std::cerr << found_dir.error() << "\n";
    return kFailed;
  }
  std::filesystem::path app_dir = *found_dir;
  app_dir.make_preferred();
  Context ctx{LoadAppState(app_dir, InstalledDataDirectory(executable_dir)), std::cout, std::cerr};
  if (i >= args.size())
    return Usage(ctx, "no command given");

  const std::string command = args[i];
  const Arguments rest(args.begin() + static_cast<long>(i) + 1, args.end());
  using Handler = int (*)(Context&, const Arguments&);
  static const std::map<std::string, Handler> kCommands = {{"project", ProjectCommand},
                                                           {"settings", SettingsCommand},
                                                           {"image", ImageCommand},
                                                           {"gsd", GsdCommand},
                                                           {"firmware", FirmwareCommand},
                                                           {"import", ImportCommand},
                                                           {"export", ExportCommand},
                                                           {"xml", XmlCommand},
                                                           {"check", CheckCommand},
                                                           {"eds", EdsCommand},
                                                           {"dbc", DbcCommand}};
  const auto found = kCommands.find(command);
  if (found == kCommands.end())
    return Usage(ctx, "unknown command \"" + command + "\"");
  if (project && !SelectProject(ctx, *project))
    return kFailed;
  // The installed files fill a MASTER of the user's own, whichever directory that is.
  if (WritesIntoApplicationDirectory(command, rest))
    PrepareAppDirectory(ctx.state);
  return found->second(ctx, rest);
}

}  // namespace

int Usage(Context& ctx, const std::string& problem) {
  ctx.err << "quastor-cli: " << problem << "\n" << kUsageText;
  return kUsage;
}

}  // namespace quastor::cli

int main(int argc, char** argv) {
  quastor::KeepFreedMemoryForReuse();  // a check reads each file more than once
  // What a killed writer left half written goes back; a file changed since is told about.
  std::vector<std::string> notes;
  quastor::RestoreInterruptedWrites(&notes);
  for (const std::string& note : notes)
    std::cerr << note << '\n';
  return quastor::cli::Run(argc, argv);
}
