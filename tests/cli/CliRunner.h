#pragma once
// Runs the built quastor-cli and collects its exit code and output.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quastor::test {

struct CliRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs quastor-cli with args; env entries are added to (or replace) the environment.
// QUASTOR_HOME is removed from the environment unless env sets it.
CliRun RunCli(const std::vector<std::string>& args,
              const std::map<std::string, std::string>& env = {});

// Runs quastor-cli with "--home home" in front of args.
CliRun RunCliAt(const std::filesystem::path& home, const std::vector<std::string>& args);

}  // namespace quastor::test
