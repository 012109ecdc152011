#pragma once
// The PDO translation table (window TFpdo): grids sga ("PDO From CanA to CanB") and sgb ("PDO
// From CanB to CanA"), 10 rows of 5 data columns: cobid, id_dev_orig, en_traslate, posid,
// n_tPDO. The table file rpdodef.xml codes side and translation in "en_bypass" (2/3: sga,
// 0/1: sgb, bit 0 the translation); sheets and CSV lines use "00", "01" (CAN A) and "10",
// "11" (CAN B) instead, so the side bit has opposite senses in the two.

#include <cstdint>
#include <filesystem>
#include <string>

#include "canopen/GridTable.h"
#include "canopen/SideGrids.h"
#include "platform/Result.h"
#include "platform/Workbook.h"

namespace quastor {

// Both grids empty, 10 rows of 5 cells.
SideGrids EmptyPdoGrids();

// The bits of "en_bypass" that the table uses: the translation (bit 0) and the side (bit 1).
// The window shows no other bit, and OK writes none.
inline constexpr std::int32_t kPdoFlagBits = 0x3;

// The grids as the show fills them from rpdodef.xml: "File XML not found" for a missing file,
// "Error in reading file XML" with the rows read before a reading error.
GridLoad LoadPdoTable(const std::filesystem::path& file,
                      TableReading reading = TableReading::kStopAtFirstFailure);

// The grid rows of a side's PDOs in the order OK writes them: the rows up to the first empty
// cobid in ascending cobid order (equal cobids in row order). Refuses as PdoTableText does.
Result<std::vector<std::size_t>> PdoWriteOrder(Side side, const GridRows& rows);

// The text OK writes: sga then sgb, each side's rows up to the first empty cobid in ascending
// cobid order (equal cobids in row order), "en_bypass" 3/2 (sga) or 1/0 (sgb),
// the higher when the translation cell is exactly "1". Refuses a filled row at or below an
// empty cobid (naming entry and page) and a cobid that is not a number.
Result<std::string> PdoTableText(const SideGrids& grids);

// OK: writes PdoTableText to file atomically; on any failure the file stays as it was.
Status SavePdoTable(const std::filesystem::path& file, const SideGrids& grids);

// Import from the sheet "rpdodef": the new grids, or the failure (the grids stay as they were).
Result<GridImport> ImportPdoSheet(const WorkbookSheet& sheet);
// Import from a workbook file: its sheet "rpdodef" in any letter case, then ImportPdoSheet.
Result<GridImport> ImportPdoWorkbook(const std::filesystem::path& workbook);

// The CSV text Export writes: per grid the header line and all 10 rows, column 3 as "01"/"00"
// (sga) or "11"/"10" (sgb), the first when the cell is exactly "1".
std::string PdoCsvText(const SideGrids& grids);
// Export: writes PdoCsvText to ProjectDir/rpdodef.csv.
Status ExportPdoCsv(const std::filesystem::path& project_dir, const SideGrids& grids);

}  // namespace quastor
