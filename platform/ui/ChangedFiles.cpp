#include "platform/ui/ChangedFiles.h"

#include "platform/FileStamp.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/ui/MessageService.h"

namespace quastor {

bool ConfirmOverwriteChanged(MessageService& messages, const ReadStamps& stamps) {
  for (const std::filesystem::path& file : stamps.Changed()) {
    if (!messages.Ask(FormatText(kChangedByAnotherProgram, {Utf8FromPath(file.filename())})))
      return false;
  }
  return true;
}

}  // namespace quastor
