#pragma once
// The CSV export of the CANopen tables: ProjectDir/<table>.csv, in the system's 8-bit text,
// every cell followed by "," and every line by CR LF (platform/CsvText).

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "canopen/ImportSheet.h"
#include "canopen/SideGrids.h"
#include "platform/Result.h"

namespace quastor {

// The flags column's numeric code for a side and the cell's text.
using FlagsCode = std::function<std::string(Side side, const std::string& cell)>;

// The export of two side grids: for CAN A and then CAN B the header line (the header texts)
// and one line per grid row, rows empty or not, up to row_count; the flags column coded.
std::string GridCsvText(const std::vector<std::string>& header_texts, const SideGrids& grids,
                        std::size_t row_count, std::size_t flags_column, const FlagsCode& code);

// How the records of a sheet saved from GridCsvText stand, for its import: the heading lines
// that it writes and the flags codes of its rows that hold nothing are no records.
SheetShape GridCsvShape(std::vector<std::string> field_names,
                        const std::vector<std::string>& header_texts, std::size_t flags_column,
                        const FlagsCode& code);

// ProjectDir followed by "/", the table name and ".csv".
std::filesystem::path CsvPath(const std::filesystem::path& project_dir,
                              const std::string& table_name);

// Writes text, encoded in the system's 8-bit code page, to CsvPath atomically; fails with the
// "Cannot create file" message and leaves an existing file as it was.
Status WriteCsvFile(const std::filesystem::path& project_dir, const std::string& table_name,
                    const std::string& text);

}  // namespace quastor
