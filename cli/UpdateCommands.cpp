// firmware [--port N] [--no-flash]: the firmware generation dialog's run from the command
// line, then the flash programmer's start.

#include <ostream>

#include "cli/Cli.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/Text.h"
#include "update/FirmwareGeneration.h"
#include "update/UpdateTexts.h"

namespace quastor::cli {
namespace {

constexpr int kPortCount = 8;

struct FirmwareOptions {
  int port = 1;  // COM1 to COM8
  bool flash = true;
};

bool ReadPort(const std::string& text, int* port) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '0' + kPortCount)
    return false;
  *port = text[0] - '0';
  return true;
}

}  // namespace

int FirmwareCommand(Context& ctx, const Arguments& args) {
  FirmwareOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--no-flash") {
      options.flash = false;
    } else if (args[i] == "--port") {
      if (i + 1 >= args.size() || !ReadPort(args[++i], &options.port)) {
        return Usage(ctx, "firmware --port needs a port number from 1 to 8");
      }
    } else {
      return Usage(ctx, "firmware takes [--port N] [--no-flash], not \"" + args[i] + "\"");
    }
  }

  const Result<FirmwareJob> job = PrepareFirmwareJob(ctx.state);
  if (!job) {
    ctx.err << job.error() << "\n";
    return kFailed;
  }
  PipelineEvents events;
  events.message = [&ctx](const std::string& text) { ctx.err << text << "\n"; };
  const PipelineOutcome outcome = RunBankPipeline(*job, events);
  if (!outcome.complete)
    return kFailed;
  ctx.out << Utf8FromPath(job->NewFile()) << "\n";
  if (!options.flash)
    return kDone;

  const Result<ProgramStart> start = FlashWriteStart(*job, ctx.state.AppDir, options.port - 1);
  if (!start) {
    ctx.err << start.error() << "\n";
    return kFailed;
  }
  const Status started = StartDetached(start->program, start->parameters);
  if (!started) {
    ctx.err << FormatText(update_texts::kFlashWriteNotStarted, {started.error()}) << "\n";
    return kFailed;
  }
  return kDone;
}

}  // namespace quastor::cli
