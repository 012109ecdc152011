// Showing the CANopen table editors over full tables, through the windows the program uses:
// the SDO access table with 1,500 entries per side (budget 10 ms), the PDO translation table
// and the stored PDO definitions (budget 5 ms each). A showing reads the file and fills the
// window; the time runs until the window has painted.
//
//   QT_QPA_PLATFORM=offscreen editor_show_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/UQuastoreFirmWare.h"
#include "canopen/SdoTable.h"
#include "canopen/UInfoPdo.h"
#include "canopen/USdo.h"
#include "canopen/Updo.h"
#include "desktop/DesktopApplication.h"
#include "platform/MemoryTuning.h"
#include "platform/XmlDocument.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/SerialPort.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"

namespace {

namespace fs = std::filesystem;
using namespace quastor;

void Write(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

std::string Hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

// Full tables: 1,500 SDO entries per side, 10 PDOs per side with 12 stored entries each.
void MakeProject(const fs::path& project) {
  fs::create_directories(project / "bin");
  std::string sdo = "<sdo>";
  for (int i = 0; i < 3000; ++i) {
    sdo += "<row conf=\"" + std::to_string((i % 2) + 16 * (i % 3 == 0)) + "\" IndexA=\"" +
           Hex(0x2000 + i) + "\" SubindexA=\"" + std::to_string(i % 8) +
           "\" devIDB=\"5\" IndexB=\"" + Hex(0x6000 + i) +
           "\" SubindexB=\"1\" nbyteB=\"2\" mnemonico=\"entry " + std::to_string(i) + "\"/>";
  }
  Write(project / "sdo.xml", sdo + "</sdo>");
  std::string pdo = "<rpdodef>";
  for (int i = 0; i < 20; ++i) {
    pdo += "<row cobid=\"" + Hex(0x181 + i) + "\" id_dev_orig=\"" + std::to_string(i) +
           "\" en_bypass=\"" + std::to_string(i % 4) + "\" posind=\"0\" n_tpdo=\"1\"/>";
  }
  Write(project / "rpdodef.xml", pdo + "</rpdodef>");
  std::string stored = "<sdopdo>";
  for (int i = 0; i < 240; ++i) {
    stored += "<row index=\"" + Hex(0x3000 + i) + "\" subindex=\"1\" nrpdo=\"" +
              std::to_string(1 + (i % 10) + 128 * (i % 2)) + "\" poscomp=\"33\"/>";
  }
  Write(project / "sdopdo.xml", stored + "</sdopdo>");
}

struct Fixture {
  MessageRecorder messages;
  QtShell shell;
  QtFileDialogs dialogs;
  UiServices services{messages, shell, dialogs};
  QString home = QDir::tempPath() + "/quastor-editor-bench";
  std::unique_ptr<DesktopApplication> desktop;

  Fixture() {
    QDir(home).removeRecursively();
    const fs::path dir = home.toStdString();
    MakeProject(dir / "PROJECTS" / "Plant");
    Write(dir / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=Plant\r\n");
    desktop = std::make_unique<DesktopApplication>(
        services, [] { return std::make_unique<SystemSerialPort>(); }, dir);
    desktop->MainWindow().show();
  }
  ~Fixture() { QDir(home).removeRecursively(); }
};

// Made at the first benchmark, gone before the application object.
std::unique_ptr<Fixture> shared;

Fixture& Shared() {
  if (!shared)
    shared = std::make_unique<Fixture>();
  return *shared;
}

template <class Window>
void ShowWindow(benchmark::State& state, Window& (DesktopApplication::*window)()) {
  Window& editor = (Shared().desktop.get()->*window)();
  for (auto _ : state) {
    editor.show();
    QApplication::processEvents();
    state.PauseTiming();
    editor.hide();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["messages"] = static_cast<double>(Shared().messages.Messages().size());
}

void ShowSdoEditor(benchmark::State& state) {
  ShowWindow(state, &DesktopApplication::Sdo);
}
void ShowPdoEditor(benchmark::State& state) {
  ShowWindow(state, &DesktopApplication::Pdo);
}
void ShowStoredPdoEditor(benchmark::State& state) {
  ShowWindow(state, &DesktopApplication::InfoPdo);
}
// The part of the SDO editor's showing that reads the file.
void LoadSdoFile(benchmark::State& state) {
  const fs::path file = fs::path(Shared().home.toStdString()) / "PROJECTS" / "Plant" / "sdo.xml";
  for (auto _ : state)
    benchmark::DoNotOptimize(LoadSdoTable(file));
}

void ParseSdoFile(benchmark::State& state) {
  const fs::path file = fs::path(Shared().home.toStdString()) / "PROJECTS" / "Plant" / "sdo.xml";
  for (auto _ : state) {
    XmlDocument document;
    benchmark::DoNotOptimize(document.Load(file));
  }
}
BENCHMARK(ParseSdoFile)->Unit(benchmark::kMillisecond);

BENCHMARK(ShowSdoEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadSdoFile)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowPdoEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowStoredPdoEditor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  KeepFreedMemoryForReuse();  // as the program does
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  shared.reset();
  return 0;
}
