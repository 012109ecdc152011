#pragma once
// The SDO access table (window TFsdo): grids sga (CAN A requests served from CAN B) and sgb
// (the opposite direction), 1500 rows of 8 data columns: RW, Index, SubIndex, devID, Index,
// SubIndex, nbyte, mnemonico. The table file is ProjectDir/sdo.xml, whose "conf" attribute
// holds the direction in bit 0 (set: sgb) and the RW flag in bit 4; sheets and CSV lines
// carry the same code (0, 16, 1 or 17) in their first field.

#include <cstdint>
#include <filesystem>
#include <string>

#include "canopen/GridTable.h"
#include "canopen/SideGrids.h"
#include "platform/Result.h"
#include "platform/Workbook.h"

namespace quastor {

// Both grids empty, 1500 rows of 8 cells.
SideGrids EmptySdoGrids();

// The bits of "conf" that the table uses: the side (bit 0) and the RW flag (bit 4). The window
// shows no other bit, and OK writes none.
inline constexpr std::int32_t kSdoConfBits = 0x11;

// The grids as the show fills them from sdo.xml. A missing file gives empty grids and no
// message; a reading error "Error in reading file XML" with the rows read before it.
GridLoad LoadSdoTable(const std::filesystem::path& file,
                      TableReading reading = TableReading::kStopAtFirstFailure);

// The text OK writes: every row of sga, then of sgb, that holds something, in grid order, each
// followed by the attributes its record kept; "conf" is the side bit plus 16 when the RW cell
// is exactly "1".
std::string SdoTableText(const SideGrids& grids);

// OK: writes SdoTableText to file, atomically.
Status SaveSdoTable(const std::filesystem::path& file, const SideGrids& grids);

// Import from the sheet "sdo": the new grids, or the failure (the grids stay as they were).
Result<GridImport> ImportSdoSheet(const WorkbookSheet& sheet);
// Import from a workbook file: its sheet "sdo" in any letter case, then ImportSdoSheet.
Result<GridImport> ImportSdoWorkbook(const std::filesystem::path& workbook);

// The CSV text Export writes: per grid the header line and all 1500 rows, column 1 as the
// "conf" code (sga: 16 or 0, sgb: 17 or 1, the higher when the cell is exactly "1").
std::string SdoCsvText(const SideGrids& grids);
// Export: writes SdoCsvText to ProjectDir/sdo.csv.
Status ExportSdoCsv(const std::filesystem::path& project_dir, const SideGrids& grids);

}  // namespace quastor
