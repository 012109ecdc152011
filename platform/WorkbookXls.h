#pragma once
// Inside the workbook adapter: a FreeXL cell as a stored cell value. FreeXL gives a whole
// number as INT or DOUBLE depending on the program that wrote the file; both become a number.

#include <freexl.h>

#include "platform/WorkbookCells.h"

namespace quastor::workbook {

CellValue XlsCellValue(const FreeXL_CellValue& cell);

}  // namespace quastor::workbook
