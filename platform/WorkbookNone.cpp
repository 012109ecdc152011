// Builds without the spreadsheet libraries: every read says so.

#include "platform/PathText.h"
#include "platform/Workbook.h"

namespace quastor {
namespace {

Failure NotAvailable(const std::filesystem::path& file) {
  return Failure{"Cannot read workbook \"" + Utf8FromPath(file) +
                 "\": workbook import is not available in this build"};
}

}  // namespace

bool WorkbookSupported() {
  return false;
}

Result<std::vector<std::string>> WorkbookSheetNames(const std::filesystem::path& file) {
  return NotAvailable(file);
}

Result<std::optional<WorkbookSheet>> ReadWorkbookSheet(const std::filesystem::path& file,
                                                       const std::string&) {
  return NotAvailable(file);
}

}  // namespace quastor
