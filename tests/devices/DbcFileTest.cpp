// The DBC reader: the messages and signals of tests/data/devices/dbc/sound.dbc, the J1939
// fields of extended identifiers, and the line that each kind of damage is reported on. The
// reader is also compared with another one on generated files (dbc_oracle.py).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/DbcFile.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

// Catches: a statement between messages (a comment running over lines with ";", a quote and a
// BO_ inside it, attributes, value tables) read as a message or ending the file; the extended
// bit kept in the identifier; a multiplexer or its groups lost; the byte order or sign swapped;
// the pseudo-message of loose signals taken as a message; a receiver list cut.
TEST(DbcFile, ReadsMessagesAndSignalsBetweenOtherStatements) {
  const Result<DbcFile> file = ReadDbcFile(DataFile("devices/dbc/sound.dbc"));
  ASSERT_TRUE(file.ok()) << file.error();
  const struct {
    std::uint32_t identifier;
    bool extended;
    const char* name;
    int length;
    const char* sender;
    std::size_t signals;
  } messages[] = {{0x0CF00400, true, "EEC1", 8, "Engine", 2},
                  {0x18EAFF00, true, "RequestPgn", 3, "Gauge", 1},
                  {0x123, false, "Status", 4, "Gauge", 3}};
  ASSERT_EQ(file->messages.size(), std::size(messages));
  for (std::size_t i = 0; i < std::size(messages); ++i) {
    const DbcMessage& m = file->messages[i];
    EXPECT_EQ(m.identifier, messages[i].identifier) << i;
    EXPECT_EQ(m.extended, messages[i].extended) << i;
    EXPECT_EQ(m.name, messages[i].name) << i;
    EXPECT_EQ(m.length, messages[i].length) << i;
    EXPECT_EQ(m.sender, messages[i].sender) << i;
    EXPECT_EQ(m.signals.size(), messages[i].signals) << i;
  }
  const struct {
    std::size_t message;
    const char* name;
    const char* multiplex;
    int start, length;
    ByteOrder order;
    bool isSigned;
    double factor, offset, minimum, maximum;
    const char* unit;
    std::vector<std::string> receivers;
  } signals[] = {
      {0,
       "EngineSpeed",
       "",
       24,
       16,
       ByteOrder::kLittleEndian,
       false,
       0.125,
       0,
       0,
       8031.875,
       "rpm",
       {"Gauge"}},
      {0,
       "Torque",
       "",
       15,
       8,
       ByteOrder::kBigEndian,
       true,
       1,
       -125,
       -125,
       125,
       "%",
       {"Gauge", "Engine"}},
      {1,
       "RequestedPgn",
       "",
       0,
       24,
       ByteOrder::kLittleEndian,
       false,
       1,
       0,
       0,
       16777215,
       "",
       {"Engine"}},
      {2, "Mode", "M", 0, 8, ByteOrder::kLittleEndian, false, 1, 0, 0, 255, "", {"Engine"}},
      {2,
       "Temperature",
       "m0",
       8,
       16,
       ByteOrder::kLittleEndian,
       true,
       0.5,
       -40,
       -40,
       210,
       "deg C",
       {"Engine"}},
      {2,
       "Pressure",
       "m1",
       23,
       16,
       ByteOrder::kBigEndian,
       false,
       0.01,
       0,
       0,
       655.35,
       "bar",
       {"Engine"}},
  };
  std::size_t next[3] = {0, 0, 0};
  for (const auto& s : signals) {
    SCOPED_TRACE(s.name);
    const DbcSignal& got = file->messages[s.message].signals[next[s.message]++];
    EXPECT_EQ(got.name, s.name);
    EXPECT_EQ(got.multiplex, s.multiplex);
    EXPECT_EQ(got.startBit, s.start);
    EXPECT_EQ(got.length, s.length);
    EXPECT_EQ(got.byteOrder, s.order);
    EXPECT_EQ(got.isSigned, s.isSigned);
    EXPECT_DOUBLE_EQ(got.factor, s.factor);
    EXPECT_DOUBLE_EQ(got.offset, s.offset);
    EXPECT_DOUBLE_EQ(got.minimum, s.minimum);
    EXPECT_DOUBLE_EQ(got.maximum, s.maximum);
    EXPECT_EQ(got.unit, s.unit);
    EXPECT_EQ(got.receivers, s.receivers);
  }
  EXPECT_EQ(file->messages[2].signals[2].factorText, "1E-2");  // kept as written
}

