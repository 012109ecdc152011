// Reading each kind of table file through `quastor-cli check`, a fresh process per run as a
// user starts it: the five CANopen tables, the two frame lists and the two info files, each at
// about 5 MB and 50 MB of rows. A reader that walked to each row from the first would take a
// hundred times as long for ten times the rows; the budget is 2 s at 50 MB and at most 12
// times the 5 MB figure.
//
//   check_bench [--benchmark_filter=...]
//
// The projects are generated once per kind and size in a temporary directory, removed at the
// end.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr char kPargen[] =
    "<Par_Gen><PROFI_ID>20</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>20</PROFI_NB_IN>"
    "<PROFI_NB_OUT>20</PROFI_NB_OUT><DNET_DEV_ID>10</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD>"
    "</Par_Gen>";
constexpr char kRpdodef[] =
    "<rpdodef><row cobid=\"0x181\" id_dev_orig=\"1\" en_bypass=\"0\" posind=\"0\" "
    "n_tpdo=\"1\"/></rpdodef>";

fs::path WorkDir() {
  static const fs::path dir =
      fs::temp_directory_path() / ("quastor-check-bench-" + std::to_string(getpid()));
  return dir;
}

std::string Hex(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

std::string EmcyWordRow(int i) {
  std::string row = "<row index_addrm=\"" + Hex(0x2000 + i % 0x1000) +
                    "\" subindex=\"1\" extdata=\"0\" devid=\"5\"";
  for (int bit = 0; bit < 16; ++bit) {
    const std::string b = "bit" + std::to_string(bit);
    row += " " + b + "_b0=\"0\" " + b + "_b1=\"0\" " + b + "_poscomp=\"\"";
  }
  return row + "/>";
}

std::string EmcyRuleRow(int i) {
  std::string row = "<row id_dev=\"" + std::to_string(i % 128) + "\"";
  for (const char* mask : {"mask_eq_", "enmask_eq_"}) {
    for (const char* part : {"ec", "er", "m1", "m2", "m3"})
      row += std::string(" ") + mask + part + "=\"0\"";
  }
  return row + " bypass_set=\"3\"/>";
}

std::string ReceiveFrameRow(int i) {
  return "<row DataPage=\"0\" PGN=\"" + Hex(0xFE00 + i % 0x100) + "\" SA=\"" +
         std::to_string(i % 256) + "\" Delete=\"N\" Mnemonic=\"frame " + std::to_string(i) +
         "\" Dim=\"8\"/>";
}

std::string SendFrameRow(int i) {
  return "<row Priority=\"3\" DataPage=\"0\" PGN=\"" + Hex(0xFE00 + i % 0x100) + "\" SA=\"" +
         std::to_string(i % 256) + "\" Mnemonic=\"frame " + std::to_string(i) + "\" Dim=\"8\"/>";
}

std::string InfoRow(int) {
  return "<row B1=\"255\" B2=\"255\" B3=\"255\" B4=\"255\" B5=\"255\" B6=\"255\" B7=\"255\" "
         "B8=\"255\"/>";
}

// A kind of table file: its name, root and rows; an info file comes with its frame list of as
// many rows, and the stored PDO definitions with the PDO table they name.
struct Kind {
  const char* file;
  const char* root;
  std::function<std::string(int)> row;
  const char* frameList;  // none: nullptr
  std::function<std::string(int)> frameRow;
};

const std::map<std::string, Kind>& Kinds() {
  static const std::map<std::string, Kind> kinds = {
      {"sdo",
       {"sdo.xml", "sdo",
        [](int i) {
          return "<row conf=\"" + std::to_string(i % 2) + "\" IndexA=\"" +
                 Hex(0x2000 + i % 0x1000) + "\" SubindexA=\"" + std::to_string(i % 8) +
                 "\" devIDB=\"5\" IndexB=\"" + Hex(0x3000 + i % 0x1000) +
                 "\" SubindexB=\"2\" nbyteB=\"2\" mnemonico=\"entry " + std::to_string(i) + "\"/>";
        },
        nullptr, nullptr}},
      {"rpdodef",
       {"rpdodef.xml", "rpdodef",
        [](int i) {
          return "<row cobid=\"" + Hex(0x181 + i % 0x7F) + "\" id_dev_orig=\"" +
                 std::to_string(i % 128) + "\" en_bypass=\"" + std::to_string(i % 4) +
                 "\" posind=\"0\" n_tpdo=\"1\"/>";
        },
        nullptr, nullptr}},
      {"sdopdo",
       {"sdopdo.xml", "sdopdo",
        [](int i) {
          return "<row index=\"" + Hex(0x2000 + i % 0x1000) + "\" subindex=\"1\" nrpdo=\"1\" " +
                 "poscomp=\"" + std::to_string(33 + i % 8) + "\"/>";
        },
        nullptr, nullptr}},
      {"emcydef", {"emcydef.xml", "emcydef", EmcyRuleRow, nullptr, nullptr}},
      {"emcyword", {"emcyword.xml", "emcyword", EmcyWordRow, nullptr, nullptr}},
      {"Receive_Frame", {"Receive_Frame.xml", "Receive_Frames", ReceiveFrameRow, nullptr, nullptr}},
      {"Send_Frame", {"Send_Frame.xml", "Receive_Frames", SendFrameRow, nullptr, nullptr}},
      {"Receive_Info",
       {"Receive_Info.xml", "Receive_Frames_Info", InfoRow, "Receive_Frame.xml", ReceiveFrameRow}},
      {"Send_Info", {"Send_Info.xml", "Send_Frames_Info", InfoRow, "Send_Frame.xml", SendFrameRow}},
  };
  return kinds;
}

void Write(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// A file of rows of about megabytes; the number of rows it holds.
int WriteTable(const fs::path& file, const char* root, const std::function<std::string(int)>& row,
               int megabytes, int rows = -1) {
  const std::size_t target = static_cast<std::size_t>(megabytes) << 20;
  std::string text = std::string("<") + root + ">";
  text.reserve(target + 4096);
  int count = 0;
  while (rows < 0 ? text.size() < target : count < rows)
    text += row(count++);
  Write(file, text + "</" + root + ">");
  return count;
}

struct Project {
  fs::path home;             // the application directory; its remembered project is Plant
  std::uintmax_t bytes = 0;  // the benchmarked file's size
  int rows = 0;
};

const Project& ProjectOf(const std::string& name, int megabytes) {
  static std::map<std::pair<std::string, int>, Project> made;
  const auto key = std::make_pair(name, megabytes);
  if (auto found = made.find(key); found != made.end())
    return found->second;
  const Kind& kind = Kinds().at(name);
  Project project;
  project.home = WorkDir() / (name + "-" + std::to_string(megabytes));
  const fs::path dir = project.home / "PROJECTS" / "Plant";
  fs::create_directories(dir / "bin");
  Write(project.home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=/Plant\r\n");
  Write(dir / "pargen.xml", kPargen);
  if (name == "sdopdo")
    Write(dir / "rpdodef.xml", kRpdodef);
  const fs::path file = dir / kind.file;
  project.rows = WriteTable(file, kind.root, kind.row, megabytes);
  if (kind.frameList != nullptr)
    WriteTable(dir / kind.frameList, "Receive_Frames", kind.frameRow, megabytes, project.rows);
  project.bytes = fs::file_size(file);
  return made.emplace(key, std::move(project)).first->second;
}

// Runs quastor-cli --home home check, its output thrown away; its exit status, or -1 when it
// did not end normally.
int RunCheck(const fs::path& home) {
  std::string program = QUASTOR_CLI;
  std::string home_text = home.string();
  std::string home_option = "--home";
  std::string command = "check";
  char* argv[] = {program.data(), home_option.data(), home_text.data(), command.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0)
    return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void CheckTable(benchmark::State& bench, const std::string& name) {
  const Project& project = ProjectOf(name, static_cast<int>(bench.range(0)));
  for (auto _ : bench) {
    // 0: no problem, 1: problems listed; anything else is a failure of the run.
    if (const int status = RunCheck(project.home); status != 0 && status != 1) {
      bench.SkipWithError("quastor-cli check failed");
      return;
    }
  }
  bench.counters["rows"] = project.rows;
  bench.counters["MB"] = static_cast<double>(project.bytes) / (1 << 20);
}

void Register() {
  for (const auto& [name, kind] : Kinds()) {
    benchmark::RegisterBenchmark(("CheckTable/" + name).c_str(), CheckTable, name)
        ->Arg(5)
        ->Arg(50)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

}  // namespace

int main(int argc, char** argv) {
  Register();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  std::error_code ignored;
  fs::remove_all(WorkDir(), ignored);
  return 0;
}
