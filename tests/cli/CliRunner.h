#pragma once
// Runs the built quastor-cli and collects its exit code and output.
//
// The command is the launcher's words, then quastor-cli, then the arguments. The launcher is
// QUASTOR_CLI_LAUNCHER from the environment when set, else the build's (empty unless the build
// was configured with one): blank-separated words such as "valgrind -q --error-exitcode=99".
// The Windows leg builds these tests as Windows programs that Wine runs, so they start
// quastor-cli.exe directly; their launcher stays empty too.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quastor::test {

struct CliRun {
  int exitCode = -1;
  std::string out;  // line ends as "\n": Windows' CR LF of console output is turned back
  std::string err;
};

// The separator that quastor-cli puts in front of a project name: "\" on Windows, "/" elsewhere.
inline const std::string kSep(1, static_cast<char>(std::filesystem::path::preferred_separator));

// The command that RunCli starts, launcher words first.
std::vector<std::string> CliCommand();

// Runs quastor-cli with args; env entries are added to (or replace) the environment.
// QUASTOR_HOME is removed from the environment unless env sets it.
CliRun RunCli(const std::vector<std::string>& args,
              const std::map<std::string, std::string>& env = {});

// Runs quastor-cli with "--home home" in front of args.
CliRun RunCliAt(const std::filesystem::path& home, const std::vector<std::string>& args);

}  // namespace quastor::test
