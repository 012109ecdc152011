// Frames imported into a frame list: the rows they take, what the rows keep, and the frames
// that do not fit.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "j1939/FrameImport.h"

namespace quastor::test {
namespace {

using Row = std::vector<std::string>;

// Catches: a filled row overwritten, an unticked-only row not taken as free, the list grown
// past 16 rows, the frames left out miscounted, "Dim" missing or what a taken row kept
// before left in it, the PGN written in decimal, the send list's columns shifted.
TEST(FrameImport, FillsTheFreeRowsInOrderAndCountsWhatDoesNotFit) {
  FrameRows rows = EmptyFrameRows();
  FrameRowsKept kept(kFrameRowCount);
  for (std::size_t r = 0; r < 14; ++r)
    rows[r] = {"0", "0xFEF1", "0", "N", "held"};
  rows[1] = {"", "", "", "N", ""};  // an unticked box holds nothing
  kept[1] = {{"COBID", "old"}};
  std::vector<ImportedFrame> frames;
  for (int i = 0; i < 5; ++i)
    frames.push_back(
        {3, i % 2, 0xF004u + static_cast<std::uint32_t>(i), 17, "m" + std::to_string(i), i + 1});
  const FramePlacement placed = PlaceFrames(FrameDirection::kReceive, rows, kept, frames);
  EXPECT_EQ(placed.placed, 3u);
  EXPECT_EQ(placed.leftOut, 2u);
  ASSERT_EQ(placed.rows.size(), static_cast<std::size_t>(kFrameRowCount));
  EXPECT_EQ(placed.rows[0], (Row{"0", "0xFEF1", "0", "N", "held"}));
  EXPECT_EQ(placed.rows[1], (Row{"0", "0xF004", "17", "N", "m0"}));
  EXPECT_EQ(placed.rows[14], (Row{"1", "0xF005", "17", "N", "m1"}));
  EXPECT_EQ(placed.rows[15], (Row{"0", "0xF006", "17", "N", "m2"}));
  EXPECT_EQ(placed.kept[1], (XmlAttributeList{{"DataPage", "0"},
                                              {"PGN", "0xF004"},
                                              {"SA", "17"},
                                              {"Delete", "N"},
                                              {"Mnemonic", "m0"},
                                              {"Dim", "1"}}));
  EXPECT_EQ(placed.kept[15].back(), (std::pair<std::string, std::string>{"Dim", "3"}));
  EXPECT_TRUE(placed.kept[0].empty());
  EXPECT_EQ(FramesLeftOutText(placed.leftOut),
            "2 messages did not fit: the list holds at most 16 frames.");
  EXPECT_EQ(FramesLeftOutText(1), "1 message did not fit: the list holds at most 16 frames.");

  const FramePlacement sent = PlaceFrames(FrameDirection::kSend, EmptyFrameRows(), {}, frames);
  EXPECT_EQ(sent.placed, 5u);
  EXPECT_EQ(sent.rows[0], (Row{"3", "0", "0xF004", "17", "m0"}));
  // What OK writes carries each frame's length for the info windows.
  EXPECT_NE(FrameListText(FrameDirection::kSend, sent.rows, sent.kept)
                .find("<row Priority=\"3\" DataPage=\"1\" PGN=\"0xF005\" SA=\"17\" "
                      "Mnemonic=\"m1\" Dim=\"2\"/>"),
            std::string::npos)
      << FrameListText(FrameDirection::kSend, sent.rows, sent.kept);
}

}  // namespace
}  // namespace quastor::test
