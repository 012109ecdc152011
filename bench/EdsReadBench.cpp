// Reading an EDS file of 2,000 objects (scripts/make-eds-file.py writes it at build time),
// from the file on disk to the objects, as the object picker and quastor-cli eds do. The
// budget: under 20 ms.
//
//   eds_read_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include "devices/EdsFile.h"

namespace {

void ReadEds2000(benchmark::State& state) {
  for (auto _ : state) {
    const quastor::Result<quastor::EdsFile> file = quastor::ReadEdsFile(QUASTOR_BENCH_EDS);
    if (!file) {
      state.SkipWithError(file.error().c_str());
      break;
    }
    benchmark::DoNotOptimize(file->objects.size());
  }
}
BENCHMARK(ReadEds2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
