#pragma once
// The EMCY word definitions' file and exchange: the show's loading of emcyword.xml, OK's
// writing in key order, the sheet import and the CSV export. A record holds index_addrm,
// subindex, extdata (the side: 0 CanA, 1 CanB), devid and per bit j "bit<j>_b0", "bit<j>_b1"
// and "bit<j>_poscomp": 52 attributes.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "canopen/EmcyWords.h"
#include "canopen/LoadGaps.h"
#include "canopen/TableFile.h"
#include "platform/Result.h"
#include "platform/TableLoad.h"
#include "platform/Workbook.h"

namespace quastor {

// The side an extdata code names: 0 CanA, 1 CanB; nothing for any other code, whose word is
// not shown.
std::optional<Side> EmcyWordSide(std::int32_t code);

// The 52 attribute names in file order, also the sheet's columns.
const std::vector<std::string>& EmcyWordAttributes();

// No node selected. The messages: "File XML not found", or "Error in reading file XML" and why,
// then how many words were not shown for their side code.
using EmcyWordsLoad = Loaded<WordModel>;

// The show: every record in file order to the side its extdata names, labelled by its list
// position; texts unchanged, empty ones included. Records whose extdata is neither 0 nor 1
// are counted, not shown.
EmcyWordsLoad LoadEmcyWords(const std::filesystem::path& file,
                            TableReading reading = TableReading::kStopAtFirstFailure);

// The text OK writes: CanA's words, then CanB's, each side in ascending order of devid, then
// index_addrm, then subindex (a later key read only where the earlier ones are equal; words
// equal in all three in list order). Fails for a key read that is not a
// number.
Result<std::string> EmcyWordsFileText(const WordModel& model);
// OK: writes the text to file atomically; on any failure the file stays as it was.
Status SaveEmcyWords(const std::filesystem::path& file, const WordModel& model);

// A successful import: the new definitions; its report (the words whose side code is neither
// 0 nor 1: show the sentences and ask before OK) replaces the load's.
using EmcyWordsImport = Loaded<WordModel>;

// Import from the sheet "emcyword" (the 52 attributes by position, an empty cell giving an
// empty text), or the failure that names the row.
Result<EmcyWordsImport> ImportEmcyWordsSheet(const WorkbookSheet& sheet);
// Import from a workbook file: its sheet "emcyword" in any letter case.
Result<EmcyWordsImport> ImportEmcyWordsWorkbook(const std::filesystem::path& workbook);

// The CSV text Export writes, without heading: CanA's words, then CanB's, in list order, one
// line each in the sheet's order: index_addrm, subindex, the side code, devid, then b0, b1,
// poscomp of bits 0 to 15.
std::string EmcyWordsCsvText(const WordModel& model);
// Export: writes EmcyWordsCsvText to ProjectDir/emcyword.csv.
Status ExportEmcyWordsCsv(const std::filesystem::path& project_dir, const WordModel& model);

}  // namespace quastor
