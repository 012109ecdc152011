#include "canopen/UTableActions.h"

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "platform/ui/ChangedFiles.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/UiServices.h"

namespace quastor {

bool ConfirmAndSave(UiServices& services, const ReadStamps& stamps, LoadReport& gaps,
                    const std::string& file_name, const std::function<Status()>& save) {
  if (!ConfirmOverwriteChanged(services.messages, stamps))
    return false;
  if (!gaps.Complete() &&
      !services.messages.Ask(OverwriteQuestion(gaps, canopen_texts::kOverwriteQuestion, file_name)))
    return false;
  if (!ShowFailure(services, save()))
    return false;
  gaps = LoadReport{};
  return true;
}

std::optional<std::filesystem::path> ChooseWorkbook(QWidget* parent, UiServices& services,
                                                    const AppState& state) {
  return services.dialogs.OpenFileName(parent, state.ProjectDir, canopen_texts::kWorkbookFilter);
}

bool ShowFailure(UiServices& services, const Status& status) {
  if (!status)
    services.messages.Error(status.error());
  return status.ok();
}

}  // namespace quastor
