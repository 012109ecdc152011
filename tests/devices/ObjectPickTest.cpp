// Picking an EDS object for an SDO table entry: what a pick fills and what it refuses, the
// list's filter, and the project's own copy of the chosen file.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/DbcFile.h"
#include "devices/DbcFrames.h"
#include "devices/EdsFile.h"
#include "devices/ObjectPick.h"
#include "devices/ProjectDevices.h"
#include "platform/PathText.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

const ObjectRow* Find(const std::vector<ObjectRow>& rows, std::uint16_t index, int sub) {
  for (const ObjectRow& row : rows) {
    if (row.index == index && row.subIndex == sub)
      return &row;
  }
  return nullptr;
}

// Catches: a read-only or constant object filled into an entry that writes, a write-only one
// into an entry that reads; a string, a domain or an 8-byte value given an nbyte the entry
// cannot carry; the size taken from the wrong type; the index written in decimal.
TEST(ObjectPick, FillsWhatTheEntryCanCarryAndRefusesTheRest) {
  const Result<EdsFile> file = ReadEdsFile(DataFile("devices/eds/sound.eds"));
  ASSERT_TRUE(file.ok()) << file.error();
  const std::vector<ObjectRow> rows = ObjectRows(*file);
  const struct {
    std::uint16_t index;
    int sub;
    AccessDirection direction;
    const char* filled;  // "index sub bytes name", or the start of the refusal
  } cases[] = {
      {0x1017, 0, AccessDirection::kWrite, "0x1017 0 2 Producer heartbeat time"},
      {0x1017, 0, AccessDirection::kRead, "0x1017 0 2 Producer heartbeat time"},
      {0x1018, 1, AccessDirection::kRead, "0x1018 1 4 Vendor-ID"},
      {0x1001, 0, AccessDirection::kRead, "0x1001 0 1 Error register"},
      {0x2001, 1, AccessDirection::kWrite, "0x2001 1 3 Offset \"A\""},
      {0xA0FF, 0, AccessDirection::kWrite, "0xA0FF 0 4 Lower-case index"},
      {0x1018, 1, AccessDirection::kWrite,
       "Object 0x1018, sub-index 1 (\"Vendor-ID\"): its access is \"ro\", so it cannot be "
       "written, and the entry has RW 1. Nothing was filled."},
      {0x1018, 2, AccessDirection::kWrite,
       "Object 0x1018, sub-index 2 (\"Product code\"): its access is \"const\""},
      {0x2000, 0, AccessDirection::kRead,
       "Object 0x2000, sub-index 0 (\"Calibration table\"): its access is \"wo\", so it cannot be "
       "read, and the entry has RW 0."},
      {0x1008, 0, AccessDirection::kRead,
       "Object 0x1008, sub-index 0 (\"Device name\"): its type VISIBLE_STRING has no fixed size"},
      {0x2001, 2, AccessDirection::kRead,
       "Object 0x2001, sub-index 2 (\"Offset B\"): its type UNSIGNED64 holds 8 bytes"},
  };
  for (const auto& c : cases) {
    const ObjectRow* row = Find(rows, c.index, c.sub);
    ASSERT_NE(row, nullptr) << std::hex << c.index << " " << c.sub;
    const Result<SdoFill> fill = SdoFillFor(*row, c.direction);
    const std::string got =
        fill ? fill->index + " " + fill->subIndex + " " + fill->bytes + " " + fill->name
             : fill.error();
    EXPECT_EQ(got.substr(0, std::string(c.filled).size()), c.filled) << got;
    EXPECT_EQ(fill.ok(), c.filled[0] == '0') << got;
  }
  EXPECT_EQ(EntryDirection("1"), AccessDirection::kWrite);
  for (const char* other : {"0", "", " 1", "Y"})
    EXPECT_EQ(EntryDirection(other), AccessDirection::kRead) << other;
}

