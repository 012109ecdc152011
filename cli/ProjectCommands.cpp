// project new NAME | project open NAME | project show

#include <ostream>

#include "app/AppTexts.h"
#include "app/Projects.h"
#include "app/StartUp.h"
#include "cli/Cli.h"
#include "platform/PathText.h"

namespace quastor::cli {
namespace {

int Remember(Context& ctx) {
  const Status saved = SaveLastProject(ctx.state);
  if (!saved) {
    ctx.err << saved.error() << "\n";
    return kFailed;
  }
  return kDone;
}

int NewProject(Context& ctx, const std::string& name) {
  const NewProjectOutcome outcome = CreateNewProject(ctx.state, ctx.state.ProjectsDir, name);
  for (const auto& message : outcome.messages)
    ctx.err << message << "\n";
  if (!outcome.created) {
    // The dialog stays open without a word when the directory cannot be made; here the
    // refusal is told with the system's reason.
    if (outcome.messages.empty()) {
      ctx.err << app_texts::kNameNotValid;
      if (!outcome.reason.empty())
        ctx.err << ": " << outcome.reason;
      ctx.err << "\n";
    }
    return kFailed;
  }
  return Remember(ctx);
}

int OpenProject(Context& ctx, const std::string& name) {
  const Status opened = OpenProjectByName(ctx.state, name);
  if (!opened) {
    ctx.err << opened.error() << "\n";
    return kFailed;
  }
  return Remember(ctx);
}

}  // namespace

int ProjectCommand(Context& ctx, const Arguments& args) {
  if (args.size() == 2 && args[0] == "new")
    return NewProject(ctx, args[1]);
  if (args.size() == 2 && args[0] == "open")
    return OpenProject(ctx, args[1]);
  if (args.size() == 1 && args[0] == "show") {
    ctx.out << ctx.state.ProjectName << "\n" << Utf8FromPath(ctx.state.ProjectDir) << "\n";
    return kDone;
  }
  return Usage(ctx, "project needs: new NAME, open NAME or show");
}

}  // namespace quastor::cli
