// Any bytes as the J1939 frame files, the kind chosen by the first byte (dropped): bit 0 the
// direction (receive, send), bit 1 the frame list alone or the frame list and, after a NUL
// byte, the info file. Loading ends without a fault; the frame list keeps 16 rows of 5 cells
// and reads back what OK writes; every info frame's byte count lies in 0 to 255, each of its
// 8 bytes goes to a DeviceNet byte 0 to 127 or none, none past its byte count, and the info
// file OK writes reads back the same.
//
//   frame_files_fuzzer fuzz/corpus/frame_files

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "fuzz/FuzzFiles.h"
#include "j1939/FrameInfo.h"
#include "j1939/FrameList.h"

namespace {

using namespace quastor;
using fuzz::Require;

void FrameList(FrameDirection direction, std::string_view bytes) {
  const FrameListLoad first = LoadFrameList(direction, fuzz::Put("frames.xml", bytes));
  Require(first.model.size() == kFrameRowCount, "the frame list keeps 16 rows");
  for (const auto& row : first.model)
    Require(row.size() == kFrameColumnCount, "every frame row keeps 5 cells");
  (void)CheckRows(direction, first.model);

  const FrameListLoad again =
      LoadFrameList(direction, fuzz::Put("frames.xml", FrameListText(direction, first.model)));
  Require(again.report.Complete() && again.messages.empty(),
          "a frame list written by OK loads without a message");
  // OK writes the rows above the first whose first cell is empty.
  bool listed = true;
  for (std::size_t r = 0; r < kFrameRowCount; ++r) {
    listed = listed && !first.model[r][0].empty();
    Require(again.model[r] == (listed ? first.model[r] : std::vector<std::string>(5)),
            "a frame list written by OK shows its listed rows");
  }
}

bool SameBytes(const TFrameInfoRec& a, const TFrameInfoRec& b) {
  for (int k = 1; k <= kFrameBytes; ++k) {
    if (a.B(k) != b.B(k))
      return false;
  }
  return a.Dim == b.Dim;
}

void FrameInfo(FrameDirection direction, std::string_view bytes) {
  const std::vector<std::string_view> parts = fuzz::Parts(bytes, 2);
  const auto list = fuzz::Put("frames.xml", parts[0]);
  const auto info = parts.size() > 1 ? fuzz::Put("info.xml", parts[1]) : fuzz::Absent("info.xml");
  const FrameInfoLoad first = LoadFrameInfo(list, info);
  const FrameInfoTable& table = first.model;
  Require(table.labels.size() == table.frames.size(), "every frame has its label");
  for (const TFrameInfoRec& frame : table.frames) {
    Require(frame.Dim <= kMaxDim, "a frame's byte count lies in 0 to 255");
    for (int k = 1; k <= kFrameBytes; ++k) {
      const std::uint8_t target = frame.B(k);
      Require(target < kDeviceNetBytes || target == kNoByte, "a byte goes to 0 to 127 or none");
      Require(frame.InUse(k) || target == kNoByte, "no byte past the frame's byte count");
    }
  }
  (void)CheckBytes(table);
  if (first.stopped)
    return;  // OK would write what the window shows, not the file
  const FrameInfoLoad again =
      LoadFrameInfo(list, fuzz::Put("info.xml", FrameInfoText(direction, table)));
  Require(!again.stopped && again.model.frames.size() == table.frames.size(),
          "an info file written by OK loads whole");
  for (std::size_t f = 0; f < table.frames.size(); ++f)
    Require(SameBytes(again.model.frames[f], table.frames[f]),
            "an info file written by OK shows the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const FrameDirection direction =
      (data[0] & 1) != 0 ? FrameDirection::kSend : FrameDirection::kReceive;
  if ((data[0] & 2) != 0)
    FrameInfo(direction, bytes);
  else
    FrameList(direction, bytes);
  return 0;
}
