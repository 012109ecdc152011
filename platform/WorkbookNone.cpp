// The workbook readers of a build without FreeXL and liborcus: none is available, every read
// fails with kWorkbookNotAvailable.

#include "platform/WorkbookReaders.h"

namespace quastor::workbook {

bool ReadersAvailable() {
  return false;
}

Result<std::vector<std::string>> XlsSheetNames(const std::filesystem::path&, std::string_view) {
  return Failure{kWorkbookNotAvailable};
}

Result<std::optional<WorkbookSheet>> XlsSheet(const std::filesystem::path&, std::string_view,
                                              const std::string&) {
  return Failure{kWorkbookNotAvailable};
}

Result<std::vector<std::string>> ZipSheetNames(std::string_view, ZipKind) {
  return Failure{kWorkbookNotAvailable};
}

Result<std::optional<WorkbookSheet>> ZipSheet(std::string_view, ZipKind, const std::string&) {
  return Failure{kWorkbookNotAvailable};
}

}  // namespace quastor::workbook
