// Start-up: the application object, every window in its fixed order, the event loop.

#include <QApplication>
#include <QScreen>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "app/StartUp.h"
#include "app/UAbout.h"
#include "app/UQuastoreFirmWare.h"
#include "app/Uhelp.h"
#include "app/Unewp.h"
#include "gateway/UGatewaySteps.h"
#include "gateway/Upargen.h"
#include "platform/FileDialogs.h"
#include "platform/MessageService.h"
#include "platform/QtText.h"
#include "platform/SerialPort.h"
#include "platform/Shell.h"
#include "platform/UiServices.h"
#include "update/UBootSer.h"
#include "update/UModifyFileSx.h"

int main(int argc, char* argv[]) {
  using namespace quastor;
  QApplication application(argc, argv);
  QApplication::setApplicationName(app_texts::kApplicationTitle);

  QtMessageService messages(app_texts::kApplicationTitle);
  QtShell shell;
  QtFileDialogs dialogs;
  UiServices services{messages, shell, dialogs};
  AppState state;

  // The main window first: its creation computes the paths and restores the last project.
  TFQuastoreFirmWare main_window(state, services,
                                 ApplicationDirectory(PathOf(QApplication::applicationDirPath())));
  TFsaveproj saveproj(state, services, &main_window);
  TFHelp help(state, services, &main_window);
  TFAbout about(services, &main_window);
  TFModifyFileSx modifyfilesx(state, services, &main_window);
  TFpargen pargen(state, services, &main_window);
  TFBootSer bootser(state, services, std::make_unique<QtSerialPort>(), &main_window);
  main_window.SetWindows(&saveproj, &about, &help);
  main_window.SetStepActions({
      [&] { pargen.exec(); },
      [&] { SaveGsdFile(&main_window, state, services); },
      [&] {
        if (PrepareDeviceUpdate(state, services))
          bootser.exec();
      },
  });

  main_window.move(main_window.screen()->availableGeometry().center() -
                   main_window.rect().center());
  main_window.show();
  return QApplication::exec();
}
