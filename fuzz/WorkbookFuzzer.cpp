// Any bytes as a workbook file, the reader chosen by the first byte (dropped): .xls through
// FreeXL, .xlsx or .ods through liborcus. The readers run here in the fuzzing process, not in
// the child process that ReadWorkbookSheet gives them, so that their coverage guides the
// fuzzing and a fault stops it. Listing the sheets and reading the first one fail with a
// message or give a sheet whose headings and rows all have its column count.
//
//   workbook_fuzzer fuzz/corpus/workbook

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzFiles.h"
#include "platform/Workbook.h"
#include "platform/WorkbookReaders.h"

namespace {

using namespace quastor;
using fuzz::Require;

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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0: {
      // FreeXL reads from a path.
      const auto file = fuzz::Put("book.xls", bytes);
      const auto names = workbook::XlsSheetNames(file, bytes);
      CheckSheet(workbook::XlsSheet(file, bytes, FirstName(names)));
      break;
    }
    default: {
      const auto kind = data[0] % 3 == 1 ? workbook::ZipKind::kXlsx : workbook::ZipKind::kOds;
      const auto names = workbook::ZipSheetNames(bytes, kind);
      CheckSheet(workbook::ZipSheet(bytes, kind, FirstName(names)));
    }
  }
  return 0;
}
