#pragma once
// The J1939 frame tables' own words, shared by their windows and the tests: captions, column
// titles, file element and attribute names, labels and every message.

namespace quastor::j1939_texts {

// Both frame list files have this root, the send list's too.
inline constexpr char kFrameListRoot[] = "Receive_Frames";
inline constexpr char kRowElement[] = "row";

// Frame lists (windows TFSetVar and TFSetPdo).
inline constexpr char kReceiveFramesCaption[] = "Receive Frames";
inline constexpr char kSendFramesCaption[] = "Send Frames";
inline constexpr char kNumberTitle[] = "N°";
inline constexpr char kPriorityTitle[] = "Priority";
inline constexpr char kDataPageTitle[] = "Data Page";
inline constexpr char kPgnTitle[] = "PGN";
inline constexpr char kSourceAddressTitle[] = "Source Address";
inline constexpr char kCancelDataTitle[] = "Cancel Data";
inline constexpr char kMnemonicTitle[] = "Mnemonic";

inline constexpr char kPriorityAttribute[] = "Priority";
inline constexpr char kDataPageAttribute[] = "DataPage";
inline constexpr char kPgnAttribute[] = "PGN";
inline constexpr char kSourceAddressAttribute[] = "SA";
inline constexpr char kDeleteAttribute[] = "Delete";
inline constexpr char kMnemonicAttribute[] = "Mnemonic";
// The "Cancel Data" check box's cell text.
inline constexpr char kTicked[] = "Y";
inline constexpr char kNotTicked[] = "N";

inline constexpr char kPriorityRange[] = "Error!! Priority must be between 0 and 7. ";
inline constexpr char kDataPageRange[] = "Error!! Data Page must be 0 or 1. ";
inline constexpr char kPgnRange[] = "Error!! PGN must be between 0x0000 and 0xFFFF. ";
inline constexpr char kSourceAddressRange[] = "Error!! Source Address must be between 0 and 255. ";

// OK names a refused cell: the frame number as column "N°" shows it, the column's title, then
// the column's message.
inline constexpr char kCellRefused[] = "N° %d, column \"%s\": %s";
// OK refuses to drop a filled frame below one whose first column is empty (frame numbers as
// column "N°" shows them, then the first column's title).
inline constexpr char kFrameAfterGap[] =
    "Error!! Frame %d is filled, but the %s of frame %d above it is empty. Fill it in, or clear "
    "the frames below it.";
inline constexpr char kFrameWithoutFirst[] =
    "Error!! Frame %d is filled, but its %s is empty. Fill it in, or clear the frame.";

// A missing attribute, as the standard error handler has always worded it.
inline constexpr char kConversionError[] = "Could not convert variant of type (%s) into type (%s)";
inline constexpr char kNullType[] = "Null";
inline constexpr char kStringType[] = "String";

// Why a row of a file cannot be read (the reason inside the texts below).
inline constexpr char kAttributeMissing[] = "attribute \"%s\" is missing";
inline constexpr char kAttributeNotInteger[] = "attribute \"%s\": %s";
inline constexpr char kNoLabel[] = "it has no \"COBID\" and no \"%s\"";
inline constexpr char kDimOutOfRange[] = "\"Dim\" is %s, outside 0 to 255";
inline constexpr char kByteOutOfRange[] =
    "\"%s\" is %s, but a frame byte goes to DeviceNet byte 0 to 127 or to none (255)";
inline constexpr char kNotAnElement[] = "it is not an element";
// A value that no window could have written: file, row (1-based), reason.
inline constexpr char kRowError[] = "Error!! %s, row %d: %s.";

// What a load could not show; said at load, and asked before OK rewrites the file.
inline constexpr char kFramesNotShown[] =
    "Only 16 of the %d frames of %s are shown: the list holds at most 16.";
inline constexpr char kReadingStopped[] =
    "Reading of %s stopped at row %d of %d (%s), so %s not shown whole.";
// "%s not shown whole": "1 row is", "2 rows are".
inline constexpr char kRowIs[] = "row is";
inline constexpr char kRowsAre[] = "rows are";
inline constexpr char kRowUnread[] = "Row %d of %s cannot be read (%s), so it is not shown whole.";
inline constexpr char kInfoNotRead[] = "%s was not read, so none of its byte mappings is shown.";
inline constexpr char kOverwriteQuestion[] =
    "%s\nOK writes %s without what is not shown, and it is lost. Write the file anyway?";
inline constexpr char kNoFramesQuestion[] =
    "%s lists no frames, so OK writes %s without any of its %d rows, and their byte mappings "
    "are lost. Write the file anyway?";

// Frames imported into a list (its button, then what the import did): the frames placed;
// the messages that found no free row.
inline constexpr char kFramesImported[] = "%s filled from the network's description.";
inline constexpr char kFrame[] = "frame";
inline constexpr char kFrames[] = "frames";
inline constexpr char kFramesLeftOut[] = "%s did not fit: the list holds at most 16 frames.";
inline constexpr char kMessage[] = "message";
inline constexpr char kMessages[] = "messages";

// Frame info tables (windows TF_Rec_Info and TF_Sen_Info).
inline constexpr char kReceiveInfoCaption[] = "Receive Frames Info";
inline constexpr char kSendInfoCaption[] = "Send Frames Info";
inline constexpr char kReceiveInfoRoot[] = "Receive_Frames_Info";
inline constexpr char kSendInfoRoot[] = "Send_Frames_Info";
inline constexpr char kCobidAttribute[] = "COBID";
inline constexpr char kDimAttribute[] = "Dim";
// "B1" to "B8": this prefix and the byte position.
inline constexpr char kByteAttributePrefix[] = "B";
inline constexpr char kListCaption[] = "COB ID";
inline constexpr char kBytesCaption[] = "Bytes";
inline constexpr char kReceiveByteLabel[] = "Byte %d of frame CAN go to byte";
inline constexpr char kReceiveByteTail[] = "in DeviceNET";
inline constexpr char kSendByteLabel[] = "Byte %d of frame CAN is the byte";
inline constexpr char kSendByteTail[] = "of DeviceNET";
inline constexpr char kNotInUse[] = "Not in use";
inline constexpr char kNone[] = "none";
// A frame without "COBID" is named by its own fields; the mnemonic follows when not empty.
inline constexpr char kFrameLabel[] = "DP %s, PGN %s, SA %s";
inline constexpr char kFrameLabelMnemonic[] = " (%s)";

inline constexpr char kByteRange[] = "Error Byte %d!! Value have to be between 0 to 127 or none. ";
// CheckBytes: DeviceNet byte, later frame, its byte, earlier frame, its byte.
inline constexpr char kByteUsedTwice[] =
    "Error!! The Byte %d is used in COB ID %s in Byte %d and in COB ID %s in Byte %d ";

}  // namespace quastor::j1939_texts
