// Where a problem's window shows it: the page, row, column, entry or element that the project
// check gives each problem, so that the check window can open the editor there.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppState.h"
#include "check/ProblemList.h"
#include "check/ProjectCheck.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

ProblemPlace Place(int page, int row, int column, int entry = -1) {
  ProblemPlace place;
  place.page = page;
  place.row = row;
  place.column = column;
  place.entry = entry;
  return place;
}

ProblemPlace Element(const char* name) {
  ProblemPlace place;
  place.element = name;
  return place;
}

std::string Describe(const ProblemPlace& place) {
  return "page " + std::to_string(place.page) + " row " + std::to_string(place.row) + " column " +
         std::to_string(place.column) + " entry " + std::to_string(place.entry) + " element '" +
         place.element + "'";
}

std::string SdoRow(int conf, const char* index_a) {
  return std::string("<row conf='") + std::to_string(conf) + "' IndexA='" + index_a +
         "' SubindexA='1' devIDB='5' IndexB='0x3000' SubindexB='2' nbyteB='2'/>";
}

std::string EmcyRule(const char* bypass_set, const char* mask_eq_er, bool with_id = true) {
  return std::string("<row ") + (with_id ? "id_dev='5' " : "") + "mask_eq_ec='0' mask_eq_er='" +
         mask_eq_er +
         "' mask_eq_m1='0' mask_eq_m2='0' mask_eq_m3='0' enmask_eq_ec='0' enmask_eq_er='0' "
         "enmask_eq_m1='0' enmask_eq_m2='0' enmask_eq_m3='0' bypass_set='" +
         bypass_set + "'/>";
}

std::string EmcyWord(int extdata, const char* devid) {
  std::string row = "<row index_addrm='0x2000' subindex='1' extdata='" + std::to_string(extdata) +
                    "' devid='" + devid + "'";
  for (int bit = 0; bit < 16; ++bit) {
    const std::string b = "bit" + std::to_string(bit);
    row += " " + b + "_b0='0' " + b + "_b1='0' " + b + "_poscomp=''";
  }
  return row + "/>";
}

