// .xlsx and .ods workbooks: the archive is checked, then read by the format's reader; a damaged
// archive or part ends in a failure with the reason.

#include <charconv>
#include <exception>
#include <new>
#include <stdexcept>

#include <orcus/zip_archive.hpp>

#include "platform/Text.h"
#include "platform/WorkbookReaders.h"
#include "platform/WorkbookZipCheck.h"
#include "platform/WorkbookZipReaders.h"

namespace quastor::workbook {

namespace {

// Runs read(zip) over the archive; a failure with the reason when it throws.
template <class T, class Read>
Result<T> Guarded(std::string_view bytes, Read read) {
  if (std::optional<std::string> problem = ZipProblem(bytes))
    return Failure{FormatText(kWorkbookDamaged, {*problem})};
  try {
    const ZipParts zip(bytes);
    return read(zip);
  } catch (const std::bad_alloc&) {
    return Failure{"not enough memory"};
  } catch (const orcus::zip_error& error) {
    const std::string what = error.what();
    return Failure{FormatText(kWorkbookDamaged, {what.empty() ? "damaged zip archive" : what})};
  } catch (const std::exception& error) {
    const std::string what = error.what();
    return Failure{FormatText(kWorkbookDamaged, {what.empty() ? "unknown error" : what})};
  }
}

}  // namespace

Result<std::vector<std::string>> ZipSheetNames(std::string_view bytes, ZipKind kind) {
  return Guarded<std::vector<std::string>>(bytes, [&](const ZipParts& zip) {
    std::vector<std::string> names =
        kind == ZipKind::kOds ? OdsSheetNames(zip) : XlsxSheetNames(zip);
    // A zip of something else (a text document, say) has no sheet.
    if (names.empty())
      throw std::runtime_error("no sheet");
    return names;
  });
}

Result<std::optional<WorkbookSheet>> ZipSheet(std::string_view bytes, ZipKind kind,
                                              const std::string& name) {
  return Guarded<std::optional<WorkbookSheet>>(
      bytes, [&](const ZipParts& zip) -> Result<std::optional<WorkbookSheet>> {
        std::optional<Result<WorkbookSheet>> sheet =
            kind == ZipKind::kOds ? OdsSheet(zip, name) : XlsxSheet(zip, name);
        if (!sheet) {
          if ((kind == ZipKind::kOds ? OdsSheetNames(zip) : XlsxSheetNames(zip)).empty())
            throw std::runtime_error("no sheet");
          return std::optional<WorkbookSheet>();
        }
        if (!*sheet)
          return Failure{sheet->error()};
        return std::optional<WorkbookSheet>(std::move(sheet->value()));
      });
}

void Damaged(const std::string& what) {
  throw std::runtime_error(what);
}

double ParseNumber(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto read = std::from_chars(text.data(), end, value);
  if (read.ec != std::errc() || read.ptr != end)
    Damaged("invalid number " + text);
  return value;
}

}  // namespace quastor::workbook
