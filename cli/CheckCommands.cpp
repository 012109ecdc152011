// check: every problem of the current project's files, one line each on standard output
// ("<file>: <where>: <reason>"), exit status 1; exit status 0 when there is none or only notes.
// It only reads the files.

#include <ostream>

#include "app/AppTexts.h"
#include "check/ProjectCheck.h"
#include "cli/Cli.h"

namespace quastor::cli {

int CheckCommand(Context& ctx, const Arguments& args) {
  if (!args.empty())
    return Usage(ctx, "check takes no arguments");
  if (!ctx.state.ProjectSelected()) {
    ctx.err << app_texts::kProjectNotValid << "\n";
    return kFailed;
  }
  const std::vector<CheckProblem> problems = CheckProject(ctx.state);
  for (const CheckProblem& problem : problems)
    ctx.out << ProblemLine(problem) << "\n";
  return FaultCount(problems) == 0 ? kDone : kFailed;
}

}  // namespace quastor::cli
