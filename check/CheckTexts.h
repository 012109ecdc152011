#pragma once
// The project check's own words, shared by the check, its window, the command-line tool and
// the tests. A problem is told as one line, "<file>: <where>: <reason>"; the texts below are
// the "where" and "reason" parts that the check words itself (the others are the readers').

namespace quastor::check_texts {

// The window and its menu entry.
inline constexpr char kCaption[] = "Check project";
inline constexpr char kNoProblems[] = "No problems found.";
inline constexpr char kProblemCount[] = "Problems found: %d";

// Where a problem is: the whole file, a record of a table file, a row of a frame file.
inline constexpr char kWhereFile[] = "file";
inline constexpr char kWhereRecord[] = "record %d";
inline constexpr char kWhereRow[] = "row %d";
inline constexpr char kWhereRows[] = "rows %d to %d";
inline constexpr char kWherePage[] = "page \"%s\"";
// After a record's number, the grid row that shows it: its N° and the page.
inline constexpr char kWhereGridRow[] = "N° %d of \"%s\"";
// Before the reason of a note, which makes the check fail no more than no line at all.
inline constexpr char kNote[] = "note: ";
inline constexpr char kWhereGsd[] = "GSD file";
inline constexpr char kWhereImage[] = "configuration image";

// Any project file.
inline constexpr char kMixedEncoding[] =
    "mixes UTF-8 sequences with bytes that are not UTF-8: it is read as Windows-1252, so each "
    "UTF-8 letter shows as two or more characters";

// pargen.xml.
inline constexpr char kElementMissing[] = "the element is missing";
// The element's text, then the settings dialog's message.
inline constexpr char kValueRefused[] = "'%s': %s";
inline constexpr char kBaudNotAuto[] =
    "'%s': the settings dialog always shows \"Auto Baudrate\", and its OK writes 10";
inline constexpr char kGsdRefused[] = "\"GSD File\" refuses: %s";
inline constexpr char kImageRefused[] = "\"Update Device\" refuses: %s";

// Table files. An attribute read as a number: its name, then the number conversion's message.
inline constexpr char kAttributeValue[] = "attribute \"%s\": %s";
inline constexpr char kUnusedBits[] =
    "attribute \"%s\" is %s, which sets bits that the window does not use: OK writes %d";
inline constexpr char kNoAliasButton[] =
    "attribute \"bypass_set\" is %s: no \"Allias use\" radio button stands for position %d, so "
    "the window shows none checked";
inline constexpr char kNoWordSide[] =
    "attribute \"extdata\" is %s, neither 0 (CanA) nor 1 (CanB): the window does not show the "
    "word, and OK drops it";
inline constexpr char kNoSuchPdo[] =
    "attribute \"nrpdo\" is %s, which names no PDO of rpdodef.xml: the window does not show the "
    "entry, and OK drops it";
inline constexpr char kEmcyPoscompNotShown[] =
    "'%s' lies outside 0 to 65535, so the two Emcy byte fields cannot show it";
inline constexpr char kUnknownAttribute[] =
    "attribute \"%s\" is not one the window knows: OK keeps it on its record";
inline constexpr char kPdosUnread[] =
    "rpdodef.xml does not read whole, so the PDOs that \"nrpdo\" names are not all known: the "
    "problems of \"nrpdo\" below may come from it";
inline constexpr char kDanglingLink[] =
    "it is a symbolic link to \"%s\", which does not exist: the window starts as without the "
    "file";
// strings.xml, the string picker's file.
inline constexpr char kStringsBeyond[] = "the file holds %d strings: the picker shows the first %d";
inline constexpr char kRecordsNotShown[] =
    "records beyond its %d rows: %d; the window does not show them, and OK drops them";

// Frame lists and frame info files.
// The column's attribute, the cell's text, then the list's message on OK.
inline constexpr char kCellRefused[] = "%s '%s': %s";
inline constexpr char kBeyondSixteen[] =
    "the list holds at most 16 frames: the window does not show these rows, and OK drops them";
inline constexpr char kNoFrame[] =
    "%s has no frame at this position: the window does not show the row, and OK drops it";
inline constexpr char kNoFrames[] =
    "%s has no frames at these positions: the window does not show the rows, and OK drops them";

}  // namespace quastor::check_texts
