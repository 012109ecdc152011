// The EMCY word definitions: the tree of 17 nodes per word, showing and modifying nodes, the
// word check, labels after Delete and New, loading emcyword.xml, OK's three-key order, the
// import and the export.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canopen/EmcyWordFiles.h"
#include "tests/canopen/CanopenTestSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

using Texts = std::vector<std::string>;

// A row as OK writes it; bit 0's poscomp as given, every other bit text empty.
std::string Word(const char* index, const char* subindex, const char* side, const char* devid,
                 const char* poscomp0 = "") {
  std::string row = std::string("<row index_addrm=\"") + index + "\" subindex=\"" + subindex +
                    "\" extdata=\"" + side + "\" devid=\"" + devid + "\"";
  for (int j = 0; j < 16; ++j) {
    const std::string bit = " bit" + std::to_string(j);
    row +=
        bit + "_b0=\"\"" + bit + "_b1=\"\"" + bit + "_poscomp=\"" + (j == 0 ? poscomp0 : "") + "\"";
  }
  return row + "/>";
}

std::string File(const std::string& rows) {
  return "<emcyword>" + rows + "</emcyword>";
}

// The texts of a page's tree nodes.
Texts Tree(const WordPage& page) {
  Texts nodes;
  for (std::size_t n = 0; n < NodeCount(page); ++n)
    nodes.push_back(NodeAt(page, n).text);
  return nodes;
}

Texts WordLabels(const WordPage& page) {
  Texts labels;
  for (std::size_t n = 0; n < NodeCount(page); n += kNodesPerWord)
    labels.push_back(NodeAt(page, n).text);
  return labels;
}

WordPage PageOf(std::initializer_list<WordFields> words) {
  WordPage page;
  for (const WordFields& fields : words)
    EXPECT_TRUE(NewWord(page, fields).ok()) << fields.index_addrm;
  return page;
}

class EmcyWords : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_ / "emcyword.xml"; }
  EmcyWordsLoad Load(const std::string& text) {
    WriteBytes(file(), text);
    return LoadEmcyWords(file());
  }
  TempDir dir_;
};

TEST_F(EmcyWords, LoadBuildsTheTreesAndTellsOfWordsWithoutASide) {
  const EmcyWordsLoad load = Load(File(Word("1", "1", "1", "9") + Word("2", "", "0", "9") +
                                       Word("3", "3", "2", "9") + Word("4", "4", "0", "9")));
  const WordPage& a = load.model.pageA;
  ASSERT_EQ(NodeCount(a), 34u);
  EXPECT_EQ(WordLabels(a), (Texts{"W0", "W1"}));
  EXPECT_EQ(WordLabels(load.model.pageB), Texts{"W0"});
  EXPECT_EQ(a.words[0].index_addrm, "2");
  EXPECT_EQ(a.words[0].subindex, "") << "an empty text stays empty";
  EXPECT_EQ(a.words[1].index_addrm, "4");
  const Texts tree = Tree(a);
  EXPECT_EQ(Texts(tree.begin(), tree.begin() + 3), (Texts{"W0", "Bit0", "Bit1"}));
  EXPECT_EQ(tree[16], "Bit15");
  EXPECT_EQ(tree[17], "W1");
  const struct {
    std::size_t n;
    int image, selected;
    NodeKind kind;
  } nodes[] = {{0, 0, 1, NodeKind::kWord}, {1, 2, 3, NodeKind::kBit}, {33, 2, 3, NodeKind::kBit}};
  for (const auto& node : nodes) {
    EXPECT_EQ(NodeAt(a, node.n).image, node.image) << node.n;
    EXPECT_EQ(NodeAt(a, node.n).selectedImage, node.selected) << node.n;
    EXPECT_EQ(NodeAt(a, node.n).kind, node.kind) << node.n;
  }
  const char* skipped =
      "Records of emcyword.xml whose extdata is neither 0 (CanA) nor 1 (CanB) are not shown: 1.";
  EXPECT_EQ(MessageTexts(load.messages), Texts{skipped});
  EXPECT_EQ(load.report.gaps, Texts{skipped});
  EXPECT_FALSE(a.selected);

  const struct {
    std::string text;
    Texts messages;
  } failures[] = {
      {"", {"File XML not found"}},
      {File(Word("1", "1", "0", "1") + "<row index_addrm=\"2\"/>"),
       {"Error in reading file XML",
        "Reading of emcyword.xml stopped at record 2 of 2 (attribute \"subindex\" is missing), "
        "so 1 record is not shown."}},
      {File(Word("1", "1", "", "1")),
       {"Error in reading file XML",
        "Reading of emcyword.xml stopped at record 1 of 1 ('' is not a valid integer value), so "
        "1 record is not shown."}},
  };
  for (const auto& f : failures) {
    std::filesystem::remove(file());
    const EmcyWordsLoad failed = f.text.empty() ? LoadEmcyWords(file()) : Load(f.text);
    EXPECT_EQ(MessageTexts(failed.messages), f.messages);
  }
}