// Catches: a field taken from the wrong bits, the PDU1 and PDU2 rules swapped or split at
// another PF than 240, the data pages left out of the PGN.
TEST(DbcFile, TakesJ1939IdentifiersApart) {
  const struct {
    std::uint32_t id;
    int priority, edp, dp, pf, ps, sa;
    std::uint32_t pgn;
    int destination;  // -1: none (PDU2)
  } cases[] = {
      {0x18FEF100, 6, 0, 0, 0xFE, 0xF1, 0x00, 0x0FEF1, -1},
      {0x0CF00400, 3, 0, 0, 0xF0, 0x04, 0x00, 0x0F004, -1},
      {0x18EF0102, 6, 0, 0, 0xEF, 0x01, 0x02, 0x0EF00, 0x01},
      {0x18EAFF00, 6, 0, 0, 0xEA, 0xFF, 0x00, 0x0EA00, 0xFF},
      {0x19FF1234, 6, 0, 1, 0xFF, 0x12, 0x34, 0x1FF12, -1},
      {0x03EF5566, 0, 1, 1, 0xEF, 0x55, 0x66, 0x3EF00, 0x55},
      {0x1DFFFFFF, 7, 0, 1, 0xFF, 0xFF, 0xFF, 0x1FFFF, -1},
  };
  for (const auto& c : cases) {
    const J1939Id id = SplitJ1939(c.id);
    SCOPED_TRACE(std::to_string(c.id));
    EXPECT_EQ(id.priority, c.priority);
    EXPECT_EQ(id.extendedDataPage, c.edp);
    EXPECT_EQ(id.dataPage, c.dp);
    EXPECT_EQ(id.pduFormat, c.pf);
    EXPECT_EQ(id.pduSpecific, c.ps);
    EXPECT_EQ(id.sourceAddress, c.sa);
    EXPECT_EQ(id.pgn, c.pgn);
    EXPECT_EQ(id.Destination().value_or(-1), c.destination);
  }
}

// Catches: a damaged text read as sound (what follows then goes astray), or reported on
// another line than the one where the damage starts.
TEST(DbcFile, NamesTheLineOfEachDamage) {
  const std::string head = "VERSION \"\"\n\nBU_: A B\n\nBO_ 100 M: 8 A\n";  // lines 1 to 5
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {" SG_ S : 0|8@2+ (1,0) [0|0] \"\" B\n",
       "line 6: a signal reads SG_ <name> [M|m<n>] : <start>|<length>@<0|1><+|-> "
       "(<factor>,<offset>) [<min>|<max>] \"<unit>\" <receivers>, not \"SG_ S : 0|8@2+ (1,0) "
       "[0|0] \"\" B\""},
      {" SG_ S X : 0|8@1+ (1,0) [0|0] \"\" B\n",
       "line 6: a signal reads SG_ <name> [M|m<n>] : <start>|<length>@<0|1><+|-> "
       "(<factor>,<offset>) [<min>|<max>] \"<unit>\" <receivers>, not \"SG_ S X : 0|8@1+ (1,0) "
       "[0|0] \"\" B\""},
      {" SG_ S : 0|0@1+ (1,0) [0|0] \"\" B\n",
       "line 6: signal S has length 0, outside 1 to 64 bits"},
      {"\nCM_ \"x\";\n SG_ S : 0|8@1+ (1,0) [0|0] \"\" B\n",
       "line 8: signal S stands outside a message"},
      {"\nCM_ BO_ 100 \"one\ntwo;\nthree\n",
       "line 7: a quoted text that starts here is not closed"},
      {"\nBA_ \"Cycle\" BO_ 100 10\n\nBO_ 200 N: 8 A\n",
       "line 7: the BA_ statement that starts here has no closing \";\""},
      {"BO_ 2048 Big: 8 A\n",
       "line 6: identifier 2048 is neither a standard (up to 0x7FF) nor an extended one (bit 31 "
       "and up to 0x1FFFFFFF)"},
      {"BO_ 2684354560 Wide: 8 A\n",
       "line 6: identifier 2684354560 is neither a standard (up to 0x7FF) nor an extended one "
       "(bit 31 and up to 0x1FFFFFFF)"},
      {"BO_ 101 Long: 1786 A\n", "line 6: message Long has length 1786, more than 1785 bytes"},
      {"BO_ 101 NoColon 8 A\n",
       "line 6: a message reads BO_ <identifier> <name>: <length> <sender>, not \"BO_ 101 "
       "NoColon 8 A\""},
      {"\nFOO_ 1 2;\n", "line 7: \"FOO_\" is no statement of a DBC file"},
  };
  for (const auto& c : cases) {
    const Result<DbcFile> file = ParseDbc(head + c.text);
    ASSERT_FALSE(file.ok()) << c.text;
    EXPECT_EQ(file.error(), c.message) << c.text;
  }
  EXPECT_TRUE(ParseDbc(head + " SG_ S : 0|8@1+ (1,0) [0|0] \"\" B\n").ok());

  // A line of megabytes (a binary file chosen by mistake) is quoted by its start only, so that
  // a message window can show the message.
  const std::string junk(3'000'000, 'y');
  for (const std::string& text : {"BO_ 1 " + junk + "\n", " SG_ " + junk + "\n", junk + "\n"}) {
    const Result<DbcFile> file = ParseDbc(head + text);
    ASSERT_FALSE(file.ok());
    EXPECT_LT(file.error().size(), 400u) << file.error().substr(0, 400);
    EXPECT_NE(file.error().find("yyy..."), std::string::npos) << file.error().substr(0, 400);
  }
}

}  // namespace
}  // namespace quastor::test
