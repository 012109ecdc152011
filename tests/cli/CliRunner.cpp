#include "tests/cli/CliRunner.h"

#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>

#include "platform/PathText.h"

#ifdef _WIN32
#include <windows.h>

#include <cwctype>
#include <thread>
#else
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace quastor::test {
namespace {

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

#ifdef _WIN32

std::wstring Wide(const std::string& utf8) {
  return PathFromUtf8(utf8).wstring();
}

// One argument as the C runtime's command-line parser reads it back: quotes around blanks
// and empty arguments, backslashes doubled only before a quote.
std::wstring Quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
    return arg;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  out += L'"';
  return out;
}

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towupper(a[i]) != std::towupper(b[i]))
      return false;
  }
  return true;
}

// The parent's environment block less QUASTOR_HOME and the names env replaces, plus env.
std::wstring EnvironmentBlock(const std::map<std::string, std::string>& env) {
  std::wstring block;
  wchar_t* strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
    const std::wstring text(entry);
    // Entries such as "=C:=C:\dir" have a name that starts with "=".
    const std::wstring name = text.substr(0, text.find(L'=', 1));
    bool dropped = SameNameIgnoringCase(name, L"QUASTOR_HOME");
    for (const auto& [replaced, value] : env)
      dropped = dropped || SameNameIgnoringCase(name, Wide(replaced));
    if (!dropped) {
      block += text;
      block += L'\0';
    }
  }
  FreeEnvironmentStringsW(strings);
  for (const auto& [name, value] : env) {
    block += Wide(name + "=" + value);
    block += L'\0';
  }
  block += L'\0';
  return block;
}

std::string ReadAll(HANDLE pipe) {
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  return bytes;
}

std::string WithoutCarriageReturns(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
      out += text[i];
  }
  return out;
}

CliRun Spawn(const std::vector<std::string>& command,
             const std::map<std::string, std::string>& env) {
  std::wstring line;
  for (const auto& word : command)
    line += (line.empty() ? L"" : L" ") + Quoted(Wide(word));
  std::wstring environment = EnvironmentBlock(env);

  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE out_read = nullptr;
  HANDLE out_write = nullptr;
  HANDLE err_read = nullptr;
  HANDLE err_write = nullptr;
  if (!CreatePipe(&out_read, &out_write, &inheritable, 0) ||
      !CreatePipe(&err_read, &err_write, &inheritable, 0)) {
    throw std::runtime_error("CreatePipe");
  }
  SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(err_read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION info{};
  const BOOL started =
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                     environment.data(), nullptr, &startup, &info);
  const DWORD start_error = GetLastError();
  CloseHandle(out_write);
  CloseHandle(err_write);
  if (!started) {
    CloseHandle(out_read);
    CloseHandle(err_read);
    throw std::runtime_error("CreateProcess: " + WindowsErrorReason(start_error));
  }

  CliRun run;
  std::thread err_reader([&run, err_read] { run.err = ReadAll(err_read); });
  run.out = ReadAll(out_read);
  err_reader.join();
  CloseHandle(out_read);
  CloseHandle(err_read);
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  run.exitCode = static_cast<int>(code);
  run.out = WithoutCarriageReturns(run.out);
  run.err = WithoutCarriageReturns(run.err);
  return run;
}

#else

CliRun Spawn(std::vector<std::string> command, const std::map<std::string, std::string>& env) {
  std::vector<char*> argv;
  for (auto& word : command)
    argv.push_back(word.data());
  argv.push_back(nullptr);

  std::vector<std::string> env_text;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    const std::string name = entry.substr(0, entry.find('='));
    if (name == "QUASTOR_HOME" || env.count(name) > 0)
      continue;
    env_text.push_back(entry);
  }
  for (const auto& [name, value] : env)
    env_text.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (auto& e : env_text)
    envp.push_back(e.data());
  envp.push_back(nullptr);

  int out_pipe[2];
  int err_pipe[2];
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0)
    throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err_pipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, out_pipe[0]);
  posix_spawn_file_actions_addclose(&actions, err_pipe[0]);
  pid_t pid = 0;
  // A launcher may be named without its directory: search PATH as a shell would.
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (spawned != 0) {
    close(out_pipe[0]);
    close(err_pipe[0]);
    throw std::runtime_error(std::string("spawn: ") + std::strerror(spawned));
  }

  CliRun run;
  pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&run.out, &run.err};
  int open_count = 2;
  while (open_count > 0) {
    if (poll(fds, 2, -1) < 0)
      break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0)
        continue;
      char buffer[4096];
      const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
      if (got > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(got));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_count;
      }
    }
  }
  int status = 0;
  waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

#endif

}  // namespace

std::vector<std::string> CliCommand() {
  const char* from_environment = std::getenv("QUASTOR_CLI_LAUNCHER");
  std::vector<std::string> command =
      Words(from_environment != nullptr ? from_environment : QUASTOR_CLI_LAUNCHER);
  command.push_back(Utf8FromPath(PathFromUtf8(QUASTOR_CLI_PATH).make_preferred()));
  return command;
}

CliRun RunCli(const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
  std::vector<std::string> command = CliCommand();
  command.insert(command.end(), args.begin(), args.end());
  return Spawn(command, env);
}

CliRun RunCliAt(const std::filesystem::path& home, const std::vector<std::string>& args) {
  std::vector<std::string> all{"--home", Utf8FromPath(home)};
  all.insert(all.end(), args.begin(), args.end());
  return RunCli(all);
}

}  // namespace quastor::test
