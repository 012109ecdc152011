// Any bytes as a workbook file, the reader chosen by the first byte (dropped): .xls through
// FreeXL, .xlsx or .ods through liborcus. Listing the sheets and reading the first one fail
// with a message or give a sheet whose headings and rows all have its column count.
//
// FreeXL 1.0.6 and liborcus 0.17 stop on many damaged files (a free of a pointer FreeXL never
// allocated, reads past its buffers, failed assertions in liborcus), which is why the program
// reads every workbook in a child process (platform/IsolatedCall.h). Every back end is fuzzed
// through that same path, and the property is that such a file fails the reading with the
// file's name instead of ending this process.
//
//   workbook_fuzzer fuzz/corpus/workbook

#include <pthread.h>
#include <sanitizer/common_interface_defs.h>
#include <signal.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzFiles.h"
#include "platform/Workbook.h"

namespace {

using namespace quastor;
using fuzz::Require;

// A reading child ends as the program's would: by the signal, or by the sanitizer's exit,
// without libFuzzer's handlers that would take its end for a crash of this process.
void PlainChild() {
  __sanitizer_set_death_callback(nullptr);
  for (const int signal : {SIGSEGV, SIGBUS, SIGABRT, SIGILL, SIGFPE, SIGALRM, SIGINT, SIGTERM})
    ::signal(signal, SIG_DFL);
}

void CheckSheet(const Result<std::optional<WorkbookSheet>>& sheet) {
  if (!sheet) {
    Require(!sheet.error().empty(), "a failed reading says why");
    return;
  }
  if (!sheet->has_value())
    return;
  const WorkbookSheet& table = **sheet;
  Require(table.headings.size() == table.columnCount, "the headings fill the columns");
  Require(table.columnCount <= kWorkbookMaxColumns && table.rows.size() < kWorkbookMaxRows,
          "a sheet stays within the bounds");
  for (const auto& row : table.rows)
    Require(row.size() == table.columnCount, "every row fills the columns");
}

std::string FirstName(const Result<std::vector<std::string>>& names) {
  return names && !names->empty() ? names->front() : "Sheet1";
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  ::pthread_atfork(nullptr, nullptr, PlainChild);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  static const char* const kNames[] = {"book.xls", "book.xlsx", "book.ods"};
  const auto file = fuzz::Put(kNames[data[0] % 3], bytes);
  const std::string named = "Cannot read workbook \"" + file.string() + "\": ";
  const auto names = WorkbookSheetNames(file);
  Require(names || names.error().rfind(named, 0) == 0, "a failed listing names the file");
  const auto sheet = ReadWorkbookSheet(file, FirstName(names));
  Require(sheet || sheet.error().rfind(named, 0) == 0, "a failed reading names the file");
  CheckSheet(sheet);
  return 0;
}
