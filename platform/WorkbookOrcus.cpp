// .xlsx and .ods workbooks through liborcus' import filters, fed from the file's bytes into
// the adapter's own import factory. liborcus reports damaged files by exceptions; they end
// here as failures with liborcus' reason.

#include <exception>
#include <memory>
#include <new>

#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/zip_archive.hpp>

#include "platform/Text.h"
#include "platform/WorkbookOrcusImport.h"
#include "platform/WorkbookReaders.h"
#include "platform/WorkbookXlsxStrings.h"
#include "platform/WorkbookZipCheck.h"

namespace quastor::workbook {

namespace {

// Runs the filter of kind over bytes into factory; the failure reason when it throws.
std::optional<std::string> Run(std::string_view bytes, ZipKind kind, OrcusFactory& factory) {
  if (std::optional<std::string> problem = ZipProblem(bytes))
    return FormatText(kWorkbookDamaged, {*problem});
  try {
    std::unique_ptr<orcus::iface::import_filter> filter;
    if (kind == ZipKind::kOds) {
      filter = std::make_unique<orcus::orcus_ods>(&factory);
    } else {
      factory.Strings().SetEmpty(EmptySharedStrings(bytes));
      filter = std::make_unique<orcus::orcus_xlsx>(&factory);
    }
    filter->read_stream(bytes);
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return std::string("not enough memory");
  } catch (const orcus::zip_error& error) {
    const std::string what = error.what();
    return FormatText(kWorkbookDamaged, {what.empty() ? "damaged zip archive" : what});
  } catch (const std::exception& error) {
    const std::string what = error.what();
    return FormatText(kWorkbookDamaged, {what.empty() ? "unknown error" : what});
  } catch (...) {
    return FormatText(kWorkbookDamaged, {"unknown error"});
  }
}

// Runs the filter; a workbook without a sheet fails too.
std::optional<std::string> Import(std::string_view bytes, ZipKind kind, OrcusFactory& factory) {
  std::optional<std::string> failure = Run(bytes, kind, factory);
  // A zip of something else (a text document, say) imports without error but has no sheet.
  if (!failure && factory.Names().empty())
    failure = FormatText(kWorkbookDamaged, {"no sheet"});
  return failure;
}

}  // namespace

Result<std::vector<std::string>> ZipSheetNames(std::string_view bytes, ZipKind kind) {
  OrcusFactory factory(std::nullopt);
  if (auto failure = Import(bytes, kind, factory))
    return Failure{std::move(*failure)};
  return factory.Names();
}

Result<std::optional<WorkbookSheet>> ZipSheet(std::string_view bytes, ZipKind kind,
                                              const std::string& name) {
  OrcusFactory factory(name);
  if (auto failure = Import(bytes, kind, factory))
    return Failure{std::move(*failure)};
  std::optional<Result<WorkbookSheet>> sheet = factory.FinishWanted();
  if (!sheet)
    return std::optional<WorkbookSheet>();
  if (!*sheet)
    return Failure{sheet->error()};
  return std::optional<WorkbookSheet>(std::move(sheet->value()));
}

}  // namespace quastor::workbook
