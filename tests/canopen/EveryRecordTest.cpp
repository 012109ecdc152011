// Reading on past unreadable records, as the project check does, beside the editors' reading
// that stops at the first; and the rules the check asks of the CANopen tables' values.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "canopen/EmcyRules.h"
#include "canopen/EmcyWordFiles.h"
#include "canopen/EmcyWords.h"
#include "canopen/PdoTable.h"
#include "canopen/StoredPdo.h"
#include "canopen/StoredPdoFiles.h"
#include "canopen/TableFile.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

// Two good records around a text node, a value that is no number and a missing attribute.
constexpr char kMixed[] = "<t><row n='1'/>text<row n='x'/><row n='4'/><row m='5'/><row n='6'/></t>";

struct Read {
  std::vector<std::int32_t> placed;
  TableFileRead file;
};

Read ReadMixed(const TempDir& dir, TableReading reading) {
  WriteBytes(dir / "t.xml", kMixed);
  Read read;
  read.file = ReadTableFile(
      dir / "t.xml",
      [&](const TableRecord& record) -> Status {
        const Result<std::int32_t> n = record.Number("n");
        if (!n)
          return n.failure();
        read.placed.push_back(*n);
        return Status::Ok();
      },
      reading);
  return read;
}

// Catches an editor that no longer stops where it did, a check that stops, record numbers
// that are off by one, and reasons that do not say which attribute failed.
TEST(EveryRecord, ReadingGoesOnOnlyForTheCheckAndNumbersEachFailure) {
  TempDir dir;
  const struct {
    TableReading reading;
    std::vector<std::int32_t> placed;
    std::vector<std::size_t> failed;
    std::vector<std::string> reasons;
  } cases[] = {
      {TableReading::kStopAtFirstFailure, {1}, {2}, {"it is not an element"}},
      {TableReading::kEveryRecord,
       {1, 4, 6},
       {2, 3, 5},
       {"it is not an element", "attribute \"n\": 'x' is not a valid integer value",
        "attribute \"n\" is missing"}},
  };
  for (const auto& c : cases) {
    const Read read = ReadMixed(dir, c.reading);
    EXPECT_EQ(read.placed, c.placed);
    EXPECT_FALSE(read.file.complete);
    std::vector<std::size_t> failed;
    std::vector<std::string> reasons;
    for (const LoadFailure& failure : read.file.report.failures) {
      failed.push_back(failure.position);
      reasons.push_back(failure.reason);
    }
    EXPECT_EQ(failed, c.failed);
    EXPECT_EQ(reasons, c.reasons);
  }
  // The editors' reasons stay as they were: the conversion's message alone.
  WriteBytes(dir / "t.xml", "<t><row cobid='1' en_bypass='x'/><row/></t>");
  const GridLoad load = LoadPdoTable(dir / "t.xml");
  ASSERT_EQ(load.report.failures.size(), 1u);
  EXPECT_EQ(load.report.failures[0].reason, "'x' is not a valid integer value");
  EXPECT_EQ(load.report.notRead, 2u);
}

// Catches values that the stored PDO, EMCY rule and EMCY word pages would show otherwise
// than the file holds, or not at all, passing the check.
TEST(EveryRecord, ValuesThePagesCannotShowAreFound) {
  const struct {
    const char* poscomp;
    bool shown;
  } poscomps[] = {{"0", true},    {"48", true},  {"136", true},  {"0x88", true}, {"9", false},
                  {"144", false}, {"-1", false}, {"137", false}, {"abc", false}, {"", false}};
  for (const auto& c : poscomps)
    EXPECT_EQ(!PoscompProblem(c.poscomp), c.shown) << c.poscomp;
  EXPECT_EQ(*PoscompProblem("abc"), "'abc' is not a valid integer value");

  for (const std::int32_t value : {0, 53, 4095, 65535})
    EXPECT_TRUE(PoscompShowsWhole(value)) << value;
  for (const std::int32_t value : {-1, -16, 65536, 0x7FFFFFFF})
    EXPECT_FALSE(PoscompShowsWhole(value)) << value;

  for (int alias = -1; alias <= 15; ++alias)
    EXPECT_EQ(AliasShown(alias), alias >= 0 && alias <= 8) << alias;
  EXPECT_EQ(UnpackBypassSet(27).alias_pos, 13);

  EXPECT_EQ(EmcyWordSide(0), Side::kA);
  EXPECT_EQ(EmcyWordSide(1), Side::kB);
  for (const std::int32_t code : {-1, 2, 3, 256})
    EXPECT_EQ(EmcyWordSide(code), std::nullopt) << code;
}

// Catches a stored PDO entry placed on the wrong side or PDO, or kept when its PDO is absent.
TEST(EveryRecord, NrpdoNamesSideAndPdoOrNothing) {
  StoredPdoModel model;
  model.pageA.pdos.emplace_back("0x181", 1);
  model.pageB.pdos.emplace_back("0x182", 1);
  model.pageB.pdos.emplace_back("0x183", 2);
  const struct {
    std::int32_t nrpdo;
    bool fails;
    std::optional<std::pair<Side, std::size_t>> pdo;
  } cases[] = {
      {1, false, std::pair{Side::kA, std::size_t{0}}},
      {2, false, std::nullopt},
      {127, false, std::nullopt},
      {129, false, std::pair{Side::kB, std::size_t{0}}},
      {130, false, std::pair{Side::kB, std::size_t{1}}},
      {131, false, std::nullopt},
      {0, true, std::nullopt},
      {128, true, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto pdo = PdoOfNrpdo(model, c.nrpdo, std::to_string(c.nrpdo));
    ASSERT_EQ(!pdo, c.fails) << c.nrpdo;
    if (pdo) {
      EXPECT_EQ(*pdo, c.pdo) << c.nrpdo;
    }
  }
  EXPECT_EQ(PdoOfNrpdo(model, 0, "0").error(), "nrpdo '0' holds no PDO number from 1 to 127");
}

}  // namespace
}  // namespace quastor::test
