// Range editing in the string grid: pasting 1,500 rows × 8 cells of tab-separated text from
// the current cell, and taking the paste back (budget 50 ms each); finding a text over 3,000
// rows × 8 cells when only the last cell holds it (budget 5 ms).
//
//   QT_QPA_PLATFORM=offscreen grid_edit_bench

#include <benchmark/benchmark.h>

#include <QApplication>

#include <string>

#include "platform/GridRange.h"
#include "platform/ui/StringGrid.h"

namespace {

using namespace quastor;

constexpr int kColumns = 8;

std::string PasteText(int rows) {
  std::string text;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < kColumns; ++c)
      text += (c == 0 ? "0x" + std::to_string(0x2000 + r) : std::to_string(r * c)) +
              (c + 1 < kColumns ? "\t" : "\n");
  }
  return text;
}

// A grid as the SDO page has it: 1,500 rows of 8 columns, shown.
struct ShownGrid {
  ShownGrid() {
    grid.Setup(std::vector<GridColumn>(kColumns), 1500);
    grid.resize(600, 500);
    grid.show();
    QApplication::processEvents();
  }
  StringGrid grid;
};

void PasteRange(benchmark::State& state) {
  ShownGrid shown;
  const std::string text = PasteText(1500);
  for (auto _ : state) {
    shown.grid.setCurrentIndex(shown.grid.Model().index(0, 0));
    if (!shown.grid.PasteText(text))
      state.SkipWithError("paste refused");
    QApplication::processEvents();
    state.PauseTiming();
    shown.grid.Model().SetRows({});
    state.ResumeTiming();
  }
}

void UndoPaste(benchmark::State& state) {
  ShownGrid shown;
  UndoList undo;
  shown.grid.SetUndoList(&undo);
  const std::string text = PasteText(1500);
  for (auto _ : state) {
    state.PauseTiming();
    shown.grid.setCurrentIndex(shown.grid.Model().index(0, 0));
    shown.grid.PasteText(text);
    QApplication::processEvents();
    state.ResumeTiming();
    undo.Undo();
    QApplication::processEvents();
  }
  if (!shown.grid.Model().Cell(1499, 7).empty())
    state.SkipWithError("undo left cells");
}

void FindOverRows(benchmark::State& state) {
  TextRows rows(3000, std::vector<std::string>(kColumns, "0x2000 entry"));
  rows.back().back() = "needle";
  for (auto _ : state) {
    const auto found = FindNext(rows, CellPlace{0, 0}, "NEEDLE");
    benchmark::DoNotOptimize(found);
  }
}

}  // namespace

BENCHMARK(PasteRange)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoPaste)->Unit(benchmark::kMillisecond);
BENCHMARK(FindOverRows)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
