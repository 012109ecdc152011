#pragma once
// A CAN network's DBC file: its messages (BO_) with their signals (SG_). Comments,
// attributes, value tables and the other statements are passed over, whatever quoted text
// they hold, across lines too. An extended identifier is also taken apart into its J1939
// fields.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

enum class ByteOrder { kBigEndian, kLittleEndian };  // "@0" (Motorola), "@1" (Intel)

struct DbcSignal {
  std::string name;
  // "" for a plain signal, "M" for the multiplexer, "m<n>" for a signal that shows when the
  // multiplexer holds n (and "m<n>M" for a multiplexer inside it).
  std::string multiplex;
  int startBit = 0;  // as the file writes it: for "@0" the most significant bit
  int length = 0;    // bits
  ByteOrder byteOrder = ByteOrder::kLittleEndian;
  bool isSigned = false;
  // The four numbers as written, and their values.
  std::string factorText, offsetText, minimumText, maximumText;
  double factor = 1, offset = 0, minimum = 0, maximum = 0;
  std::string unit;
  std::vector<std::string> receivers;
};

// The fields of a 29-bit J1939 identifier.
struct J1939Id {
  int priority = 0;          // bits 26 to 28
  int extendedDataPage = 0;  // bit 25
  int dataPage = 0;          // bit 24
  int pduFormat = 0;         // PF, bits 16 to 23
  int pduSpecific = 0;       // PS, bits 8 to 15
  int sourceAddress = 0;     // bits 0 to 7
  // EDP, DP, PF and, for PDU2 (PF 240 and above), PS as the group extension; for PDU1 the low
  // byte is 0 and PS is the destination address.
  std::uint32_t pgn = 0;

  bool IsPdu1() const { return pduFormat < 240; }
  // The destination address of a PDU1 message, nothing for PDU2.
  std::optional<int> Destination() const;
};

J1939Id SplitJ1939(std::uint32_t identifier);

struct DbcMessage {
  std::uint32_t identifier = 0;  // without the extended bit
  bool extended = false;
  std::string name;
  int length = 0;  // bytes
  std::string sender;
  std::vector<DbcSignal> signals;
  int line = 0;

  // The identifier as the file writes it: with 0x80000000 for an extended one.
  std::uint32_t RawIdentifier() const { return extended ? identifier | 0x80000000u : identifier; }
  // The J1939 fields of an extended identifier.
  std::optional<J1939Id> J1939() const;
};

struct DbcFile {
  std::vector<DbcMessage> messages;  // in file order
};

// The messages of DBC text. A damaged text fails with "line N: reason".
Result<DbcFile> ParseDbc(std::string_view text);

// Reads a DBC file through the platform's reader, in UTF-8 or Windows-1252. Fails with the
// reason the file cannot be opened, or "\"<file>\", line N: reason" for a damaged one.
Result<DbcFile> ReadDbcFile(const std::filesystem::path& file);

}  // namespace quastor
