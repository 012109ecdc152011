// The stored PDO definitions: loading the three files, the page operations with their label
// and collision rules, OK's two-part key order, the import and the export.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "canopen/StoredPdoFiles.h"
#include "tests/canopen/CanopenTestSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

constexpr char kPdos[] =
    "<rpdodef><row cobid='0x181' en_bypass='3'/><row cobid='0x182' en_bypass='0'/>"
    "<row cobid='0x183' en_bypass='1'/><row cobid='0x184' en_bypass='2'/></rpdodef>";

std::string Entry(const char* index, const char* subindex, const char* nrpdo, const char* poscomp) {
  return std::string("<row index=\"") + index + "\" subindex=\"" + subindex + "\" nrpdo=\"" +
         nrpdo + "\" poscomp=\"" + poscomp + "\"/>";
}

SdoEdits Edits(const char* index, const char* subindex, int high = 0, int low = 0) {
  return SdoEdits{index, subindex, {high, low}};
}

class StoredPdo : public ::testing::Test {
 protected:
  std::filesystem::path sdopdo() const { return dir_ / "sdopdo.xml"; }
  StoredPdoLoad Load(const char* sdo, const char* pdos, const std::string& entries) {
    if (sdo != nullptr)
      WriteBytes(dir_ / "sdo.xml", sdo);
    if (pdos != nullptr)
      WriteBytes(dir_ / "rpdodef.xml", pdos);
    WriteBytes(sdopdo(), "<sdopdo>" + entries + "</sdopdo>");
    return LoadStoredPdo(dir_.path(), sdopdo());
  }
  TempDir dir_;
};

TEST_F(StoredPdo, LoadTakesPdosByTheReversedSideBitAndCountsEntriesWithoutPdo) {
  const StoredPdoLoad load = Load(
      "<sdo><row conf='1' IndexA='0x3000' SubindexA='0'/><row conf='16' IndexA='1' "
      "SubindexA='2'/></sdo>",
      kPdos,
      Entry("0x2000", "1", "1", "33") + Entry("0x2001", "0", "130", "48") +
          Entry("0x2002", "0", "3", "0") + Entry("7", "7", "2", "0"));
  EXPECT_EQ(PdoLabels(load.model.pageA), (std::vector<std::string>{"0x182", "0x183"}));
  EXPECT_EQ(PdoLabels(load.model.pageB), (std::vector<std::string>{"0x181", "0x184"}));
  EXPECT_EQ(load.model.pageA.pdos[1].number, 2);
  EXPECT_EQ(load.model.pageB.pdos[1].sdoList[0].index, "0x2001");
  EXPECT_EQ(load.model.pageA.pdos[0].sdoList[0].poscomp, "33");
  EXPECT_EQ(load.model.pageA.pdos[1].sdoList[0].index, "7");
  EXPECT_EQ(load.model.pageB.sdoTable[0].index, "0x3000");
  EXPECT_EQ(load.model.pageA.sdoTable[0].subindex, "2");
  const char* kSkipped =
      "Records of sdopdo.xml whose PDO number names no PDO of their side in rpdodef.xml are not "
      "shown: 1.";
  EXPECT_EQ(MessageTexts(load.messages), std::vector<std::string>{kSkipped});
  EXPECT_EQ(load.report.skipped, 1u);
  EXPECT_FALSE(load.complete);
}

