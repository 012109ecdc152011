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

}  // namespace quastor::editor_texts
