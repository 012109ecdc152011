#pragma once
// What the table editors and their grids say: the question before changes are thrown away,
// and the answers of paste and find.

namespace quastor::editor_texts {

// %s: the table, as its file is named.
inline constexpr char kDiscardChanges[] = "Discard the changes to %s?";
// %d: the rows (columns) copied, the grid's rows (columns) from the current cell on.
inline constexpr char kPasteBeyondRows[] =
    "Nothing pasted: the %d rows copied do not fit in the %d rows from the current cell on.";
inline constexpr char kPasteBeyondColumns[] =
    "Nothing pasted: the %d columns copied do not fit in the %d columns from the current cell on.";
// %s: the text, the row's number, the column's title.
inline constexpr char kPasteRefused[] = "Nothing pasted: \"%s\" is refused in entry %s, column %s.";
// %s: the text, the row's number, the column's title.
inline constexpr char kFillRefused[] = "Nothing filled: \"%s\" is refused in entry %s, column %s.";
// %s: the text looked for.
inline constexpr char kNotFound[] = "\"%s\" is not found on this page.";
inline constexpr char kFindPrompt[] = "Find:";

// The status line: what the last action did. %s: the file, as it is named, or its path; the
// counts follow the singular/plural words below ("1 record", "45 records").
inline constexpr char kSaved[] = "%s saved: %s";
inline constexpr char kSavedSides[] = "%s saved: %s (CAN A %s, CAN B %s)";
inline constexpr char kExported[] = "Exported %s (%s)";
// Rows, workbook (its file name), sheet (as the workbook spells it).
inline constexpr char kImportedSides[] = "Imported %s from %s, sheet %s: CAN A %s, CAN B %s";
inline constexpr char kWritten[] = "%s written (%s)";
inline constexpr char kRecord[] = "record";
inline constexpr char kRecords[] = "records";
inline constexpr char kRow[] = "row";
inline constexpr char kRows[] = "rows";
inline constexpr char kByte[] = "byte";
inline constexpr char kBytes[] = "bytes";
// Asked before an import replaces rows the table holds: held rows, table (as its file is
// named), imported rows, sheet.
inline constexpr char kReplaceRows[] = "Replace the %s of %s with the %s of %s?";

}  // namespace quastor::editor_texts
