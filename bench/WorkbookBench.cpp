// Importing one table of 3,000 records by 8 columns (bench/data/rows3000.*, written by
// scripts/make-workbook-fixtures.pl) from .xls and from .xlsx, and listing the sheets. The
// table editors need an import well under 100 ms. And 100,000 records of an .xlsx whose texts
// are inline strings (bench/data/inline100000.xlsx, as Excel::Writer::XLSX streams them): the
// read must give all 8 columns.
//
//   workbook_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/Workbook.h"

namespace {

std::filesystem::path BenchFile(const char* name) {
  return std::filesystem::path(QUASTOR_BENCH_DATA) / name;
}

void ReadSheet(benchmark::State& state, const char* name) {
  const auto file = BenchFile(name);
  std::size_t cells = 0;
  for (auto _ : state) {
    auto sheet = quastor::ReadWorkbookSheet(file, "SDO");
    if (!sheet.ok() || !sheet->has_value()) {
      state.SkipWithError(sheet.ok() ? "no sheet SDO" : sheet.error().c_str());
      return;
    }
    if ((*sheet)->columnCount != 8) {
      state.SkipWithError("the sheet lost columns");
      return;
    }
    cells = (*sheet)->rows.size() * (*sheet)->columnCount;
    benchmark::DoNotOptimize(sheet);
  }
  state.counters["cells"] = static_cast<double>(cells);
}

void SheetNames(benchmark::State& state, const char* name) {
  const auto file = BenchFile(name);
  for (auto _ : state) {
    auto names = quastor::WorkbookSheetNames(file);
    if (!names.ok()) {
      state.SkipWithError(names.error().c_str());
      return;
    }
    benchmark::DoNotOptimize(names);
  }
}

BENCHMARK_CAPTURE(ReadSheet, xls, "rows3000.xls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadSheet, xlsx, "rows3000.xlsx")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadSheet, xlsx_inline_100000, "inline100000.xlsx")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(SheetNames, xls, "rows3000.xls")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SheetNames, xlsx, "rows3000.xlsx")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
