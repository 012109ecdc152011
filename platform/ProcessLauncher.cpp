#include "platform/ProcessLauncher.h"

#include "platform/PathText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/types.h>
extern char** environ;
#endif

namespace quastor {

std::vector<std::string> SplitCommandLine(std::string_view parameters) {
  std::vector<std::string> arguments;
  std::string current;
  bool in_argument = false;
  bool quoted = false;
  for (const char c : parameters) {
    if (c == '"') {
      quoted = !quoted;
      in_argument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_argument)
        arguments.push_back(current);
      current.clear();
      in_argument = false;
    } else {
      current += c;
      in_argument = true;
    }
  }
  if (in_argument)
    arguments.push_back(current);
  return arguments;
}

std::filesystem::path ExternalProgram(const std::filesystem::path& app_dir,
                                      const std::string& windows_name) {
#ifdef _WIN32
  return app_dir / PathFromUtf8(windows_name);
#else
  std::string name = windows_name;
  const std::string suffix = ".exe";
  if (name.size() > suffix.size() &&
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
    name.resize(name.size() - suffix.size());
  }
  return app_dir / PathFromUtf8(name);
#endif
}

#ifdef _WIN32
Status StartDetached(const std::filesystem::path& program, const std::string& parameters) {
  const std::wstring params = PathFromUtf8(parameters).wstring();
  std::wstring command = L"\"" + program.wstring() + L"\" " + params;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    // Some texts hold the place of the program's name ("%1 is not a valid Win32 application.").
    std::string reason = WindowsErrorReason(GetLastError());
    if (const auto place = reason.find("%1"); place != std::string::npos)
      reason.replace(place, 2, Utf8FromPath(program));
    return Failure{reason};
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return Status::Ok();
}
#else
Status StartDetached(const std::filesystem::path& program, const std::string& parameters) {
  std::vector<std::string> arguments = SplitCommandLine(parameters);
  arguments.insert(arguments.begin(), program.string());
  std::vector<char*> argv;
  for (auto& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0)
    return Failure{SystemReason(error)};
  return Status::Ok();
}
#endif

}  // namespace quastor
