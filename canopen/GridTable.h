#pragma once
// Loading and importing the tables that the editors show as two side grids (the SDO access
// table and the PDO translation table): each record of the file or the sheet fills the next
// row of its side, and what does not fit is counted.

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "canopen/ImportSheet.h"
#include "canopen/LoadGaps.h"
#include "canopen/SideGrids.h"
#include "canopen/TableFile.h"
#include "platform/Result.h"
#include "platform/TableLoad.h"
#include "platform/Workbook.h"

namespace quastor {

// The grids' size and the pages' captions that the gap texts name.
struct GridLayout {
  std::size_t rows = 0;
  std::size_t columns = 0;
  const char* pageA = "";
  const char* pageB = "";
};

// A record turned into its side and its row of cells, and the attributes the table does not
// know, which go with the row.
struct PlacedRow {
  PlacedRow(Side row_side, GridRow cells) : side(row_side), row(std::move(cells)) {}
  Side side = Side::kA;
  GridRow row;
  XmlAttributeList kept;
};

// The grids as the window's show fills them from the table file (layout-sized); the messages
// are the system's reading messages, then what did not fit.
struct GridLoad : Loaded<SideGrids> {
  // Per side, the record (its position in the file, from 1) that each filled row shows.
  std::array<std::vector<std::size_t>, 2> records;
};

// The grids after a successful import; they replace the window's grids whole, and its report
// replaces the load's (the grids no longer show the file): records beyond a grid's rows, whose
// sentences the window shows before it asks at OK.
using GridImport = Loaded<SideGrids>;

using FileRowStep = std::function<Result<PlacedRow>(const TableRecord&)>;
using SheetRowStep = std::function<Result<PlacedRow>(const WorkbookSheet&, const SheetRecord&)>;

// Reads file with step; a missing file shows missing_message (none when null), a reading error
// "Error in reading file XML".
GridLoad LoadGridTable(const std::filesystem::path& file, const GridLayout& layout,
                       const FileRowStep& step, const char* missing_message,
                       TableReading reading = TableReading::kStopAtFirstFailure);

// Imports every record of sheet (as shape tells them; layout.columns fields each) with step;
// the first failure is returned and no grid is made.
Result<GridImport> ImportGridSheet(const WorkbookSheet& sheet, const GridLayout& layout,
                                   const SheetShape& shape, const SheetRowStep& step);

}  // namespace quastor