TEST(EmcyWordNodes, ShowNodeFillsTheFieldsAndCaptions) {
  WordPage page = PageOf({{"0x2000", "1", "5"}, {"0x2001", "2", "5"}});
  page.words[1].ebm[3] = ClEbm{"0xFF", "0x0F", "53"};
  page.words[1].ebm[4] = ClEbm{"1", "2", "x"};
  page.words[1].ebm[5].poscomp = "-1";
  const struct {
    const char* fault;
    std::size_t n;
    const char* wordCaption;
    const char* bitCaption;
    BitFields bit;
    const char* error;
  } cases[] = {
      {"wrong word or bit",
       21,
       "Word n°1 Emcy Define ",
       "Mask BIT n°3 Define",
       {"0xFF", "0x0F", "3", "5"},
       ""},
      {"an empty poscomp an error",
       18,
       "Word n°1 Emcy Define ",
       "Mask BIT n°0 Define",
       {"", "", "", ""},
       ""},
      {"another bit's bytes left shown",
       22,
       "Word n°1 Emcy Define ",
       "Mask BIT n°4 Define",
       {"1", "2", "", ""},
       "'x' is not a valid integer value"},
      {"a negative poscomp's low bits",
       23,
       "Word n°1 Emcy Define ",
       "Mask BIT n°5 Define",
       {"", "", "4095", "15"},
       ""},
      {"bit fields kept for a word node",
       0,
       "Word n°0 Emcy Define ",
       "Mask BIT n°  Define",
       {"", "", "", ""},
       ""},
  };
  for (const auto& c : cases) {
    const auto shown = ShowNode(page, c.n);
    ASSERT_TRUE(shown) << c.fault;
    EXPECT_EQ(page.selected, c.n) << c.fault;
    EXPECT_EQ(shown->wordCaption, c.wordCaption) << c.fault;
    EXPECT_EQ(shown->bitCaption, c.bitCaption) << c.fault;
    EXPECT_EQ(shown->word.index_addrm, c.n < 17 ? "0x2000" : "0x2001") << c.fault;
    const BitFields& bit = shown->bit;
    EXPECT_EQ((Texts{bit.b0, bit.b1, bit.emcyByte1, bit.emcyByte2}),
              (Texts{c.bit.b0, c.bit.b1, c.bit.emcyByte1, c.bit.emcyByte2}))
        << c.fault;
    EXPECT_EQ(shown->error, c.error) << c.fault;
  }
  EXPECT_FALSE(ShowNode(page, 34));
}

