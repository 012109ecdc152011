#pragma once
// Services for window tests: recorded messages, a shell and file dialogs that answer as told.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"

namespace quastor::test {

class FakeShell : public Shell {
 public:
  struct Call {
    std::filesystem::path program;
    std::string parameters;
    bool waited;
  };
  bool OpenUrl(const std::string& url) override {
    urls.push_back(url);
    return true;
  }
  Status StartProgram(const std::filesystem::path& program,
                      const std::string& parameters) override {
    calls.push_back({program, parameters, false});
    return Status::Ok();
  }
  WaitResult StartAndWait(const std::filesystem::path& program, const std::string& parameters, bool,
                          std::chrono::milliseconds limit) override {
    calls.push_back({program, parameters, true});
    lastLimit = limit;
    return waitResult;
  }
  std::vector<std::string> urls;
  std::vector<Call> calls;
  WaitResult waitResult{WaitResult::Outcome::kFinished, {}};
  std::chrono::milliseconds lastLimit{0};
};

class FakeFileDialogs : public FileDialogs {
 public:
  std::optional<std::filesystem::path> ChooseDirectory(
      QWidget*, const std::string& title, const std::filesystem::path& root,
      const std::filesystem::path& start) override {
    lastTitle = title;
    lastRoot = root;
    lastStart = start;
    return Next();
  }
  std::optional<std::filesystem::path> SaveFileName(QWidget*,
                                                    const std::filesystem::path& directory,
                                                    const std::string& filter,
                                                    const std::string& suffix) override {
    lastStart = directory;
    lastFilter = filter;
    lastSuffix = suffix;
    return Next();
  }
  std::optional<std::filesystem::path> OpenFileName(QWidget*,
                                                    const std::filesystem::path& directory,
                                                    const std::string& filter,
                                                    const std::string& title = {}) override {
    lastStart = directory;
    lastFilter = filter;
    lastTitle = title;
    return Next();
  }
  // Answers in order; nothing (a cancel) once they run out.
  std::deque<std::optional<std::filesystem::path>> answers;
  std::string lastTitle, lastFilter, lastSuffix;
  std::filesystem::path lastRoot, lastStart;

 private:
  std::optional<std::filesystem::path> Next() {
    if (answers.empty())
      return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

struct FakeServices {
  MessageRecorder messages;
  FakeShell shell;
  FakeFileDialogs dialogs;
  UiServices services{messages, shell, dialogs};
};

}  // namespace quastor::test