// Catches: the filter matching the index anywhere rather than from its start, "0x" not
// understood, the name compared by case, a blank filter hiding everything.
TEST(ObjectPick, FilterByIndexStartOrNameInAnyCase) {
  const ObjectRow heartbeat{0x1017, 0, "Producer heartbeat time", 0x0006, EdsAccess::kRw};
  const ObjectRow offsets{0x2001, 1, "Offset \"A\"", 0x0010, EdsAccess::kRww};
  const struct {
    const char* filter;
    bool heartbeat, offsets;
  } cases[] = {{"", true, true},        {"  ", true, true},      {"10", true, false},
               {"0x1017", true, false}, {"0X2001", false, true}, {"17", false, false},
               {"HEART", true, false},  {"offset", false, true}, {"201", false, false},
               {"20", false, true},     {"zzz", false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(ObjectRowMatches(heartbeat, c.filter), c.heartbeat) << c.filter;
    EXPECT_EQ(ObjectRowMatches(offsets, c.filter), c.offsets) << c.filter;
  }
  EXPECT_EQ(heartbeat.Cells(), (std::vector<std::string>{"0x1017", "0", "Producer heartbeat time",
                                                         "UNSIGNED16", "rw", "2"}));
}

// Catches: the copy not made or made under another name, a second choice not remembered, a
// remembered name that leads out of the devices folder taken as it is.
TEST(ObjectPick, TheProjectKeepsAndRemembersItsCopy) {
  TempDir dir;
  const fs::path project = dir / "Plant";
  fs::create_directories(project);
  EXPECT_FALSE(RememberedEds(project));
  const std::string text = ReadBytes(DataFile("devices/eds/sound.eds"));
  fs::create_directories(dir / "elsewhere");
  WriteBytes(dir / "elsewhere" / "io.eds", text);
  const Result<fs::path> copy = AdoptEds(project, dir / "elsewhere" / "io.eds");
  ASSERT_TRUE(copy.ok()) << copy.error();
  EXPECT_EQ(*copy, project / "devices" / "io.eds");
  EXPECT_EQ(ReadBytes(*copy), text);
  EXPECT_EQ(RememberedEds(project), project / "devices" / "io.eds");
  // Choosing the project's own copy again copies nothing and keeps it remembered.
  ASSERT_TRUE(AdoptEds(project, *copy).ok());
  EXPECT_EQ(ReadBytes(*copy), text);
  for (const char* name : {"../../etc/passwd", "..", "sub/io.eds"}) {
    WriteBytes(project / "devices" / "devices.ini", std::string("[SDO]\r\nEDS=") + name + "\r\n");
    EXPECT_FALSE(RememberedEds(project)) << name;
  }
  EXPECT_FALSE(AdoptEds(project, dir / "missing.eds").ok());
  // A device file named as the folder's settings file is copied beside it, not over it.
  WriteBytes(dir / "Devices.INI", text);
  const Result<fs::path> beside = AdoptEds(project, dir / "Devices.INI");
  ASSERT_TRUE(beside.ok()) << beside.error();
  EXPECT_EQ(*beside, project / "devices" / "Devices.INI.eds");
  EXPECT_EQ(RememberedEds(project), *beside);
}

// Catches: a file name that starts or ends with a blank or a quote remembered so that it reads
// back as another name, whose file is missing at the next showing.
TEST(ObjectPick, RemembersOddFileNamesAsTheyAre) {
  TempDir dir;
  const fs::path project = dir / "Plant";
  fs::create_directories(project);
  const std::string text = ReadBytes(DataFile("devices/eds/sound.eds"));
#ifdef _WIN32
  // Windows allows no double quote in a file name and drops a trailing blank.
  const char* const names[] = {" lead.eds", "'q'", "Gerät A.eds"};
#else
  const char* const names[] = {" lead.eds", "trail.eds ", "\"quoted\".eds", "'q'", "Gerät A.eds"};
#endif
  for (const char* name : names) {
    WriteBytes(dir.path() / PathFromUtf8(name), text);
    const Result<fs::path> copy = AdoptEds(project, dir.path() / PathFromUtf8(name));
    ASSERT_TRUE(copy.ok()) << copy.error();
    EXPECT_EQ(RememberedEds(project), project / "devices" / PathFromUtf8(name)) << name;
    EXPECT_EQ(ReadBytes(*copy), text) << name;
  }
}

// Catches: a standard identifier's message offered as a J1939 frame, the data page or the
// destination address of a PDU1 message put into the PGN, the priority not taken apart.
TEST(DbcFrames, OffersTheJ1939MessagesAndSaysWhyOthersAreLeftOut) {
  const Result<DbcFile> file = ReadDbcFile(DataFile("devices/dbc/sound.dbc"));
  ASSERT_TRUE(file.ok()) << file.error();
  DbcFile more = *file;
  DbcMessage paged;
  paged.identifier = 0x1AFEF100;  // extended data page set
  paged.extended = true;
  paged.name = "Paged";
  paged.length = 8;
  DbcMessage long_one = paged;
  long_one.identifier = 0x19FECA00;  // data page 1, PGN 0x1FECA
  long_one.name = "Dm1";
  long_one.length = 20;
  DbcMessage page_one = long_one;
  page_one.name = "PageOne";
  page_one.length = 8;
  more.messages.insert(more.messages.end(), {paged, long_one, page_one});
  const DbcFrames frames = J1939Frames(more);
  std::vector<std::string> cells;
  for (const DbcFrame& frame : frames.frames) {
    std::string line = std::to_string(frame.priority) + " " + std::to_string(frame.dataPage);
    for (const std::string& cell : frame.Cells())
      line += " " + cell;
    cells.push_back(line);
  }
  EXPECT_EQ(cells, (std::vector<std::string>{"3 0 EEC1 0xF004 0 8", "6 0 RequestPgn 0xEA00 0 3",
                                             "6 1 PageOne 0xFECA 0 8"}));
  EXPECT_EQ(frames.leftOut, (std::vector<std::string>{"Status (11-bit identifier, no J1939 PGN)",
                                                      "Paged (extended data page set)",
                                                      "Dm1 (20 bytes, more than one CAN frame)"}));
}

}  // namespace
}  // namespace quastor::test
