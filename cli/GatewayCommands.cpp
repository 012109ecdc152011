// settings show | settings set ... | image | gsd FILE

#include <ostream>

#include "app/AppTexts.h"
#include "cli/Cli.h"

namespace quastor::cli {

int SettingsCommand(Context& ctx, const Arguments&) {
  ctx.err << app_texts::kNotAvailableYet << "\n";
  return kFailed;
}

int ImageCommand(Context& ctx, const Arguments&) {
  ctx.err << app_texts::kNotAvailableYet << "\n";
  return kFailed;
}

int GsdCommand(Context& ctx, const Arguments&) {
  ctx.err << app_texts::kNotAvailableYet << "\n";
  return kFailed;
}

}  // namespace quastor::cli
