#pragma once
// The EMCY translation rules' file and exchange: the show's loading of emcydef.xml, OK's
// writing in key order, the sheet import and the CSV export. Every record holds the eleven
// texts and the packed bypass_set (EmcyRules.h), whose bit 5 tells the side.

#include <filesystem>
#include <string>
#include <vector>

#include "canopen/EmcyRules.h"
#include "canopen/LoadGaps.h"
#include "canopen/TableFile.h"
#include "platform/Result.h"
#include "platform/TableLoad.h"
#include "platform/Workbook.h"

namespace quastor {

// Item 0 of each non-empty side chosen, unless the reading stopped. The messages: "File XML not
// found", or "Error in reading file XML" and why.
using EmcyRulesLoad = Loaded<EmcyModel>;

// The show: every record in file order to the side of its bit 5, an empty text read as "0".
// A reading error keeps the rules read before it and chooses no item.
EmcyRulesLoad LoadEmcyRules(const std::filesystem::path& file,
                            TableReading reading = TableReading::kStopAtFirstFailure);

// The text OK writes: CAN A's rules, then CAN B's, each side in ascending ID order (equal IDs in
// list order); the texts unchanged. Fails for an ID that is not a
// number.
Result<std::string> EmcyRulesFileText(const EmcyModel& model);
// OK: writes the text to file atomically; on any failure the file stays as it was.
Status SaveEmcyRules(const std::filesystem::path& file, const EmcyModel& model);

// Import from the sheet "emcydef" (the twelve attributes by position, an empty cell giving an
// empty text): the new table with item 0 of each non-empty side chosen, or the failure that
// names the row.
Result<EmcyModel> ImportEmcyRulesSheet(const WorkbookSheet& sheet);
// Import from a workbook file: its sheet "emcydef" in any letter case.
Result<EmcyModel> ImportEmcyRulesWorkbook(const std::filesystem::path& workbook);

// The CSV text Export writes, without heading: CAN A's rules, then CAN B's, in list order, one
// line each with the eleven texts and bypass_set.
std::string EmcyRulesCsvText(const EmcyModel& model);
// Export: writes EmcyRulesCsvText to ProjectDir/emcydef.csv.
Status ExportEmcyRulesCsv(const std::filesystem::path& project_dir, const EmcyModel& model);

}  // namespace quastor
