// Any bytes as a DBC file: reading ends without a fault, every message has an identifier of
// its kind's range, a length of at most 1785 bytes and signals of 1 to 64 bits, the J1939
// fields put back together give the identifier, and a failure names its line.
//
//   dbc_file_fuzzer fuzz/corpus/dbc_file

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "devices/DbcFile.h"
#include "fuzz/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quastor;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Result<DbcFile> file = ReadDbcFile(fuzz::Put("network.dbc", bytes));
  if (!file) {
    fuzz::Require(file.error().find(", line ") != std::string::npos ||
                      file.error().rfind("Cannot open", 0) == 0,
                  "a damaged file's message names its line");
    return 0;
  }
  for (const DbcMessage& message : file->messages) {
    fuzz::Require(message.identifier <= (message.extended ? 0x1FFFFFFFu : 0x7FFu),
                  "an identifier within its kind's range");
    fuzz::Require(message.length >= 0 && message.length <= 1785, "a length of at most 1785");
    for (const DbcSignal& signal : message.signals)
      fuzz::Require(signal.length >= 1 && signal.length <= 64, "a signal of 1 to 64 bits");
    if (const auto id = message.J1939()) {
      const std::uint32_t back = static_cast<std::uint32_t>(id->priority) << 26 |
                                 static_cast<std::uint32_t>(id->extendedDataPage) << 25 |
                                 static_cast<std::uint32_t>(id->dataPage) << 24 |
                                 static_cast<std::uint32_t>(id->pduFormat) << 16 |
                                 static_cast<std::uint32_t>(id->pduSpecific) << 8 |
                                 static_cast<std::uint32_t>(id->sourceAddress);
      fuzz::Require(back == message.identifier, "the J1939 fields give the identifier back");
      fuzz::Require(
          (id->pgn & 0xFF) == (id->IsPdu1() ? 0u : static_cast<std::uint32_t>(id->pduSpecific)),
          "a PGN's low byte follows the PDU rule");
    }
  }
  return 0;
}
