// Opening a file of 100,000 elements (each with three attributes) in the XML tool, through
// the window the program uses: from "Open " until the tree has painted. Budget 0.5 s.
// Full Expand of the same tree is timed beside it.
//
//   QT_QPA_PLATFORM=offscreen xml_window_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTreeView>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/UQuastoreFirmWare.h"
#include "desktop/DesktopApplication.h"
#include "platform/MemoryTuning.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/SerialPort.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"
#include "tools/UXML.h"
#include "tools/UXmlTreeModel.h"

namespace {

namespace fs = std::filesystem;
using namespace quastor;

constexpr int kElements = 100000;

// Answers every open dialog with the generated file.
class GeneratedFile : public QtFileDialogs {
 public:
  explicit GeneratedFile(fs::path file) : file_(std::move(file)) {}
  std::optional<fs::path> OpenFileName(QWidget*, const fs::path&, const std::string&,
                                       const std::string&) override {
    return file_;
  }

 private:
  fs::path file_;
};

struct Fixture {
  QString home = QDir::tempPath() + "/quastor-xml-window-bench";
  fs::path file = fs::path(home.toStdString()) / "big.xml";
  MessageRecorder messages;
  QtShell shell;
  GeneratedFile dialogs{file};
  UiServices services{messages, shell, dialogs};
  std::unique_ptr<DesktopApplication> desktop;

  Fixture() {
    QDir(home).removeRecursively();
    fs::create_directories(file.parent_path());
    std::string text = "<rpdodef>\n";
    for (int i = 1; i < kElements; ++i) {
      text += "<row cobid=\"0x" + std::to_string(100 + i) + "\" id_dev_orig=\"" +
              std::to_string(i % 127) + "\" n_tpdo=\"" + std::to_string(i % 4) + "\"/>\n";
    }
    std::ofstream(file, std::ios::binary) << text << "</rpdodef>\n";
    desktop = std::make_unique<DesktopApplication>(
        services, [] { return std::make_unique<SystemSerialPort>(); },
        fs::path(home.toStdString()));
  }
  ~Fixture() { QDir(home).removeRecursively(); }
};

std::unique_ptr<Fixture> shared;

void OpenLargeFile(benchmark::State& state) {
  if (!shared)
    shared = std::make_unique<Fixture>();
  TFXML& window = shared->desktop->Xml();
  auto* tree = window.findChild<QTreeView*>("TvXml");
  window.show();
  QApplication::processEvents();
  for (auto _ : state) {
    window.btnOpenClick();
    tree->expand(window.Model().index(0, 0));
    tree->viewport()->repaint();
    QApplication::processEvents();
  }
  state.counters["items"] = window.Model().Tree().Size();
  state.counters["messages"] = static_cast<double>(shared->messages.Messages().size());
}
BENCHMARK(OpenLargeFile)->Unit(benchmark::kMillisecond);

void FullExpandLargeFile(benchmark::State& state) {
  TFXML& window = shared->desktop->Xml();
  auto* tree = window.findChild<QTreeView*>("TvXml");
  for (auto _ : state) {
    state.PauseTiming();
    tree->collapseAll();
    QApplication::processEvents();
    state.ResumeTiming();
    window.btnFullExpandClick();
    tree->viewport()->repaint();
    QApplication::processEvents();
  }
}
BENCHMARK(FullExpandLargeFile)->Unit(benchmark::kMillisecond);

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
