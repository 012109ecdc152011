// Showing the EMCY editors over full tables, through the windows the program uses: the rules
// editor with 500 rules and the word editor with 200 words (3,400 tree nodes), budget 20 ms
// each. A showing reads the file and fills the window; the time runs until the window has
// painted.
//
//   QT_QPA_PLATFORM=offscreen emcy_show_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/UQuastoreFirmWare.h"
#include "canopen/EmcyRulesFiles.h"
#include "canopen/EmcyWordFiles.h"
#include "canopen/UWemcy.h"
#include "canopen/Uemcy.h"
#include "desktop/DesktopApplication.h"
#include "platform/MemoryTuning.h"
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

// 500 rules and 200 words, half on each side, every bit filled.
void MakeProject(const fs::path& project) {
  fs::create_directories(project / "bin");
  std::string rules = "<emcydef>";
  for (int i = 0; i < 500; ++i) {
    rules += "<row id_dev=\"" + std::to_string(1 + i / 2) + "\"";
    for (const char* name :
         {"mask_eq_ec", "mask_eq_er", "mask_eq_m1", "mask_eq_m2", "mask_eq_m3", "enmask_eq_ec",
          "enmask_eq_er", "enmask_eq_m1", "enmask_eq_m2", "enmask_eq_m3"})
      rules += std::string(" ") + name + "=\"0xFF\"";
    rules += " bypass_set=\"" + std::to_string(32 * (i % 2) + 2 * (i % 9) + 1) + "\"/>";
  }
  Write(project / "emcydef.xml", rules + "</emcydef>");
  std::string words = "<emcyword>";
  for (int i = 0; i < 200; ++i) {
    words += "<row index_addrm=\"0x" + std::to_string(2000 + i) + "\" subindex=\"1\" extdata=\"" +
             std::to_string(i % 2) + "\" devid=\"" + std::to_string(1 + i % 127) + "\"";
    for (int j = 0; j < 16; ++j) {
      const std::string bit = " bit" + std::to_string(j);
      words += bit + "_b0=\"0xFF\"" + bit + "_b1=\"0x0F\"" + bit + "_poscomp=\"" +
               std::to_string(16 * (j % 8) + j / 2) + "\"";
    }
    words += "/>";
  }
  Write(project / "emcyword.xml", words + "</emcyword>");
}

struct Fixture {
  MessageRecorder messages;
  QtShell shell;
  QtFileDialogs dialogs;
  UiServices services{messages, shell, dialogs};
  QString home = QDir::tempPath() + "/quastor-emcy-bench";
  fs::path project;
  std::unique_ptr<DesktopApplication> desktop;

  Fixture() {
    QDir(home).removeRecursively();
    const fs::path dir = home.toStdString();
    project = dir / "PROJECTS" / "Plant";
    MakeProject(project);
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

void ShowRulesEditor(benchmark::State& state) {
  ShowWindow(state, &DesktopApplication::Emcy);
}
void ShowWordsEditor(benchmark::State& state) {
  ShowWindow(state, &DesktopApplication::Wemcy);
}
// The part of each showing that reads the file.
void LoadRulesFile(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(LoadEmcyRules(Shared().project / "emcydef.xml"));
}
void LoadWordsFile(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(LoadEmcyWords(Shared().project / "emcyword.xml"));
}

BENCHMARK(ShowRulesEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadRulesFile)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowWordsEditor)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadWordsFile)->Unit(benchmark::kMillisecond);

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
