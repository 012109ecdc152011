#pragma once
// The messages of a DBC file that a J1939 frame list can hold, with the fields its rows take,
// and the others with the reason each is left out.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// Not included here: its member "signals" is a word that Qt's headers take for themselves, and
// the windows include this header.
struct DbcFile;

struct DbcFrame {
  std::string name;
  int priority = 0;
  int dataPage = 0;
  std::uint32_t pgn = 0;  // 0 to 0xFFFF: PF and PS (0 for PS of a PDU1 message)
  int sourceAddress = 0;
  int length = 0;  // bytes

  // The list's cells: the name, "0xFEF1", the source address and the length in decimal.
  std::vector<std::string> Cells() const;
};

struct DbcFrames {
  std::vector<DbcFrame> frames;  // in file order
  // The messages left out, each "name (reason)": a standard identifier has no PGN, the
  // extended data page is no column of the lists, and a row is one CAN frame of 8 bytes at most.
  std::vector<std::string> leftOut;
};

DbcFrames J1939Frames(const DbcFile& file);
// Reads the DBC file (ReadDbcFile), then J1939Frames.
Result<DbcFrames> ReadJ1939Frames(const std::filesystem::path& file);

// A PGN as the frame lists write it: "0x" and four hexadecimal digits.
std::string PgnText(std::uint32_t pgn);

}  // namespace quastor
