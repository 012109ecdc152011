#pragma once
// Motorola S-records: checking and reading one record line, writing record lines.
//
// A record line is "S", the type digit, the byte count (two hexadecimal digits), then count
// bytes as hexadecimal digit pairs: the address (2, 3 or 4 bytes by type), the data, and the
// checksum, the one's complement of the low 8 bits of the sum of the count, address and data.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quastor::srec {

enum class Problem { kNone, kEmpty, kNotRecord, kType, kHex, kCount, kChecksum };

struct Record {
  char type = 0;         // '0' to '9'
  int addressBytes = 0;  // 2, 3 or 4
  std::uint32_t address = 0;
  std::string_view dataHex;  // the data bytes' digits, a view into the line
  std::size_t dataBytes() const { return dataHex.size() / 2; }
  bool isData() const { return type == '1' || type == '2' || type == '3'; }
};

// The number of address bytes of a record type; 0 for a type that does not exist (S4).
int AddressBytes(char type);

// Checks every part of line (given without its end of line): the "S", the type, hexadecimal
// digits only, a byte count that matches the length, room for the address and checksum, and
// the checksum. On success fills record.
Problem ParseRecord(std::string_view line, Record* record);

// Why a line was refused, in the system's words.
const char* ProblemText(Problem problem);

// Decodes pairs of hexadecimal digits (already checked) into bytes.
void DecodeHex(std::string_view hex, std::uint8_t* bytes);

// Appends one record line of the given type (upper-case digits, no end of line).
void AppendRecord(std::string& line, char type, std::uint32_t address, const std::uint8_t* data,
                  std::size_t size);
std::string FormatRecord(char type, std::uint32_t address, const std::uint8_t* data,
                         std::size_t size);

}  // namespace quastor::srec
