#include "j1939/FrameImport.h"

#include <cstdio>

#include "j1939/J1939Texts.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = j1939_texts;

std::string Pgn(std::uint32_t pgn) {
  char text[12];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(pgn & 0xFFFFu));
  return text;
}

std::vector<std::string> RowOf(FrameDirection direction, const ImportedFrame& frame) {
  const std::string page = std::to_string(frame.dataPage);
  const std::string address = std::to_string(frame.sourceAddress);
  if (direction == FrameDirection::kReceive)
    return {page, Pgn(frame.pgn), address, texts::kNotTicked, frame.mnemonic};
  return {std::to_string(frame.priority), page, Pgn(frame.pgn), address, frame.mnemonic};
}

}  // namespace

FramePlacement PlaceFrames(FrameDirection direction, FrameRows rows, FrameRowsKept kept,
                           const std::vector<ImportedFrame>& frames) {
  rows.resize(kFrameRowCount, std::vector<std::string>(kFrameColumnCount));
  kept.resize(kFrameRowCount);
  FramePlacement placement;
  std::size_t next = 0;
  for (const ImportedFrame& frame : frames) {
    while (next < rows.size() && !FrameRowHoldsNothing(direction, rows[next]))
      ++next;
    if (next == rows.size()) {
      ++placement.leftOut;
      continue;
    }
    rows[next] = RowOf(direction, frame);
    // The columns' attributes first, as a list written by the window has them, then "Dim".
    kept[next].clear();
    for (std::size_t c = 0; c < kFrameColumnCount; ++c)
      kept[next].emplace_back(FrameListOf(direction).columns[c].attribute, rows[next][c]);
    kept[next].emplace_back(texts::kDimAttribute, std::to_string(frame.bytes));
    ++placement.placed;
    ++next;
  }
  placement.rows = std::move(rows);
  placement.kept = std::move(kept);
  return placement;
}

std::string FramesLeftOutText(std::size_t left_out) {
  return FormatText(texts::kFramesLeftOut, {Counted(left_out, texts::kMessage, texts::kMessages)});
}

}  // namespace quastor