TEST_F(StoredPdo, LoadMessagesOfTheThreeFiles) {
  const struct {
    const char* fault;
    const char* sdo;
    const char* pdos;
    std::string entries;
    std::vector<std::string> messages;
    std::size_t entriesA;
    bool complete = false;
  } cases[] = {
      {"missing files not told",
       nullptr,
       nullptr,
       "",
       {"File SDO XML not found", "File PDO XML not found"},
       0,
       true},
      {"broken files not told",
       "<sdo><row conf='0'/></sdo>",
       "<rpdodef><row/>",
       "",
       {"Error in reading file SDO XML", "Error in reading file PDO XML"},
       0},
      {"PDO number 0 not an error",
       "<sdo/>",
       kPdos,
       Entry("1", "1", "1", "0") + Entry("2", "2", "128", "0") + Entry("3", "3", "1", "0"),
       {"Error in reading file SDOPDO XML"},
       1},
      {"a negative nrpdo reaching a PDO",
       "<sdo/>",
       kPdos,
       Entry("1", "1", "-1", "0"),
       {"Error in reading file SDOPDO XML"},
       0},
      {"an entry without poscomp accepted",
       "<sdo/>",
       kPdos,
       Entry("1", "1", "1", "0") + "<row index='2' subindex='2' nrpdo='1'/>",
       {"Error in reading file SDOPDO XML"},
       1},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir_ / "sdo.xml");
    std::filesystem::remove(dir_ / "rpdodef.xml");
    const StoredPdoLoad load = Load(c.sdo, c.pdos, c.entries);
    EXPECT_EQ(MessageTexts(load.messages), c.messages) << c.fault;
    EXPECT_EQ(load.complete, c.complete) << c.fault;
    const auto& pdos = load.model.pageA.pdos;
    EXPECT_EQ(pdos.empty() ? 0 : pdos[0].sdoList.size(), c.entriesA) << c.fault;
  }
  std::filesystem::remove(sdopdo());
  const StoredPdoLoad load = LoadStoredPdo(dir_.path(), sdopdo());
  EXPECT_EQ(load.messages.back().text, "File SDOPDO XML not found");
  EXPECT_FALSE(load.found);
}

TEST_F(StoredPdo, CollisionTestComparesNumbers) {
  StoredPdoModel model = Load("<sdo><row conf='0' IndexA='0x3000' SubindexA='0x01'/></sdo>", kPdos,
                              Entry("0x2000", "1", "1", "0") + Entry("0x2000", "2", "2", "0"))
                             .model;
  StoredPdoPage& page = model.pageA;
  ChoosePdo(page, 1);
  const struct {
    const char* fault;
    SdoEdits edits;
    const char* error;  // nullptr: accepted
  } cases[] = {
      {"numeric match missed", Edits("8192", "1"), "Index or Subindex Not Valid"},
      {"SDO access entry missed", Edits("12288", "1"),
       "Index or Subindex Not Valid,Sdo Already Exists"},
      {"edits not read", Edits("0x2000 ", "1"), "'0x2000 ' is not a valid integer value"},
      {"empty subindex accepted", Edits("0x2001", ""), "'' is not a valid integer value"},
      {"free pair refused", Edits("0x2000", "3"), nullptr},
  };
  for (const auto& c : cases) {
    const Status added = NewSdo(page, c.edits);
    EXPECT_EQ(added.ok() ? "" : added.error(), c.error ? c.error : "") << c.fault;
  }
  EXPECT_EQ(page.pdos[1].sdoList.size(), 2u);
  // Modify of the chosen entry (the new one) with its own pair, and of another PDO's pair.
  ASSERT_TRUE(ModifySdo(page, Edits("0x2000", "3", 3, 0)).ok());
  EXPECT_EQ(page.pdos[1].sdoList[1].poscomp, "48");
  EXPECT_EQ(ModifySdo(page, Edits("0x2000", "1")).error(), "Index or Subindex Not Valid");
  // A stored index that is not a number: only its own Modify passes.
  page.pdos[0].sdoList[0].index = "bad";
  // It is named where it can be mended: the PDO, the entry's label and the edit's label.
  EXPECT_EQ(NewSdo(page, Edits("1", "1")).error(),
            "Error! PDO 0x182, Sdo0, \"Index SDO CANB\": 'bad' is not a valid integer value");
  ChoosePdo(page, 0);
  EXPECT_TRUE(ChooseSdo(page, 0).choice.ok());
  EXPECT_TRUE(ModifySdo(page, Edits("0x2005", "1")).ok());
}

