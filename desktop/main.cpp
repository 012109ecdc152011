// Start-up: the application object, the main window with its wiring, the event loop.

#include <QApplication>

#include "app/AppTexts.h"
#include "app/StartUp.h"
#include "desktop/DesktopApplication.h"
#include "platform/MemoryTuning.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/SerialPort.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"

int main(int argc, char* argv[]) {
  using namespace quastor;
  KeepFreedMemoryForReuse();
  QApplication application(argc, argv);
  QApplication::setApplicationName(app_texts::kApplicationTitle);

  QtMessageService messages(app_texts::kApplicationTitle);
  QtShell shell;
  QtFileDialogs dialogs;
  UiServices services{messages, shell, dialogs};
  DesktopApplication desktop(
      services, [] { return std::make_unique<QtSerialPort>(); },
      ApplicationDirectory(PathOf(QApplication::applicationDirPath())));
  desktop.Show();
  return QApplication::exec();
}
