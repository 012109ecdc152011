#pragma once
// The stored PDO definitions' files and exchange: the show's loading of sdo.xml, rpdodef.xml
// and sdopdo.xml, OK's writing of sdopdo.xml in key order, the sheet import and the CSV export.
// "nrpdo" holds the PDO's number (1 to 127) in bits 0 to 6 and the side in bit 7 (set: CAN B).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "canopen/LoadGaps.h"
#include "canopen/StoredPdo.h"
#include "canopen/TableFile.h"
#include "platform/Result.h"
#include "platform/TableLoad.h"
#include "platform/Workbook.h"

namespace quastor {

// The model with nothing chosen on either page; found: sdopdo.xml exists; the report is
// sdopdo.xml's.
struct StoredPdoLoad : Loaded<StoredPdoModel> {
  bool complete = true;  // all three files read to their end and no record left out
};

// The show: ProjectDir/sdo.xml (the side's SDO access entries), ProjectDir/rpdodef.xml (the
// PDOs: "en_bypass" bit 1 clear is CAN A here), then sdopdo_file, each with its own missing-file
// and reading-error message. A sdopdo.xml record whose PDO number exceeds its side's PDO count
// is left out, counted, and told after those messages; a PDO number 0 ends the reading.
StoredPdoLoad LoadStoredPdo(const std::filesystem::path& project_dir,
                            const std::filesystem::path& sdopdo_file,
                            TableReading reading = TableReading::kStopAtFirstFailure);

// The PDO an "nrpdo" value (text: as the file holds it) names: its side (bit 7 set: CAN B) and
// its position in the side's PDO list, or nothing when the side has no PDO of that number, so
// that the record is left out. Fails for a PDO number 0.
Result<std::optional<std::pair<Side, std::size_t>>> PdoOfNrpdo(const StoredPdoModel& model,
                                                               std::int32_t nrpdo,
                                                               const std::string& text);

// The text OK writes: CAN A's entries, then CAN B's, each side in ascending index then
// subindex order (equal pairs in list order), "nrpdo" the PDO number (+128 for CAN B). Fails
// for an index or subindex that is not a number.
Result<std::string> StoredPdoFileText(const StoredPdoModel& model);
// OK: writes the text to file atomically; on any failure the file stays as it was.
Status SaveStoredPdo(const std::filesystem::path& file, const StoredPdoModel& model);

// A new entry list for every PDO of each side.
struct StoredPdoLists {
  std::vector<std::vector<TClSdo>> listsA;  // one per CAN A PDO
  std::vector<std::vector<TClSdo>> listsB;  // one per CAN B PDO
};

// A successful import; its report (records naming no PDO: show the sentences, ask before OK)
// replaces the load's, since the entry lists no longer come from the file.
using StoredPdoImport = Loaded<StoredPdoLists>;

// Import from the sheet "sdopdo" (fields index, subindex, nrpdo, poscomp); the PDOs stay.
Result<StoredPdoImport> ImportStoredPdoSheet(const StoredPdoModel& model,
                                             const WorkbookSheet& sheet);
// Import from a workbook file: its sheet "sdopdo" in any letter case.
Result<StoredPdoImport> ImportStoredPdoWorkbook(const StoredPdoModel& model,
                                                const std::filesystem::path& workbook);
// Puts the imported lists in place; no PDO and no entry is chosen afterwards.
void ApplyStoredPdoImport(StoredPdoModel& model, StoredPdoImport import);

// The CSV text Export writes, without heading: per PDO in list order, CAN A then CAN B, one
// line per entry: index, subindex, PDO number (+128 for CAN B), poscomp.
std::string StoredPdoCsvText(const StoredPdoModel& model);
// Export: writes StoredPdoCsvText to ProjectDir/sdopdo.csv.
Status ExportStoredPdoCsv(const std::filesystem::path& project_dir, const StoredPdoModel& model);

}  // namespace quastor