TEST_F(StoredPdo, LabelsAreNotRenumberedAfterDelete) {
  StoredPdoPage page;
  page.pdos.emplace_back("0x181", 1);
  EXPECT_TRUE(NewSdo(page, Edits("1", "1")).ok()) << "nothing happens without a chosen PDO";
  EXPECT_TRUE(page.pdos[0].sdoList.empty());
  ChoosePdo(page, 0);
  for (const char* index : {"1", "2", "3"})
    ASSERT_TRUE(NewSdo(page, Edits(index, "0")).ok());
  EXPECT_EQ(ChooseSdo(page, 1).index, "2");
  DeleteSdo(page);
  ASSERT_TRUE(NewSdo(page, Edits("4", "0")).ok());
  EXPECT_EQ(page.sdoLabels, (std::vector<std::string>{"Sdo0", "Sdo2", "Sdo2"}));
  EXPECT_EQ(page.pdos[0].sdoList[2].index, "4");
  EXPECT_EQ(page.selectedSdo, 2u);
  ChoosePdo(page, 0);
  EXPECT_EQ(page.sdoLabels, (std::vector<std::string>{"Sdo0", "Sdo1", "Sdo2"}));

  page.pdos.emplace_back("0x1FF", 128);
  ChoosePdo(page, 1);
  EXPECT_EQ(NewSdo(page, Edits("9", "9")).error(),
            "Error! PDO 0x1FF is number 128 of its side; only PDOs 1 to 127 can store SDO "
            "entries.");
}

TEST(StoredPdoEdits, PoscompClipboardAndPaste) {
  EXPECT_EQ(ComposePoscomp({3, 0}), "48");
  EXPECT_EQ(ComposePoscomp({-1, 8}), "8");
  const struct {
    const char* poscomp;
    int high, low;
  } splits[] = {{"33", 2, 1}, {"0x88", 8, 8}, {"153", -1, -1}, {"-1", -1, -1}};
  for (const auto& s : splits) {
    const auto choice = SplitPoscomp(s.poscomp);
    ASSERT_TRUE(choice.ok()) << s.poscomp;
    EXPECT_EQ(choice->high, s.high) << s.poscomp;
    EXPECT_EQ(choice->low, s.low) << s.poscomp;
  }
  // Paste before any Copy wiped the edits and said "'' is not a valid integer value".
  EXPECT_FALSE(PasteSdo(SdoClipboard{}).has_value());
  const std::optional<EditsToShow> pasted =
      PasteSdo(CopySdo(StoredPdoPage{}, Edits("0x2000", "3", 5, 2)));
  ASSERT_TRUE(pasted.has_value());
  EXPECT_EQ(pasted->index, "0x2000");
  EXPECT_EQ(pasted->subindex, "3");
  EXPECT_EQ(pasted->choice->high, 5);
  EXPECT_EQ(pasted->choice->low, 2);
}

// An entry whose poscomp halves no radio item shows (above 8): Modify wrote "none" for them.
TEST(StoredPdoEdits, HalvesWithoutACheckedItemKeepTheEntrysValue) {
  const struct {
    const char* fault;
    const char* stored;
    int high, low;  // the radio groups: -1 none checked
    const char* written;
  } cases[] = {
      {"an untouched value written as 0", "153", -1, -1, "153"},
      {"the text of an untouched value rewritten", "0x99", -1, -1, "0x99"},
      {"the high half lost when the low one is picked", "153", -1, 1, "145"},
      {"the low half lost when the high one is picked", "0x9F", 2, -1, "47"},
      {"a picked value not written", "153", 3, 4, "52"},
  };
  for (const auto& c : cases) {
    StoredPdoPage page;
    page.pdos.emplace_back("0x181", 1);
    page.pdos[0].sdoList.push_back(TClSdo{"0x2000", "1", c.stored});
    ChoosePdo(page, 0);
    ChooseSdo(page, 0);
    ASSERT_TRUE(ModifySdo(page, Edits("0x2000", "1", c.high, c.low)).ok()) << c.fault;
    EXPECT_EQ(page.pdos[0].sdoList[0].poscomp, c.written) << c.fault;
    // New and Copy from the entry shown take the same value.
    EXPECT_EQ(CopySdo(page, Edits("0x2001", "1", c.high, c.low)).poscomp, c.written) << c.fault;
    ASSERT_TRUE(NewSdo(page, Edits("0x2001", "1", c.high, c.low)).ok()) << c.fault;
    EXPECT_EQ(page.pdos[0].sdoList[1].poscomp, c.written) << c.fault;
  }
}

