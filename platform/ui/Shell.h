#pragma once
// The desktop shell: open a web page, start a program, start a program and wait for it.
// Parameters are one text as on the Windows command line; elsewhere they are split into
// arguments by SplitCommandLine.

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/Result.h"

namespace quastor {

struct WaitResult {
  // kAbandoned: the application is quitting while the program still runs.
  enum class Outcome { kFinished, kNotStarted, kTimedOut, kAbandoned };
  Outcome outcome = Outcome::kNotStarted;
  std::string reason;  // why the program could not be started
};

class Shell {
 public:
  virtual ~Shell() = default;
  virtual bool OpenUrl(const std::string& url) = 0;
  // Starts the program and does not wait. The failure message is the system's reason.
  virtual Status StartProgram(const std::filesystem::path& program,
                              const std::string& parameters) = 0;
  // Starts the program and waits until it ends or the limit passes, measured on a monotonic
  // clock so that the wait never ends early; the program is left running after a time-out.
  // Windows keep painting and input is delivered meanwhile: the caller disables its window
  // (QuastorDialog::Busy) so that clicks are dropped rather than acted on.
  virtual WaitResult StartAndWait(const std::filesystem::path& program,
                                  const std::string& parameters, bool hidden,
                                  std::chrono::milliseconds limit) = 0;
};

class QtShell : public Shell {
 public:
  bool OpenUrl(const std::string& url) override;
  Status StartProgram(const std::filesystem::path& program, const std::string& parameters) override;
  WaitResult StartAndWait(const std::filesystem::path& program, const std::string& parameters,
                          bool hidden, std::chrono::milliseconds limit) override;
};

}  // namespace quastor
