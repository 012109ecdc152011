// Any bytes as a legacy .xls for the adapter's own compound file and BIFF8 record reading
// (the formula results FreeXL leaves out): it must end without reading past the bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/WorkbookCompoundFile.h"
#include "platform/WorkbookXlsFormulas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)quastor::workbook::CompoundFile(bytes).Stream("Workbook");
  for (const char* sheet : {"First", "Mixed Case", "SDO"})
    (void)quastor::workbook::XlsFormulaResults(bytes, sheet);
  return 0;
}
