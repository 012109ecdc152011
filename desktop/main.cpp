// Start-up: the application object, the main window with its wiring, the event loop.

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

#include "app/AppTexts.h"
#include "app/StartUp.h"
#include "desktop/DesktopApplication.h"
#include "platform/InPlaceBackup.h"
#include "platform/MemoryTuning.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/Logo.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/SerialPort.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"

namespace {

// A window program on Windows has no console of its own: --version and --help write to the
// console it was started from, unless the output goes to a file or pipe already.
void WriteToStartingConsole() {
#ifdef _WIN32
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN)
    return;
  if (AttachConsole(ATTACH_PARENT_PROCESS))
    (void)!std::freopen("CONOUT$", "w", stdout);
#endif
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace quastor;
  // Answered before the application object exists, so that they need no display.
  if (argc == 2 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "--help") == 0 ||
                    std::strcmp(argv[1], "-h") == 0)) {
    WriteToStartingConsole();
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("quastor %s\n", app_texts::kVersion);
    return 0;
  }
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf(
        "usage: quastor [--version]\n"
        "The application directory (MASTER, PROJECTS, settings file) is $QUASTOR_HOME;\n"
        "else, installed, the user's data directory; else the executable's directory.\n");
    return 0;
  }
  KeepFreedMemoryForReuse();
  RestoreInterruptedWrites();  // what a killed writer left half written
  QApplication application(argc, argv);
  QApplication::setApplicationName(app_texts::kApplicationTitle);
  QApplication::setApplicationVersion(app_texts::kVersion);
  // The desktop entry's name, so that the desktop shows its icon for the window.
  QGuiApplication::setDesktopFileName("quastor");
  QApplication::setWindowIcon(QIcon(MakerLogo(64)));

  QtMessageService messages(app_texts::kApplicationTitle);
  QtShell shell;
  QtFileDialogs dialogs;
  UiServices services{messages, shell, dialogs};
  const std::filesystem::path executable_dir = PathOf(QApplication::applicationDirPath());
  const Result<std::filesystem::path> app_dir = ApplicationDirectory(executable_dir);
  if (!app_dir) {
    messages.Error(app_dir.error());
    return 1;
  }
  DesktopApplication desktop(
      services, [] { return std::make_unique<SystemSerialPort>(); }, *app_dir,
      InstalledDataDirectory(executable_dir));
  desktop.Show();
  return QApplication::exec();
}