TEST_F(StoredPdo, OkWritesEachSideByIndexThenSubindex) {
  const std::string text = "<sdopdo>" + Entry("0x2000", "5", "1", "0") +
                           Entry("0x2001", "1", "1", "33") + Entry("0x2001", "1", "2", "1") +
                           Entry("0x2001", "2", "1", "48") + Entry("0x80000000", "x", "129", "0") +
                           Entry("1", "1", "130", "0") + "</sdopdo>";
  StoredPdoModel model =
      Load("<sdo/>", kPdos,
           Entry("0x2001", "2", "1", "48") + Entry("1", "1", "130", "0") +
               Entry("0x2000", "5", "1", "0") + Entry("0x80000000", "x", "129", "0") +
               Entry("0x2001", "1", "2", "1") + Entry("0x2001", "1", "1", "33"))
          .model;
  ASSERT_TRUE(SaveStoredPdo(sdopdo(), model).ok());
  EXPECT_EQ(ReadBytes(sdopdo()), text);
  // Round trip: what OK wrote reads back into the same file.
  ASSERT_TRUE(SaveStoredPdo(sdopdo(), LoadStoredPdo(dir_.path(), sdopdo()).model).ok());
  EXPECT_EQ(ReadBytes(sdopdo()), text);

  model.pageB.pdos[0].sdoList.push_back(TClSdo{"-2147483648", "0", "0"});
  EXPECT_EQ(SaveStoredPdo(sdopdo(), model).error(), "'x' is not a valid integer value");
  EXPECT_EQ(ReadBytes(sdopdo()), text);
}

TEST_F(StoredPdo, ImportReplacesTheEntryListsAndExportWritesThem) {
  StoredPdoModel model = Load("<sdo/>", kPdos, Entry("9", "9", "1", "0")).model;
  ChoosePdo(model.pageA, 0);
  auto imported = ImportStoredPdoSheet(model, MakeSheet("SdoPdo", 4,
                                                        {{"0x2000", "1", "1", "33"},
                                                         {"0x2001", nullptr, "1", nullptr},
                                                         {"0x2002", "2", "129", "48"},
                                                         {"0x2003", "0", "3", "0"}}));
  ASSERT_TRUE(imported.ok()) << imported.error();
  EXPECT_EQ(imported->report.gaps,
            std::vector<std::string>{"Records of sheet \"SdoPdo\" whose PDO number names no PDO "
                                     "of their side in rpdodef.xml are not shown: 1."});
  ApplyStoredPdoImport(model, std::move(imported.value()));
  EXPECT_FALSE(model.pageA.selectedPdo);
  EXPECT_EQ(model.pageA.pdos[0].sdoList.size(), 2u);
  EXPECT_EQ(model.pageA.pdos[0].sdoList[1].subindex, "");
  EXPECT_TRUE(model.pageA.pdos[1].sdoList.empty());

  const std::string csv = "0x2000,1,1,33,\r\n0x2001,,1,,\r\n0x2002,2,129,48,\r\n";
  EXPECT_EQ(StoredPdoCsvText(model), csv);
  ASSERT_TRUE(ExportStoredPdoCsv(dir_.path(), model).ok());
  EXPECT_EQ(ReadBytes(dir_ / "sdopdo.csv"), csv);
}

}  // namespace
}  // namespace quastor::test
