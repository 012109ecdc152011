// Any bytes as a workbook file (.xls, .xlsx or .ods by the first byte, which is dropped):
// listing the sheets and reading the first one fail with a message or give a sheet whose
// headings and rows all have its column count.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  static const char* const kExtensions[] = {".xls", ".xlsx", ".ods"};
  // FreeXL reads from a path, so every input goes through a file.
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("quastor-workbook-fuzz-" + std::to_string(getpid()) + kExtensions[data[0] % 3]);
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  const auto names = quastor::WorkbookSheetNames(file);
  const auto sheet =
      quastor::ReadWorkbookSheet(file, names.ok() && !names->empty() ? names->front() : "Sheet1");
  std::filesystem::remove(file);
  if (sheet.ok() && sheet->has_value()) {
    const quastor::WorkbookSheet& table = **sheet;
    if (table.headings.size() != table.columnCount)
      std::abort();
    for (const auto& row : table.rows) {
      if (row.size() != table.columnCount)
        std::abort();
    }
  }
  return 0;
}
