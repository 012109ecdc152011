// The tables' lists of fields as OK applies them to the grids, and the attributes a table does
// not know, which every table file keeps on its records from one OK to the next.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/EmcyRulesFiles.h"
#include "canopen/EmcyWordFiles.h"
#include "canopen/PdoTable.h"
#include "canopen/SdoTable.h"
#include "canopen/StoredPdoFiles.h"
#include "canopen/TableFields.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

GridRows Rows(std::size_t empty_rows_before, GridRow row) {
  GridRows rows(empty_rows_before, GridRow(row.size()));
  rows.push_back(std::move(row));
  return rows;
}

// Catches: a value that the key order, the collision test or the gateway cannot read written
// by OK, a value typed in another notation refused, a row of nothing checked (or written), and
// a refusal that names another row or column than the grid shows.
TEST(TableFields, OkRefusesWhatALaterStepCannotReadAndNamesTheCellAsTheGridShowsIt) {
  const GridRow sdo = {"1", "0x2000", "1", "5", "0x3000", "2", "2", "speed"};
  auto sdo_with = [&](std::size_t column, const char* text) {
    GridRow row = sdo;
    row[column] = text;
    return row;
  };
  const struct {
    const char* fault;
    const TableFields& fields;
    GridRows rows;
    const char* message;  // "" when OK goes on
  } cases[] = {
      {"a sound row refused", SdoFields(), Rows(0, sdo), ""},
      {"SubIndex 300 written", SdoFields(), Rows(0, sdo_with(2, "300")),
       "Error! N° 0 of \"P\", column \"SubIndex\": '300' lies outside 0 to 255"},
      {"RW \"R\" written", SdoFields(), Rows(0, sdo_with(0, "R")),
       "Error! N° 0 of \"P\", column \"RW\": 'R' is neither 0 nor 1"},
      {"an index that does not read written", SdoFields(), Rows(0, sdo_with(1, "0x20G0")),
       "Error! N° 0 of \"P\", column \"Index\": '0x20G0' is not a valid integer value"},
      {"blanks not named", SdoFields(), Rows(0, sdo_with(4, " 20 ")),
       "Error! N° 0 of \"P\", column \"Index\": ' 20 ' has blanks"},
      {"a hexadecimal bound refused", SdoFields(), Rows(0, sdo_with(4, "0xFFFF")), ""},
      {"the row's number off by one", SdoFields(), Rows(41, sdo_with(6, "5")),
       "Error! N° 41 of \"P\", column \"nbyte\": '5' lies outside 1 to 4"},
      {"a row of nothing checked", SdoFields(), Rows(3, {"0", "", " ", "", "", "", "", ""}), ""},
      {"an empty PDO field refused", PdoFields(), Rows(0, {"0x181", "", "0", "", ""}), ""},
      {"a 29-bit identifier with bit 31 refused", PdoFields(),
       Rows(0, {"0x80000181", "1", "1", "0", "1"}), ""},
      {"node 128 written", PdoFields(), Rows(2, {"0x181", "128", "1", "0", "1"}),
       "Error! N° 2 of \"P\", column \"id_dev_orig\": '128' lies outside 1 to 127"},
  };
  for (const auto& c : cases) {
    const std::vector<CellProblem> problems = GridProblems(c.fields, SideGrids{c.rows, GridRows{}});
    EXPECT_EQ(problems.empty() ? "" : CellProblemMessage(c.fields, problems.front(), "P"),
              c.message)
        << c.fault;
  }
}

// The first record of text with two attributes no table knows after its own.
std::string WithUnknown(std::string text) {
  const std::size_t end = text.find("/>");
  return end == std::string::npos ? text : text.insert(end, " note=\"keep me\" by=\"hand\"");
}

struct KeptCase {
  const char* file;
  // The file loaded as the window shows it and written as OK writes it; with delete_kept, the
  // record that kept something deleted first.
  std::function<std::string(const fs::path& dir, bool delete_kept)> okText;
};

template <typename Records>
void EraseKept(Records& records) {
  for (auto it = records.begin(); it != records.end(); ++it) {
    if (!it->kept.empty()) {
      records.erase(it);
      return;
    }
  }
}

// Empties the grid row whose record kept something, as the user does to delete it.
void EmptyKeptRow(SideGrids& grids) {
  for (const Side side : kBothSides) {
    for (std::size_t r = 0; r < grids.of(side).size(); ++r) {
      if (!grids.Kept(side, r).empty())
        for (std::string& cell : grids.of(side)[r])
          cell.clear();
    }
  }
}

// Catches: an attribute a table does not know dropped by an OK without edits, written before
// the known ones or out of its order, put on another record, or kept after its record was
// deleted.
TEST(KeptAttributes, EveryTableWritesBackWhatItDoesNotKnowOnItsRecord) {
  const KeptCase cases[] = {
      {"sdo.xml",
       [](const fs::path& dir, bool del) {
         GridLoad load = LoadSdoTable(ProjectFilesIn(dir).sdo);
         if (del)
           EmptyKeptRow(load.model);
         return SdoTableText(load.model);
       }},
      {"rpdodef.xml",
       [](const fs::path& dir, bool del) {
         GridLoad load = LoadPdoTable(dir / "rpdodef.xml");
         if (del)
           EmptyKeptRow(load.model);
         return PdoTableText(load.model).value();
       }},
      {"sdopdo.xml",
       [](const fs::path& dir, bool del) {
         StoredPdoLoad load = LoadStoredPdo(dir, dir / "sdopdo.xml");
         if (del) {
           for (TClPdo& pdo : load.model.pageA.pdos)
             EraseKept(pdo.sdoList);
         }
         return StoredPdoFileText(load.model).value();
       }},
      {"emcydef.xml",
       [](const fs::path& dir, bool del) {
         EmcyRulesLoad load = LoadEmcyRules(dir / "emcydef.xml");
         if (del)
           EraseKept(load.model.pageA.rules);
         return EmcyRulesFileText(load.model).value();
       }},
      {"emcyword.xml",
       [](const fs::path& dir, bool del) {
         EmcyWordsLoad load = LoadEmcyWords(dir / "emcyword.xml");
         if (del)
           EraseKept(load.model.pageA.words);
         return EmcyWordsFileText(load.model).value();
       }},
  };
  for (const KeptCase& c : cases) {
    TempDir dir;
    fs::copy(DataFile("check/clean_full/project"), dir.path(), fs::copy_options::recursive);
    const std::string plain = c.okText(dir.path(), false);
    const std::string kept = WithUnknown(plain);
    ASSERT_NE(kept, plain) << c.file;
    WriteBytes(dir / c.file, kept);
    EXPECT_EQ(c.okText(dir.path(), false), kept) << c.file;

    // Deleted, the record takes them along; the others stay as they were.
    const std::string deleted = c.okText(dir.path(), true);
    EXPECT_EQ(deleted.find("keep me"), std::string::npos) << c.file;
    EXPECT_EQ(deleted.find(plain.substr(0, plain.find("<row"))), 0u) << c.file;
    EXPECT_LT(deleted.size(), plain.size()) << c.file;
  }
}

}  // namespace
}  // namespace quastor::test
