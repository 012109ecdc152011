#pragma once
// The J1939 frame info tables (windows TF_Rec_Info, receive, and TF_Sen_Info, send): for
// each byte of each frame of the direction's frame list, the DeviceNet byte it goes to
// (receive) or is taken from (send), kept in Receive_Info.xml and Send_Info.xml. Frames are
// matched to info rows by position. A frame is named by its "COBID" when it has one, else by
// its data page, PGN and source address (and mnemonic); its byte count is its "Dim" when it
// has one, else 8, the length of a J1939 single frame.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "j1939/FrameFile.h"
#include "platform/Result.h"
#include "platform/TableLoad.h"
#include "platform/XmlDocument.h"
#include "platform/XmlRecordWriter.h"

namespace quastor {

inline constexpr int kFrameBytes = 8;
inline constexpr int kMaxDim = 255;           // a byte count is read as 0 to 255
inline constexpr std::uint8_t kNoByte = 255;  // the frame byte goes nowhere
inline constexpr int kDeviceNetBytes = 128;   // DeviceNet bytes 0 to 127

// One frame: its byte count (0 to 255 as read; 9 and more put all eight positions in use) and,
// for byte positions 1 to 8, the DeviceNet byte or kNoByte. Positions above Dim always hold
// kNoByte.
struct TFrameInfoRec {
  std::uint8_t Dim = 0;
  std::uint8_t B1 = kNoByte, B2 = kNoByte, B3 = kNoByte, B4 = kNoByte;
  std::uint8_t B5 = kNoByte, B6 = kNoByte, B7 = kNoByte, B8 = kNoByte;

  // Field Bk, k from 1 to 8.
  std::uint8_t& B(int k);
  std::uint8_t B(int k) const;
  bool InUse(int k) const { return k <= Dim; }
};

struct FrameInfoKind {
  FrameDirection direction;
  const char* caption;
  const char* root;       // of the info file
  const char* byteLabel;  // before edit k, "%d" the position
  const char* byteTail;   // after edit k
  bool storeWhileTyping;  // an edit stores a valid value at every change of its text
  bool checkBytes;        // OK refuses a DeviceNet byte that two frame bytes map to
};

const FrameInfoKind& FrameInfoOf(FrameDirection direction);

// The frames in list order and, in parallel, their labels and what their info rows hold
// besides "B1" to "B8" (written back after them; the vector may be shorter than frames).
struct FrameInfoTable {
  std::vector<std::string> labels;
  std::vector<TFrameInfoRec> frames;
  std::vector<XmlAttributeList> kept = {};
};

// The model: the table; found: the info file exists.
struct FrameInfoLoad : Loaded<FrameInfoTable> {
  bool stopped = false;                 // reading stopped at an error: no frame is selected
  std::optional<std::size_t> infoRows;  // the info file's rows, when it was read
};

// The table as the show builds it from the frame list and the info file: every byte none
// where the info file has no row; a reading error stops the load with what was read so far.
// With kEveryRow the reading goes on past each failing row of both files, and a frame that
// fails keeps its place with no byte in use.
FrameInfoLoad LoadFrameInfo(const std::filesystem::path& frame_list,
                            const std::filesystem::path& info_file,
                            FrameReading reading = FrameReading::kStopAtFirstFailure);

// The label of a frame row; fails when the row has neither "COBID" nor the fields that make
// one.
Result<std::string> FrameLabel(const XmlNode& row);

// The value an edit's text stands for: none (kNoByte) for blanks or "none" in any case, 0 to
// 127, or nothing when the text is neither.
std::optional<std::uint8_t> ReadByteEdit(std::string_view text);
// The message for a rejected edit k.
std::string ByteRangeMessage(int k);
// How edit k shows a stored value: "none" or decimal.
std::string ByteEditText(std::uint8_t value);

// A frame byte whose DeviceNet byte an earlier frame byte already takes: the frame (from 0),
// the byte position (1 to 8) and the message, which names the later frame byte first and the
// one that took the DeviceNet byte first second.
struct ByteConflict {
  std::size_t frame = 0;
  int position = 0;
  std::string message;
};

// Every such frame byte, in frame and position order.
std::vector<ByteConflict> ByteConflicts(const FrameInfoTable& table);

// Receive OK: no DeviceNet byte may be the target of two frame bytes; the first conflict.
Status CheckBytes(const FrameInfoTable& table);

// The info file's text: one row per frame, "B1" to "B8" in decimal, then what the row kept.
std::string FrameInfoText(FrameDirection direction, const FrameInfoTable& table);

// The rows OK writes into the info file: one per frame of the list.
std::size_t InfoRowsWritten(const FrameInfoTable& table);

// The info file read without its frames, as while the frame list does not read: per row
// (from 1) why a byte attribute that the row holds cannot be read. Nothing when the file does
// not load, which its load tells.
std::vector<std::pair<std::size_t, std::string>> InfoBytesWithoutFrames(
    const std::filesystem::path& info_file);

// How many rows the info file holds now (0 when it is missing or unreadable).
std::size_t InfoRowCount(const std::filesystem::path& info_file);

// OK: refuses while either file exists unreadable, then writes the info file atomically.
Status SaveFrameInfo(FrameDirection direction, const std::filesystem::path& frame_list,
                     const std::filesystem::path& info_file, const FrameInfoTable& table);

}  // namespace quastor
