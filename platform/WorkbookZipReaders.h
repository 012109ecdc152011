#pragma once
// Inside the workbook adapter: the readers of the zip workbooks, .xlsx (WorkbookXlsx.cpp) and
// .ods (WorkbookOds.cpp). They throw an std::exception with the reason when a part is damaged;
// WorkbookZip.cpp turns it into the failure.

#include <optional>
#include <string>
#include <vector>

#include "platform/WorkbookCells.h"
#include "platform/WorkbookXml.h"

namespace quastor::workbook {

// Throws the reason that a part is damaged.
[[noreturn]] void Damaged(const std::string& what);
// A cell's number as the file spells it (all of the text, or the part is damaged).
double ParseNumber(const std::string& text);

std::vector<std::string> XlsxSheetNames(const ZipParts& zip);
// The first sheet whose name equals name without regard to case; nothing when there is none.
std::optional<Result<WorkbookSheet>> XlsxSheet(const ZipParts& zip, const std::string& name);

std::vector<std::string> OdsSheetNames(const ZipParts& zip);
std::optional<Result<WorkbookSheet>> OdsSheet(const ZipParts& zip, const std::string& name);

}  // namespace quastor::workbook
