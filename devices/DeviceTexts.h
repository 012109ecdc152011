#pragma once
// The device description readers' own words, shared by the readers, the command-line tool and
// the tests: every message about an EDS or DBC file that does not read.

namespace quastor::device_texts {

// The file cannot be opened: its path, then the system's reason.
inline constexpr char kCannotOpenFile[] = "Cannot open file \"%s\". %s";
// A damaged file: the file's path, then "line N: " and the reason below.
inline constexpr char kDamagedFile[] = "\"%s\", %s";

// EDS files: why a line or a section does not read.
inline constexpr char kEdsNotALine[] =
    "\"%s\" is neither a [section], a key=value pair nor a comment";
inline constexpr char kEdsSectionUnclosed[] = "the section name \"%s\" has no closing \"]\"";
inline constexpr char kEdsSectionTwice[] = "section [%s] appears a second time (first on line %d)";
inline constexpr char kEdsKeyTwice[] = "key \"%s\" appears a second time in section [%s]";
inline constexpr char kEdsKeyOutsideSection[] = "key \"%s\" stands before the first section";
inline constexpr char kEdsIndexRange[] =
    "[%s] names no object: the index is 4 hexadecimal digits at most and the sub-index 2";
inline constexpr char kEdsKeyMissing[] = "[%s] has no %s";
inline constexpr char kEdsNotANumber[] =
    "%s=%s is not a number (decimal, or hexadecimal behind 0x)";
inline constexpr char kEdsNumberRange[] = "%s=%s lies outside %s to %s";
inline constexpr char kEdsUnknownAccess[] = "AccessType=%s is none of ro, wo, rw, rwr, rww, const";
inline constexpr char kEdsSubWithoutObject[] = "[%s] is a sub-object of 0x%s, which has no section";
inline constexpr char kEdsSubOfVariable[] = "[%s] is a sub-object of 0x%s, which is a variable";
inline constexpr char kEdsSubNumberDiffers[] = "SubNumber=%s, but object 0x%s has %s";
inline constexpr char kEdsCompactWithSubs[] =
    "CompactSubObj=%s, but object 0x%s has sub-object sections of its own";
inline constexpr char kEdsListedWithoutSection[] = "[%s] lists object 0x%s, which has no section";
inline constexpr char kEdsListCount[] = "[%s] has SupportedObjects=%s, but lists %s";
inline constexpr char kEdsListKey[] =
    "key \"%s\" of [%s] is not a number between 1 and SupportedObjects";
inline constexpr char kEdsNameEntry[] = "key \"%s\" of [%s] is no sub-index between 1 and %s";
inline constexpr char kEdsNameWithoutCompact[] =
    "[%s] belongs to object 0x%s, which has no CompactSubObj";

// The names that compact sub-objects take when the file gives none: sub-index 0 counts them,
// sub-index N is the object's name followed by N in decimal.
inline constexpr char kEdsCountName[] = "NrOfObjects";

// DBC files: why a line does not read.
inline constexpr char kDbcUnknownKeyword[] = "\"%s\" is no statement of a DBC file";
inline constexpr char kDbcBadMessage[] =
    "a message reads BO_ <identifier> <name>: <length> <sender>, not \"%s\"";
inline constexpr char kDbcBadSignal[] =
    "a signal reads SG_ <name> [M|m<n>] : <start>|<length>@<0|1><+|-> (<factor>,<offset>) "
    "[<min>|<max>] \"<unit>\" <receivers>, not \"%s\"";
inline constexpr char kDbcSignalOutsideMessage[] = "signal %s stands outside a message";
inline constexpr char kDbcIdentifierRange[] =
    "identifier %s is neither a standard (up to 0x7FF) nor an extended one (bit 31 and up to "
    "0x1FFFFFFF)";
inline constexpr char kDbcLengthRange[] = "message %s has length %s, more than %s bytes";
inline constexpr char kDbcSignalLengthRange[] = "signal %s has length %s, outside 1 to 64 bits";
inline constexpr char kDbcUnterminated[] = "the %s statement that starts here has no closing \";\"";
inline constexpr char kDbcUnclosedQuote[] = "a quoted text that starts here is not closed";

// "Pick object…" on the SDO table (window TFPickObject).
inline constexpr char kPickObject[] = "Pick object\u2026";
inline constexpr char kPickObjectCaption[] = "Pick Object";
inline constexpr char kChooseEds[] = "Choose EDS file\u2026";
inline constexpr char kEdsFilter[] = "EDS files (*.eds *.EDS)";
inline constexpr char kNoEdsChosen[] = "No EDS file chosen: choose the device's file.";
// The file's name, the device's name (or "" when the file gives none) and the objects' count.
inline constexpr char kEdsShown[] = "%s%s: %s objects";
inline constexpr char kFilterLabel[] = "Filter (index or name):";
inline constexpr const char* kObjectColumns[] = {"Index", "SubIndex", "Name",
                                                 "Type",  "Access",   "nbyte"};
// The project keeps its devices' files in this folder, and which one the SDO table uses in
// kDevicesSettings, section kSdoSection, key kEdsKey.
inline constexpr char kDevicesFolder[] = "devices";
inline constexpr char kDevicesSettings[] = "devices.ini";
inline constexpr char kSdoSection[] = "SDO";
inline constexpr char kEdsKey[] = "EDS";
// Why a pick fills nothing: the object's index (hexadecimal), sub-index and name, then why.
inline constexpr char kPickRefused[] = "Object 0x%s, sub-index %s (\"%s\"): %s Nothing was filled.";
// The access, the direction refused, then the entry's RW cell.
inline constexpr char kAccessRefused[] =
    "its access is \"%s\", so it cannot be %s, and the entry has RW %s.";
inline constexpr char kWritten[] = "written";
inline constexpr char kRead[] = "read";
// The data type's name.
inline constexpr char kNoFixedSize[] =
    "its type %s has no fixed size, and an SDO entry carries 1 to 4 bytes.";
// The data type's name and its size.
inline constexpr char kSizeTooLarge[] =
    "its type %s holds %s bytes, and an SDO entry carries 1 to 4 bytes.";
inline constexpr char kNoObjectSelected[] = "Select an object of the list first.";

// "Import from DBC…" in the frame lists (window TFDbcImport).
inline constexpr char kImportDbc[] = "Import from DBC\u2026";
inline constexpr char kImportDbcCaption[] = "Import from DBC";
inline constexpr char kChooseDbc[] = "Choose DBC file\u2026";
inline constexpr char kDbcFilter[] = "DBC files (*.dbc *.DBC)";
inline constexpr char kNoDbcChosen[] = "No DBC file chosen.";
inline constexpr const char* kMessageColumns[] = {"Name", "PGN", "SA", "Length"};
// The file's name and the messages listed.
inline constexpr char kDbcShown[] = "%s: %s messages";
// Messages that the list leaves out, each "name (reason)", joined by "; ". Only the first few
// are named, then how many more there are, so that the list keeps its room in the window.
inline constexpr char kNotListed[] = "Not listed, since no frame list row can hold them: %s.";
inline constexpr char kNotListedMore[] = "and %s more";
inline constexpr char kNotListedEntry[] = "%s (%s)";
inline constexpr char kStandardIdentifier[] = "11-bit identifier, no J1939 PGN";
inline constexpr char kExtendedDataPage[] = "extended data page set";
// The message's length.
inline constexpr char kMoreThanOneFrame[] = "%s bytes, more than one CAN frame";
inline constexpr char kNoMessageSelected[] = "Select one or more messages of the list first.";

}  // namespace quastor::device_texts
