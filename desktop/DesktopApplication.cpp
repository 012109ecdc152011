#include "desktop/DesktopApplication.h"

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "app/UQuastoreFirmWare.h"
#include "gateway/UGatewaySteps.h"
#include "gateway/Upargen.h"
#include "platform/ui/SerialPort.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"
#include "update/UBootSer.h"
#include "update/UModifyFileSx.h"
#include "update/UpdateTexts.h"

namespace quastor {

DesktopApplication::DesktopApplication(UiServices& services, SerialPortFactory make_port,
                                       const std::filesystem::path& app_dir)
    : state_(std::make_unique<AppState>()),
      services_(services),
      makePort_(std::move(make_port)),
      main_(std::make_unique<TFQuastoreFirmWare>(*state_, services, app_dir)) {
  WireSteps();
  WireMenu();
}

DesktopApplication::~DesktopApplication() = default;

void DesktopApplication::Show() {
  main_->show();
  CenterOnScreen(main_.get());
}

void DesktopApplication::WireSteps() {
  main_->SetStepActions({
      [this] { Pargen().exec(); },
      [this] { SaveGsdFile(main_.get(), *state_, services_); },
      [this] {
        if (PrepareDeviceUpdate(*state_, services_))
          BootSer().exec();
      },
  });
}

void DesktopApplication::WireMenu() {
  main_->AddMenuWindow(app_texts::kToolsGroup, update_texts::kModifyCaption,
                       [this] { ModifyFileSx().exec(); });
}

TFpargen& DesktopApplication::Pargen() {
  if (pargen_ == nullptr)
    pargen_ = new TFpargen(*state_, services_, main_.get());
  return *pargen_;
}

TFBootSer& DesktopApplication::BootSer() {
  if (bootser_ == nullptr)
    bootser_ = new TFBootSer(*state_, services_, makePort_(), main_.get());
  return *bootser_;
}

TFModifyFileSx& DesktopApplication::ModifyFileSx() {
  if (modifyfilesx_ == nullptr)
    modifyfilesx_ = new TFModifyFileSx(*state_, services_, main_.get());
  return *modifyfilesx_;
}

}  // namespace quastor