TEST(EmcyWordNodes, ModifyStoresAllOrNothing) {
  WordPage page = PageOf({{"1", "1", "5"}, {"2", "1", "5"}});
  const WordFields own{"1", "1", "5"};
  const struct {
    const char* fault;
    std::size_t n;
    WordFields word;
    BitFields bit;
    const char* error;
    const char* poscomp;  // of the node's bit, after
  } cases[] = {
      {"53 not packed", 4, own, {"1", "2", "3", "5"}, "", "53"},
      {"second byte limited to 4 bits", 4, own, {"1", "2", "1", "20"}, "", "36"},
      {"not truncated to 16 bits", 4, own, {"", "", "4096", "0"}, "", "0"},
      {"masks stored before a bad byte",
       4,
       own,
       {"9", "9", "1", "x"},
       "'x' is not a valid integer value",
       "0"},
      {"empty byte accepted", 4, own, {"9", "9", "", "1"}, "'' is not a valid integer value", "0"},
      {"own texts refused", 0, own, {}, "", nullptr},
      {"another word's texts accepted", 0, {"2", "1", "5"}, {}, "Index Not Valid", nullptr},
      {"an empty text accepted", 0, {"1", "", "5"}, {}, "Index Not Valid", nullptr},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(ShowNode(page, c.n)) << c.fault;
    const Status modified = ModifyNode(page, c.word, c.bit);
    EXPECT_EQ(modified.ok() ? "" : modified.error(), c.error) << c.fault;
    if (c.poscomp != nullptr) {
      EXPECT_EQ(page.words[0].ebm[3].poscomp, c.poscomp) << c.fault;
    }
  }
  EXPECT_EQ(page.words[0].ebm[3].b0, "") << "the refused modifications changed the masks";
  ASSERT_TRUE(ShowNode(page, 17));
  ASSERT_TRUE(ModifyNode(page, {"3", "3", "3"}, {}).ok());
  EXPECT_EQ(page.words[1].devid, "3");
  EXPECT_EQ(NodeAt(page, 17).text, "W1") << "the label stays";
  page.selected.reset();
  EXPECT_TRUE(ModifyNode(page, {"", "", ""}, {}).ok()) << "nothing without a selection";
}

TEST(EmcyWordNodes, CheckWordAndLabelsAfterDeleteAndNew) {
  WordPage a = PageOf({{"0x2000", "1", "5"}, {"0x2000", "2", "5"}, {"0x2000", "3", "5"}});
  WordPage b;
  const struct {
    const char* fault;
    WordPage* page;
    WordFields fields;
    const char* error;
  } cases[] = {
      {"empty index accepted", &a, {"", "1", "5"}, "Index Not Valid"},
      {"empty node ID accepted", &a, {"1", "1", ""}, "Index Not Valid"},
      {"repeated word accepted", &a, {"0x2000", "2", "5"}, "Index Not Valid"},
      {"texts compared as numbers", &a, {"8192", "2", "5"}, ""},
      {"sides not tested apart", &b, {"0x2000", "2", "5"}, ""},
  };
  for (const auto& c : cases) {
    const Status added = NewWord(*c.page, c.fields);
    EXPECT_EQ(added.ok() ? "" : added.error(), c.error) << c.fault;
  }
  EXPECT_EQ(WordLabels(a), (Texts{"W0", "W1", "W2", "W3"}));
  ASSERT_TRUE(ShowNode(a, 20));
  DeleteWord(a);
  EXPECT_EQ(a.words.size(), 4u) << "a bit node deleted its word";
  ASSERT_TRUE(ShowNode(a, 51));
  DeleteWord(a);
  ASSERT_TRUE(ShowNode(a, 17));
  DeleteWord(a);
  EXPECT_FALSE(a.selected);
  EXPECT_EQ(NodeCount(a), 34u);
  EXPECT_EQ(NextWordLabel(a), 3);
  ASSERT_TRUE(NewWord(a, {"1", "1", "1"}).ok());
  EXPECT_EQ(WordLabels(a), (Texts{"W0", "W2", "W3"}));
  EXPECT_EQ(NextWordLabel(WordPage{}), 0);
}