// Catches a problem placed on the wrong page, at the record's number instead of its row or item
// on its page, at a row one off, at a field other than the one at fault; a record after the
// first one that the window's show cannot read placed at all (the show stops there); and the
// whole file's problems or a settings element given a row.
TEST(ProblemPlace, EachFilesProblemsArePlacedWhereTheirWindowShowsThem) {
  const struct {
    const char* file;
    std::string content;
    const char* line;  // a piece of the problem's line
    ProblemPlace place;
  } cases[] = {
      // CAN B's second grid row; IndexA is the grid's second column.
      {"sdo.xml", "<sdo>" + SdoRow(1, "1") + SdoRow(0, "1") + SdoRow(1, "x") + "</sdo>", "record 3",
       Place(1, 1, 1)},
      {"sdo.xml", "<sdo><row conf='0'", "file:", Place(-1, -1, -1)},
      // A set bit 2 of en_bypass is CAN A in the file; id_dev_orig is the second column.
      {"rpdodef.xml",
       "<rpdodef><row cobid='0x181' id_dev_orig='1' en_bypass='2' posind='0' n_tpdo='1'/>"
       "<row cobid='0x182' id_dev_orig='1' en_bypass='0' posind='0' n_tpdo='1'/>"
       "<row cobid='0x183' id_dev_orig='300' en_bypass='0' posind='0' n_tpdo='1'/></rpdodef>",
       "record 3", Place(1, 1, 1)},
      // Bit 5 of bypass_set is CAN B; mask_eq_er is the rule's third field.
      {"emcydef.xml",
       "<emcydef>" + EmcyRule("32", "0") + EmcyRule("3", "0") + EmcyRule("33", "300") +
           "</emcydef>",
       "record 3", Place(1, 1, 2)},
      // The show stops at record 1, which it cannot read: record 2 is not in the window.
      {"emcydef.xml", "<emcydef>" + EmcyRule("0", "0", false) + EmcyRule("0", "300") + "</emcydef>",
       "record 2", Place(-1, -1, 2)},
      // A word of CanB after one whose side code shows it nowhere; devid is the third field.
      {"emcyword.xml",
       "<emcyword>" + EmcyWord(1, "5") + EmcyWord(7, "5") + EmcyWord(0, "5") + EmcyWord(1, "200") +
           "</emcyword>",
       "record 4", Place(1, 1, 2)},
      // PDO 2 of CAN A (the second with bit 1 of en_bypass clear), its second entry; the index
      // is the entry's first field.
      {"sdopdo.xml",
       "<sdopdo><row index='0x2000' subindex='1' nrpdo='2' poscomp='0'/>"
       "<row index='0x2001' subindex='1' nrpdo='129' poscomp='0'/>"
       "<row index='0x10000' subindex='1' nrpdo='2' poscomp='0'/></sdopdo>",
       "record 3", Place(0, 1, 0, 1)},
      // Row 2 of the file is the grid's second row; PGN its second column.
      {"Receive_Frame.xml",
       "<Receive_Frames><row DataPage='0' PGN='0xFEF1' SA='0' Delete='N' Mnemonic='a' Dim='2'/>"
       "<row DataPage='0' PGN='0x1FFFF' SA='0' Delete='N' Mnemonic='b' Dim='3'/>"
       "</Receive_Frames>",
       "row 2", Place(-1, 1, 1)},
      // The second frame's third byte takes DeviceNet byte 0 again.
      {"Receive_Info.xml",
       "<Receive_Frames_Info><row B1='0' B2='1' B3='255' B4='255' B5='255' B6='255' B7='255' "
       "B8='255'/><row B1='2' B2='3' B3='0' B4='255' B5='255' B6='255' B7='255' B8='255'/>"
       "</Receive_Frames_Info>",
       "Receive_Info.xml: row 2", Place(-1, 1, 2)},
      {"pargen.xml",
       "<Par_Gen><PROFI_ID>20</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>20</PROFI_NB_IN>"
       "<PROFI_NB_OUT>300</PROFI_NB_OUT><DNET_DEV_ID>10</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD>"
       "</Par_Gen>",
       "PROFI_NB_OUT:", Element("PROFI_NB_OUT")},
  };
  for (const auto& c : cases) {
    TempDir home;
    const fs::path project = home / "PROJECTS" / "Plant";
    fs::create_directories(project.parent_path());
    fs::copy(DataFile("check/clean_full/project"), project, fs::copy_options::recursive);
    WriteBytes(project / c.file, c.content);
    AppState state;
    state.AppDir = home.path();
    state.ProjectsDir = home / "PROJECTS";
    state.ProjectDir = project;
    state.SetProjectPaths();

    std::vector<std::string> lines;
    const CheckProblem* found = nullptr;
    const std::vector<CheckProblem> problems = CheckProject(state);
    for (const CheckProblem& problem : problems) {
      lines.push_back(ProblemLine(problem));
      if (found == nullptr && lines.back().find(c.line) != std::string::npos)
        found = &problem;
    }
    ASSERT_NE(found, nullptr) << c.file << ": no line with " << c.line << "\n"
                              << testing::PrintToString(lines);
    EXPECT_EQ(found->file, c.file);
    EXPECT_EQ(Describe(found->place), Describe(c.place)) << ProblemLine(*found);
  }
}

// Catches PlaceRecord reaching only the problems told after it, or the rows of a row range
// placed at its end.
TEST(ProblemPlace, RecordsArePlacedWhateverTheOrderAndRowsFromTheirFirst) {
  ProblemList list("emcydef.xml");
  list.Record(2, "told before the place", 4);
  list.PlaceRecord(2, 1, 0);
  list.Record(2, "told after the place");
  list.Rows(17, 19, "beyond 16");
  list.RecordNote(3, "not placed");
  const std::vector<CheckProblem> problems = list.Sorted();
  ASSERT_EQ(problems.size(), 4u);
  EXPECT_EQ(Describe(problems[0].place), Describe(Place(1, 0, 4)));
  EXPECT_EQ(Describe(problems[1].place), Describe(Place(1, 0, -1)));
  EXPECT_EQ(Describe(problems[2].place), Describe(Place(-1, -1, -1)));
  EXPECT_EQ(Describe(problems[3].place), Describe(Place(-1, 16, -1)));
}

}  // namespace
}  // namespace quastor::test
