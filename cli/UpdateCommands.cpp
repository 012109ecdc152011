// firmware [--port N] [--no-flash]

#include <ostream>

#include "app/AppTexts.h"
#include "cli/Cli.h"

namespace quastor::cli {

int FirmwareCommand(Context& ctx, const Arguments&) {
  ctx.err << app_texts::kNotAvailableYet << "\n";
  return kFailed;
}

}  // namespace quastor::cli