TEST_F(EmcyWords, OkWritesByNodeThenIndexThenSubindex) {
  const std::string written =
      File(Word("1", "1", "0", "3") + Word("0x1000", "1", "0", "5") +
           Word("0x2000", "2", "0", "5", "8") + Word("0x2000", "2", "0", "5", "7") +
           Word("0x2000", "x", "0", "1000000") + Word("1", "1", "1", "1"));
  WordModel model = Load(File(Word("0x2000", "2", "0", "5", "8") + Word("1", "1", "1", "1") +
                              Word("0x2000", "2", "0", "5", "7") + Word("0x1000", "1", "0", "5") +
                              Word("1", "1", "0", "3") + Word("0x2000", "x", "0", "1000000")))
                        .model;
  ASSERT_TRUE(SaveEmcyWords(file(), model).ok());
  EXPECT_EQ(ReadBytes(file()), written) << "equal words: in list order";
  // Round trip: the file reads back into the same words, and equal ones keep their places
  // (they swapped at every save when the one further down went first).
  ASSERT_TRUE(SaveEmcyWords(file(), LoadEmcyWords(file()).model).ok());
  EXPECT_EQ(ReadBytes(file()), written);

  model.pageA.words[0].devid = "1000000";
  EXPECT_EQ(SaveEmcyWords(file(), model).error(), "'x' is not a valid integer value");
  EXPECT_EQ(ReadBytes(file()), written);
}

TEST(EmcyWordExchange, ImportAndExport) {
  std::vector<const char*> cells(52, nullptr);
  cells[0] = "0x2000", cells[1] = "1", cells[2] = "1", cells[3] = "5", cells[6] = "53";
  std::vector<const char*> other = cells;
  other[2] = "3";
  std::vector<const char*> second = cells;
  second[2] = "1", second[0] = "a,b";
  auto imported = ImportEmcyWordsSheet(MakeSheet("EmcyWord", 52, {cells, other, second}));
  ASSERT_TRUE(imported.ok()) << imported.error();
  const WordModel& model = imported->model;
  EXPECT_EQ(WordLabels(model.pageB), (Texts{"W0", "W1"}));
  EXPECT_TRUE(model.pageA.words.empty());
  EXPECT_EQ(model.pageB.words[0].ebm[0].poscomp, "53");
  EXPECT_EQ(model.pageB.words[0].ebm[0].b1, "");
  EXPECT_EQ(imported->report.skipped, 1u);
  EXPECT_EQ(imported->report.gaps, Texts{"Records of sheet \"EmcyWord\" whose extdata is neither "
                                         "0 (CanA) nor 1 (CanB) are not shown: 1."});
  const std::string empty_bits = std::string(45, ',') + "\r\n";
  // The side code before the node ID, as in the sheet, so that the CSV imports back.
  EXPECT_EQ(EmcyWordsCsvText(model),
            "0x2000,1,1,5,,,53," + empty_bits + "\"a,b\",1,1,5,,,53," + empty_bits);

  cells[2] = nullptr;
  EXPECT_EQ(ImportEmcyWordsSheet(MakeSheet("emcyword", 52, {cells})).error(),
            "Error! Row 2 of sheet \"emcyword\", column C (extdata): the cell is empty");
  EXPECT_EQ(ImportEmcyWordsSheet(MakeSheet("emcyword", 51, {})).error(),
            "Error! The sheet \"emcyword\" has 51 columns, but the table needs 52.");
}

TEST(EmcyWordExchange, WorkbookFixtures) {
  if (!WorkbookSupported())
    GTEST_SKIP() << "this build reads no workbooks";
  for (const char* name : {"canopen/emcy.xls", "canopen/emcy.xlsx"}) {
    const auto imported = ImportEmcyWordsWorkbook(DataFile(name));
    ASSERT_TRUE(imported.ok()) << name << ": " << imported.error();
    const WordModel& model = imported->model;
    ASSERT_EQ(model.pageA.words.size(), 1u) << name;
    EXPECT_EQ(model.pageA.words[0].index_addrm, "0x2000") << name;
    EXPECT_EQ(model.pageA.words[0].ebm[15].poscomp, "53") << name;
    EXPECT_EQ(model.pageA.words[0].ebm[0].b0, "") << name;
    ASSERT_EQ(model.pageB.words.size(), 1u) << name;
    EXPECT_EQ(model.pageB.words[0].devid, "7") << name;
    EXPECT_EQ(imported->report.skipped, 1u) << name;
  }
}

}  // namespace
}  // namespace quastor::test
