// Writing a CANopen table file in key order: 100,000 PDO-table-like records (50,000 per side,
// cobids in every notation, repeated, with bit 31 set and above 0x999999) ordered by cobid
// and saved to a temporary file, as OK of the PDO translation table does; and the key order
// alone. The budget of the write is 0.3 s.
//
//   table_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "canopen/KeyOrder.h"
#include "canopen/PdoTable.h"

namespace {

namespace fs = std::filesystem;
using quastor::SideGrids;

constexpr std::size_t kRecords = 100000;

std::string CobidText(std::mt19937& random) {
  const std::uint32_t value = random() % 4 == 0 ? random() : random() % 0x800;
  char text[16];
  switch (random() % 3) {
    case 0:
      std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
      break;
    case 1:
      std::snprintf(text, sizeof text, "$%x", static_cast<unsigned>(value));
      break;
    default:
      std::snprintf(text, sizeof text, "%d", static_cast<int>(value & 0x7FFFFFFF));
  }
  return text;
}

const SideGrids& Grids() {
  static const SideGrids grids = [] {
    std::mt19937 random(4410);
    SideGrids made;
    for (std::size_t i = 0; i < kRecords; ++i) {
      (i % 2 == 0 ? made.a : made.b)
          .push_back({CobidText(random), std::to_string(i % 127), i % 3 == 0 ? "1" : "0",
                      std::to_string(i % 8), std::to_string(1 + i % 4)});
    }
    return made;
  }();
  return grids;
}

void WritePdoTableInKeyOrder(benchmark::State& state) {
  const SideGrids& grids = Grids();
  const fs::path file =
      fs::temp_directory_path() / ("quastor-table-bench-" + std::to_string(getpid()) + ".xml");
  for (auto _ : state) {
    const quastor::Status saved = quastor::SavePdoTable(file, grids);
    if (!saved) {
      state.SkipWithError(saved.error().c_str());
      break;
    }
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(file));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRecords));
  fs::remove(file);
}
BENCHMARK(WritePdoTableInKeyOrder)->Unit(benchmark::kMillisecond);

void KeyOrderOnly(benchmark::State& state) {
  std::vector<std::string> keys;
  for (const auto& row : Grids().a)
    keys.push_back(row[0]);
  for (const auto& row : Grids().b)
    keys.push_back(row[0]);
  for (auto _ : state)
    benchmark::DoNotOptimize(quastor::KeyOrder(keys));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(keys.size()));
}
BENCHMARK(KeyOrderOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
