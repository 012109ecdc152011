#include "gateway/UGatewaySteps.h"

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "gateway/ConfigImage.h"
#include "gateway/GatewayTexts.h"
#include "gateway/GsdFile.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/UiServices.h"

namespace quastor {

std::optional<std::string> SaveGsdFile(QWidget* parent, const AppState& state,
                                       UiServices& services) {
  if (!state.ProjectSelected()) {
    services.messages.Plain(app_texts::kProjectNotValid);
    return std::nullopt;
  }
  const auto file = services.dialogs.SaveFileName(
      parent, state.ProjectDir, gateway_texts::kGsdFilter, gateway_texts::kGsdSuffix);
  if (!file)
    return std::nullopt;
  Result<std::string> written = WriteGsdFileSaying(state.ProjectDir, *file);
  if (!written) {
    services.messages.Error(written.error());
    return std::nullopt;
  }
  return written.value();
}

std::optional<std::string> PrepareDeviceUpdate(const AppState& state, UiServices& services) {
  // Without a project there is no bin directory for the updater to read.
  if (!state.ProjectSelected()) {
    services.messages.Plain(app_texts::kProjectNotValid);
    return std::nullopt;
  }
  const Result<ConfigImage> image = BuildConfigImage(state.ProjectDir);
  if (!image) {
    services.messages.Error(image.error());
    return std::nullopt;
  }
  if (Status written = WriteConfigImage(state.ProjectDir, *image); !written) {
    services.messages.Error(written.error());
    return std::nullopt;
  }
  return ConfigImageWrittenReport(*image);
}

}  // namespace quastor
