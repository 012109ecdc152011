// Firmware file generation against srec_cat: both put two bank images (bank 1 whole, bank 2
// shorter and filled with 0xFF) into a generated S-record file of 20 MB and more, removing the
// records the banks replace. Peak memory is reported as counters (ru_maxrss of this process
// after the run, and of the srec_cat child).
//
//   firmware_bench [--benchmark_filter=...]
//
// The input is generated once per size in a temporary directory, removed at the end.

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "update/FirmwareGeneration.h"
#include "update/SRecord.h"
#include "update/SRecordMerge.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using quastor::AppState;

constexpr std::uint32_t kFirstAddress = 0x300000;
constexpr std::size_t kBank2Bytes = 10000;

fs::path WorkDir() {
  static const fs::path dir =
      fs::temp_directory_path() / ("quastor-firmware-bench-" + std::to_string(getpid()));
  return dir;
}

// An installation whose MASTER/sx4375.sx holds megabytes of S2 records of 32 bytes, written a
// record at a time.
struct Installation {
  AppState state;
  std::uint64_t sourceBytes = 0;
};

const Installation& InstallationOf(int megabytes) {
  static std::map<int, Installation> made;
  auto found = made.find(megabytes);
  if (found != made.end())
    return found->second;

  Installation installation;
  AppState& state = installation.state;
  state.AppDir = WorkDir() / std::to_string(megabytes);
  state.MasterDir = state.AppDir / "MASTER";
  state.ProjectsDir = state.AppDir / "PROJECTS";
  state.ProjectDir = state.ProjectsDir / "Bench";
  state.SetProjectPaths();
  fs::create_directories(state.MasterDir);
  fs::create_directories(state.BinDir());

  std::mt19937 random(megabytes);
  std::FILE* out = std::fopen((state.MasterDir / "sx4375.sx").c_str(), "wb");
  std::uint8_t data[32] = {'b', 'e', 'n', 'c', 'h'};
  std::string line = quastor::srec::FormatRecord('0', 0, data, 5);
  std::uint32_t address = kFirstAddress;
  const std::uint64_t target = static_cast<std::uint64_t>(megabytes) << 20;
  std::uint64_t written = 0;
  while (written < target) {
    line += "\r\n";
    std::fwrite(line.data(), 1, line.size(), out);
    written += line.size();
    for (auto& byte : data)
      byte = static_cast<std::uint8_t>(random());
    line.clear();
    quastor::srec::AppendRecord(line, '2', address, data, sizeof data);
    address += sizeof data;
  }
  line = "S9030000FC\r\n";
  std::fwrite(line.data(), 1, line.size(), out);
  std::fclose(out);
  installation.sourceBytes = fs::file_size(state.MasterDir / "sx4375.sx");

  auto write_image = [&](const char* name, std::size_t size) {
    std::vector<char> image(size);
    for (auto& byte : image)
      byte = static_cast<char>(random());
    std::FILE* file = std::fopen((state.BinDir() / name).c_str(), "wb");
    std::fwrite(image.data(), 1, image.size(), file);
    std::fclose(file);
  };
  write_image("bank1.bin", quastor::kBankBytes);
  write_image("bank2.bin", kBank2Bytes);
  return made.emplace(megabytes, installation).first->second;
}

long PeakKilobytes(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return usage.ru_maxrss;
}

void BM_QuastorTwoBanks(benchmark::State& bench) {
  const Installation& installation = InstallationOf(static_cast<int>(bench.range(0)));
  const quastor::Result<quastor::FirmwareJob> job = quastor::PrepareFirmwareJob(installation.state);
  if (!job) {
    bench.SkipWithError(job.error().c_str());
    return;
  }
  quastor::PipelineEvents events;
  std::string failure;
  events.message = [&](const std::string& text) { failure = text; };
  for (auto _ : bench) {
    if (!quastor::RunBankPipeline(*job, events).complete) {
      bench.SkipWithError(failure.c_str());
      return;
    }
  }
  bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations() * installation.sourceBytes));
  bench.counters["peak_rss_kB"] = static_cast<double>(PeakKilobytes(RUSAGE_SELF));
}

// srec_cat doing the same: the two bank ranges excluded from the file, bank 1 inserted, bank 2
// inserted and filled with 0xFF to the bank's end, written as S2 records of 32 bytes.
std::vector<std::string> SrecCatArguments(const AppState& state, const fs::path& output) {
  const std::string bin = state.BinDir().string();
  return {"srec_cat",
          (state.MasterDir / "sx4375.sx").string(),
          "-exclude",
          "0x388000",
          "0x38C000",
          "-exclude",
          "0x398000",
          "0x39C000",
          bin + "/bank1.bin",
          "-binary",
          "-offset",
          "0x388000",
          bin + "/bank2.bin",
          "-binary",
          "-offset",
          "0x398000",
          "-fill",
          "0xFF",
          "0x398000",
          "0x39C000",
          "-output",
          output.string(),
          "-address-length=3",
          "-output-block-size=32"};
}

// Runs a program to its end; its peak memory in kB, or -1 when it failed.
long RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  std::vector<std::string> copies = arguments;
  for (auto& argument : copies)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
    return -1;
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

void BM_SrecCatTwoBanks(benchmark::State& bench) {
  const Installation& installation = InstallationOf(static_cast<int>(bench.range(0)));
  const fs::path output = installation.state.ProjectDir / "srec_cat.sx";
  const std::vector<std::string> arguments = SrecCatArguments(installation.state, output);
  long peak = 0;
  for (auto _ : bench) {
    peak = RunProgram(arguments);
    if (peak < 0) {
      bench.SkipWithError("srec_cat failed (is srecord installed?)");
      return;
    }
  }
  bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations() * installation.sourceBytes));
  bench.counters["peak_rss_kB"] = static_cast<double>(peak);
}

BENCHMARK(BM_QuastorTwoBanks)->Arg(20)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SrecCatTwoBanks)->Arg(20)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  fs::remove_all(WorkDir(), ignored);
  return 0;
}
