// Checking, reading and writing single S-record lines.

#include <gtest/gtest.h>

#include <vector>

#include "update/SRecord.h"

namespace quastor::srec {
namespace {

TEST(SRecord, ReadsTheFieldsOfEveryRecordType) {
  struct Case {
    const char* line;
    char type;
    std::uint32_t address;
    const char* data;
  } cases[] = {
      {"S00E0000737834333735207465737453", '0', 0x0000, "7378343337352074657374"},
      {"S1133880008A91989FA6ADB4BBC2C9D0D7DEE5EC3F", '1', 0x3880,
       "008A91989FA6ADB4BBC2C9D0D7DEE5EC"},
      {"S214389000030A11181F262D343B424950575E656CAB", '2', 0x389000,
       "030A11181F262D343B424950575E656C"},
      {"S31500389800030A11181F262D343B424950575E656CA2", '3', 0x00389800,
       "030A11181F262D343B424950575E656C"},
      {"S5030011EB", '5', 0x0011, ""},
      {"S9030000FC", '9', 0x0000, ""},
      {"S80438800043", '8', 0x388000, ""},
      {"S7050038800042", '7', 0x00388000, ""},
      {"S9030000fc", '9', 0x0000, ""},  // lower-case digits read as well
  };
  for (const Case& c : cases) {
    Record record;
    const Problem problem = ParseRecord(c.line, &record);
    ASSERT_EQ(problem, Problem::kNone) << c.line;
    EXPECT_EQ(record.type, c.type) << c.line;
    EXPECT_EQ(record.address, c.address) << c.line;
    EXPECT_EQ(record.dataHex, c.data) << c.line;
  }
}

TEST(SRecord, RefusesEveryKindOfDamage) {
  struct Case {
    const char* line;
    Problem problem;
  } cases[] = {
      {"", Problem::kEmpty},
      {"X9030000FC", Problem::kNotRecord},
      {"S", Problem::kNotRecord},
      {"S4030000FC", Problem::kType},
      {"SA030000FC", Problem::kType},
      {"S903", Problem::kCount},
      {"S903000 FC", Problem::kHex},
      {"S9030000FG", Problem::kHex},
      {"s9030000fc", Problem::kNotRecord},
      {"S9030000Z", Problem::kHex},    // an unpaired last character is still checked
      {"S9030000F", Problem::kCount},  // odd length
      {"S9030000FC0", Problem::kCount},
      {"S9040000FC", Problem::kCount},  // count says one byte more than the line holds
      {"S9020000FD", Problem::kCount},  // count leaves no room for address and checksum
      {"S2030000FC", Problem::kCount},  // an S2 address needs three bytes
      {"S9030000FD", Problem::kChecksum},
      {"S214389000030A11181F262D343B424950575E656DAB", Problem::kChecksum},  // one data bit
  };
  for (const Case& c : cases) {
    Record record;
    EXPECT_EQ(ParseRecord(c.line, &record), c.problem) << "\"" << c.line << "\"";
  }
}

TEST(SRecord, WritesUpperCaseRecordsWithChecksum) {
  const std::vector<std::uint8_t> erased(32, 0xFF);
  EXPECT_EQ(FormatRecord('2', 0x388000, erased.data(), erased.size()),
            "S224388000FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF43");
  EXPECT_EQ(FormatRecord('2', 0x38BFE0, erased.data(), erased.size()),
            "S22438BFE0FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF24");
  EXPECT_EQ(FormatRecord('5', 0x11, nullptr, 0), "S5030011EB");
  EXPECT_EQ(FormatRecord('9', 0, nullptr, 0), "S9030000FC");
  const std::uint8_t bytes[] = {0x03, 0x0A, 0x11, 0x18, 0x1F, 0x26, 0x2D, 0x34,
                                0x3B, 0x42, 0x49, 0x50, 0x57, 0x5E, 0x65, 0x6C};
  EXPECT_EQ(FormatRecord('3', 0x00389800, bytes, sizeof bytes),
            "S31500389800030A11181F262D343B424950575E656CA2");
}

TEST(SRecord, WrittenRecordsReadBack) {
  std::vector<std::uint8_t> data(252);
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<std::uint8_t>(i * 37 + 1);
  struct Case {
    char type;
    std::uint32_t address;
    std::size_t size;
  } cases[] = {{'1', 0xFFFF, 16}, {'2', 0xFFFFFF, 250}, {'3', 0xFFFFFFFF, 250}, {'3', 0, 0}};
  for (const Case& c : cases) {
    const std::string line = FormatRecord(c.type, c.address, data.data(), c.size);
    Record record;
    ASSERT_EQ(ParseRecord(line, &record), Problem::kNone) << line;
    EXPECT_EQ(record.type, c.type);
    EXPECT_EQ(record.address, c.address);
    ASSERT_EQ(record.dataBytes(), c.size);
    std::vector<std::uint8_t> decoded(c.size);
    DecodeHex(record.dataHex, decoded.data());
    EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), data.begin())) << line;
  }
}

}  // namespace
}  // namespace quastor::srec
