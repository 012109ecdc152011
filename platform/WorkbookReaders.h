#pragma once
// Inside the workbook adapter: the readers behind platform/Workbook.h, one per library.
// Their failures carry only the reason; Workbook.cpp puts the file's name in front.
// Builds without the libraries link WorkbookNone.cpp instead, whose readers always fail.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Workbook.h"

namespace quastor::workbook {

// True when this build has the readers below.
bool ReadersAvailable();

// Legacy .xls: FreeXL reads the file itself; the bytes (the file's) are checked before it
// does and give the formula results.
Result<std::vector<std::string>> XlsSheetNames(const std::filesystem::path& file,
                                               std::string_view bytes);
Result<std::optional<WorkbookSheet>> XlsSheet(const std::filesystem::path& file,
                                              std::string_view bytes, const std::string& name);

// .xlsx and .ods from the file's bytes (WorkbookZip.cpp).
enum class ZipKind { kXlsx, kOds };
Result<std::vector<std::string>> ZipSheetNames(std::string_view bytes, ZipKind kind);
Result<std::optional<WorkbookSheet>> ZipSheet(std::string_view bytes, ZipKind kind,
                                              const std::string& name);

}  // namespace quastor::workbook
