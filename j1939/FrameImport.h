#pragma once
// Frames brought into a frame list from elsewhere (a network's description): each fills the
// next row that holds nothing, and its byte count goes into the row's "Dim", which the frame
// info windows read. The list never grows past its 16 rows.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "j1939/FrameList.h"

namespace quastor {

struct ImportedFrame {
  int priority = 0;  // the send list's column only
  int dataPage = 0;
  std::uint32_t pgn = 0;  // 0 to 0xFFFF
  int sourceAddress = 0;
  std::string mnemonic;
  int bytes = 0;
};

struct FramePlacement {
  FrameRows rows;
  FrameRowsKept kept;
  std::size_t placed = 0;
  std::size_t leftOut = 0;  // the frames that found no free row
};

// The rows and what they keep after frames took the rows that hold nothing, in order; a row
// taken keeps its columns' attributes and its "Dim", nothing it kept before. The PGN is written as
// "0x" and four hexadecimal digits, the other numbers in decimal, the receive list's "Cancel Data"
// unticked.
FramePlacement PlaceFrames(FrameDirection direction, FrameRows rows, FrameRowsKept kept,
                           const std::vector<ImportedFrame>& frames);

// "2 messages did not fit: the list holds at most 16 frames." for the frames left out.
std::string FramesLeftOutText(std::size_t left_out);

}  // namespace quastor
