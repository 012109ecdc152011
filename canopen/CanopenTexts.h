#pragma once
// The CANopen table editors' own words, shared by their windows, the command-line tool and
// the tests: table and attribute names, captions, titles, buttons and every message.

namespace quastor::canopen_texts {

// Table names: the document element of the table file, the sheet and the CSV file.
inline constexpr char kSdoTable[] = "sdo";
inline constexpr char kPdoTable[] = "rpdodef";
inline constexpr char kStoredPdoTable[] = "sdopdo";
inline constexpr char kEmcyTable[] = "emcydef";
inline constexpr char kEmcyWordTable[] = "emcyword";
// Every writer names its records so; readers take the records by position, whatever their name.
inline constexpr char kRecordName[] = "row";

// The workbook open dialog of the Import button (the bottom panel's captions are the widget
// kit's).
inline constexpr char kWorkbookFilter[] = "File EXCEL (*.xls *.xlsx *.ods)";

// The title of every grid's number column.
inline constexpr char kNumberTitle[] = "N°";

// Reading and writing table files.
inline constexpr char kParserNotInstalled[] = "Error XML parser not installed";
inline constexpr char kFileNotFound[] = "File XML not found";
inline constexpr char kErrorReading[] = "Error in reading file XML";

// SDO access table (sdo.xml, window TFsdo).
inline constexpr char kSdoCaption[] = "Set SDO Access";
inline constexpr char kSdoPageA[] = "SDO from CAN A request to CAN B";
inline constexpr char kSdoPageB[] = "SDO from CAN B request to CAN A";
inline constexpr char kSdoVirtualA[] = "Define virtual index SDO in CAN A";
inline constexpr char kSdoRealB[] = "Input index address SDO in CAN B";
inline constexpr char kSdoVirtualB[] = "Define virtual index SDO in CAN B";
inline constexpr char kSdoRealA[] = "Input index address SDO in CAN A";
inline constexpr int kSdoColumnCount = 8;
inline constexpr int kSdoRowCount = 1500;
// Titles the grid draws over columns 0 to 8.
inline constexpr const char* kSdoColumnTitles[] = {
    "N°", "RW", "Index", "SubIndex", "devID", "Index", "SubIndex", "nbyte", "mnemonico"};
// The header cells of row 0 (column 0 holds "N"); they reach only the CSV file.
inline constexpr char kNumberHeader[] = "N";
inline constexpr const char* kSdoHeaderTexts[] = {"RW",    "Index",    "Subindex", "devID",
                                                  "Index", "Subindex", "nbyte",    "mnemonico"};
// sdo.xml attributes of columns 1 to 8 (column 1 is the RW bit of "conf").
inline constexpr const char* kSdoAttributes[] = {"conf",   "IndexA",    "SubindexA", "devIDB",
                                                 "IndexB", "SubindexB", "nbyteB",    "mnemonico"};

// OK refuses a grid cell that its column's field refuses: the entry number as column "N°"
// shows it, the page, the column's title, then why.
inline constexpr char kCellRefused[] = "Error! N° %d of \"%s\", column \"%s\": %s";
// New or Modify refuses a field of a page: its label, then why.
inline constexpr char kFieldRefused[] = "Error! \"%s\": %s";

// PDO translation table (rpdodef.xml, window TFpdo).
inline constexpr char kPdoFileName[] = "rpdodef.xml";
inline constexpr char kPdoCaption[] = "Define Traslate PDO";
inline constexpr char kPdoPageA[] = "PDO From CanA to CanB";
inline constexpr char kPdoPageB[] = "PDO From CanB to CanA";
inline constexpr int kPdoColumnCount = 5;
inline constexpr int kPdoRowCount = 10;
inline constexpr const char* kPdoColumnTitles[] = {"N°",          "cobid", "id_dev_orig",
                                                   "en_traslate", "posid", "n_tPDO"};
// Attributes of columns 1 to 5, also the header cells of row 0.
inline constexpr const char* kPdoAttributes[] = {"cobid", "id_dev_orig", "en_bypass", "posind",
                                                 "n_tpdo"};
// OK refuses to drop filled entries below an empty cobid (entry numbers as column "N°" shows).
inline constexpr char kCobidGap[] =
    "Error! Entry N° %s of \"%s\" is filled, but the cobid of entry N° %s above it is empty. "
    "Fill in that cobid, or clear the entries below it.";
inline constexpr char kCobidEmpty[] =
    "Error! Entry N° %s of \"%s\" is filled, but its cobid is empty. Fill in the cobid, or "
    "clear the entry.";

// Stored PDO definitions (sdopdo.xml, window TFInfopdo).
inline constexpr char kStoredPdoFileName[] = "sdopdo.xml";
// An OK of the PDO table that moves the PDOs the stored definitions name by position.
inline constexpr char kStoredDefinition[] = "stored definition";
inline constexpr char kStoredDefinitions[] = "stored definitions";
inline constexpr char kStoredPdoFollowed[] =
    "The PDOs moved, so sdopdo.xml was rewritten too, and its stored definitions keep their "
    "PDOs (%s).";
inline constexpr char kStoredPdoUnread[] =
    "sdopdo.xml could not be read whole, so its stored definitions cannot follow the PDOs "
    "that OK moves, and some will name other PDOs.";
inline constexpr char kStoredPdoLost[] = "OK deletes the PDOs %s, and with them %s of sdopdo.xml.";
// The window's question after kStoredPdoLost and after kStoredPdoUnread.
inline constexpr char kWriteFilesAnyway[] = "Write the files anyway?";
inline constexpr char kWritePdoTableAnyway[] = "Write rpdodef.xml anyway?";
inline constexpr char kStoredPdoCaption[] = "Define Store PDO";
inline constexpr char kStoredPdoPageA[] = "CanA";
inline constexpr char kStoredPdoPageB[] = "CanB";
inline constexpr const char* kStoredPdoAttributes[] = {"index", "subindex", "nrpdo", "poscomp"};
inline constexpr char kSdoLabelPrefix[] = "Sdo";
// Page CanA's labels; page CanB's follow them.
inline constexpr char kSdoListLabelA[] = "SDO CANB";
inline constexpr char kSdoListLabelB[] = "SDO CANA";
inline constexpr char kCorrelated[] = "Correlated";
inline constexpr char kPdoListLabelA[] = "Index PDO in CANA";
inline constexpr char kPdoListLabelB[] = "Index PDO in CANB";
inline constexpr char kIndexLabelA[] = "Index SDO CANB";
inline constexpr char kIndexLabelB[] = "Index SDO CANA";
inline constexpr char kSubindexLabelA[] = "Subindex SDO CANB";
inline constexpr char kSubindexLabelB[] = "Subindex SDO CANA";
inline constexpr char kByteGroup[] = "Selected PDO Byte";
inline constexpr const char* kByteItems[] = {"none", "B1", "B2", "B3", "B4",
                                             "B5",   "B6", "B7", "B8"};
inline constexpr int kByteItemCount = 9;
inline constexpr char kTranslateIn[] = "Traslate in";
// Beside page CanA's low-byte group; page CanB has kTranslateIn there.
inline constexpr char kTranslateInLowA[] = "Trsalete in";
inline constexpr char kHighSdoByte[] = "High SDO Byte";
inline constexpr char kLowSdoByte[] = "Low SDO Byte";
inline constexpr char kDeleteSdo[] = "Delete SDO";
inline constexpr char kNewSdo[] = "New SDO";
inline constexpr char kModifySdo[] = "Modify SDO";
inline constexpr char kCopySdo[] = "Copy SDO";
inline constexpr char kPasteSdo[] = "Paste SDO";
inline constexpr char kNothingCopied[] = "Nothing to paste: no SDO of this page was copied yet.";
// Loading its three files.
inline constexpr char kSdoFileNotFound[] = "File SDO XML not found";
inline constexpr char kSdoErrorReading[] = "Error in reading file SDO XML";
inline constexpr char kPdoFileNotFound[] = "File PDO XML not found";
inline constexpr char kPdoErrorReading[] = "Error in reading file PDO XML";
inline constexpr char kStoredPdoFileNotFound[] = "File SDOPDO XML not found";
inline constexpr char kStoredPdoErrorReading[] = "Error in reading file SDOPDO XML";
// A stored poscomp that the two radio groups cannot show.
inline constexpr char kPoscompNotShown[] =
    "'%s' is not 16 x high + low with both byte choices 0 (none) to 8 (B8), so the radio groups "
    "cannot show it";
// A stored value that the collision test cannot read: the SDO access table's entry (N°, page,
// column), or the stored entry (its PDO's cobid, its label, the edit's label); then why.
inline constexpr char kSdoTableValue[] = "Error! sdo.xml, N° %d of \"%s\", column \"%s\": %s";
inline constexpr char kStoredEntryValue[] = "Error! PDO %s, %s, \"%s\": %s";
// The collision test of New and Modify.
inline constexpr char kSdoAlreadyExists[] = "Index or Subindex Not Valid,Sdo Already Exists";
inline constexpr char kIndexNotValid[] = "Index or Subindex Not Valid";
// "nrpdo" keeps seven bits for the PDO number.
inline constexpr int kMaxStoredPdoNumber = 127;
inline constexpr char kPdoNumberTooHigh[] =
    "Error! PDO %s is number %d of its side; only PDOs 1 to 127 can store SDO entries.";

// Why a record of a table file or a sheet cannot be read (the reason inside the texts below).
inline constexpr char kAttributeMissing[] = "attribute \"%s\" is missing";
inline constexpr char kNotAnElement[] = "it is not an element";
// An attribute read as a number: its name, then the number conversion's message.
inline constexpr char kAttributeNotInteger[] = "attribute \"%s\": %s";
inline constexpr char kNoPdoNumber[] = "nrpdo '%s' holds no PDO number from 1 to 127";

// What a load or an import could not show; "%s" first is the file name or the sheet.
inline constexpr char kFileUnread[] = "%s could not be read, so none of its records is shown: %s";
// "%s not shown": "1 record is", "2 records are".
inline constexpr char kRecordIs[] = "record is";
inline constexpr char kRecordsAre[] = "records are";
inline constexpr char kReadingStopped[] =
    "Reading of %s stopped at record %d of %d (%s), so %s not shown.";
inline constexpr char kRecordUnread[] = "Record %d of %s cannot be read (%s), so it is not shown.";
inline constexpr char kRecordsNotShown[] =
    "Records of %s for \"%s\" beyond its %d rows are not shown: %s.";
inline constexpr char kRecordsSkipped[] =
    "Records of %s whose PDO number names no PDO of their side in rpdodef.xml are not shown: "
    "%s.";
inline constexpr char kSheetSource[] = "sheet \"%s\"";
// Asked before OK writes the file without them (the gaps' sentences first, then the file).
inline constexpr char kOverwriteQuestion[] =
    "%s\nOK writes %s without them, and they are lost. Write the file anyway?";
// The command-line tool's refusal after those sentences; --force does what Yes does.
inline constexpr char kNothingWritten[] =
    "Nothing was written. With --force the file is written without them.";

// Importing a sheet.
inline constexpr char kNoSheet[] = "Error! The workbook \"%s\" has no sheet \"%s\".";
inline constexpr char kTooFewColumns[] =
    "Error! The sheet \"%s\" has %d columns, but the table needs %d.";
// Row (headings = row 1), sheet, column letter, field name, reason.
inline constexpr char kSheetCellError[] = "Error! Row %d of sheet \"%s\", column %s (%s): %s";
inline constexpr char kEmptyCell[] = "the cell is empty";

}  // namespace quastor::canopen_texts
