// The EMCY editors as the program wires them: a file through the window and back, the
// buttons of a page, and the protections a user meets (rows not shown, a failed import, a
// bit modified with a bad EMCY byte).

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/AppState.h"
#include "canopen/UWemcy.h"
#include "canopen/Uemcy.h"
#include "desktop/DesktopApplication.h"
#include "platform/Workbook.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/PageControls.h"
#include "tests/support/PlantProject.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// A rule row with every mask `mask`, but mask k (0 to 9) `other`.
std::string Rule(const char* id, const char* mask, const char* bypass_set, int k = -1,
                 const char* other = "") {
  std::string row = std::string("<row id_dev=\"") + id + "\"";
  int i = 0;
  for (const char* name :
       {"mask_eq_ec", "mask_eq_er", "mask_eq_m1", "mask_eq_m2", "mask_eq_m3", "enmask_eq_ec",
        "enmask_eq_er", "enmask_eq_m1", "enmask_eq_m2", "enmask_eq_m3"})
    row += std::string(" ") + name + "=\"" + (i++ == k ? other : mask) + "\"";
  return row + " bypass_set=\"" + bypass_set + "\"/>";
}

// A word row of node 5, subindex 1, with bit 3's b0 and poscomp as given.
std::string Word(const char* index, const char* side, const char* poscomp3 = "",
                 const char* b0_3 = "") {
  std::string row = std::string("<row index_addrm=\"") + index + "\" subindex=\"1\" extdata=\"" +
                    side + "\" devid=\"5\"";
  for (int j = 0; j < 16; ++j) {
    const std::string bit = " bit" + std::to_string(j);
    row += bit + "_b0=\"" + (j == 3 ? b0_3 : "") + "\"" + bit + "_b1=\"\"" + bit + "_poscomp=\"" +
           (j == 3 ? poscomp3 : "") + "\"";
  }
  return row + "/>";
}

Texts Items(const QListWidget* list) {
  Texts items;
  for (int i = 0; i < list->count(); ++i)
    items.push_back(list->item(i)->text().toStdString());
  return items;
}

class EmcyWindows : public PlantProjectTest {};

TEST_F(EmcyWindows, RulesThroughThePageAndBackToTheFile) {
  WriteBytes(project() / "emcydef.xml", "<emcydef>" + Rule("7", "1", "13") + Rule("3", "", "45") +
                                            Rule("2", "2", "0") + "</emcydef>");
  TFemcy& window = desktop->Emcy();
  window.show();
  const auto a = test::Page(window, Side::kA);
  const auto b = test::Page(window, Side::kB);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Items(a.LBCan), (Texts{"7", "2"}));
  EXPECT_EQ(Items(b.LBCan), Texts{"3"});
  EXPECT_EQ(a.edits[1]->text(), "1") << "item 0 shown";
  EXPECT_TRUE(a.enable->isChecked());
  EXPECT_EQ(a.aliasItems->checkedId(), 6);
  EXPECT_EQ(b.edits[10]->text(), "0") << "an empty attribute loads as 0";

  a.edits[0]->setText("2");
  Click(a.New);
  EXPECT_EQ(Messages(), Texts{"Index Not Valid"});
  a.edits[0]->setText("0x09");
  a.edits[5]->clear();
  a.aliasItems->button(8)->click();
  Click(a.New);
  EXPECT_EQ(Items(a.LBCan), (Texts{"7", "2", "0x09"}));
  a.LBCan->setCurrentRow(1);
  EXPECT_EQ(a.edits[1]->text(), "2");
  EXPECT_EQ(a.aliasItems->checkedId(), 0);
  a.edits[1]->setText("0xFF");
  Click(a.Modify);
  Click(b.Delete);
  EXPECT_TRUE(Items(b.LBCan).empty());
  Click(test::Find<QPushButton>(window, "button1"));
  EXPECT_EQ(ReadBytes(project() / "emcydef.csv"),
            "7,1,1,1,1,1,1,1,1,1,1,13,\r\n2,0xFF,2,2,2,2,2,2,2,2,2,0,\r\n"
            "0x09,1,1,1,1,0,1,1,1,1,1,17,\r\n");

  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(ReadBytes(project() / "emcydef.xml"),
            "<emcydef>" + Rule("2", "2", "0", 0, "0xFF") + Rule("7", "1", "13") +
                Rule("0x09", "1", "17", 4, "0") + "</emcydef>");
}

// bypass_set 27: enabled, alias position 13, which no radio button stands for. The buttons
// stayed on the rule shown before (2), and Modify wrote that (27 became 5).
TEST_F(EmcyWindows, AliasWithoutAButtonShowsNoneAndIsWrittenBackAsItWas) {
  WriteBytes(project() / "emcydef.xml",
             "<emcydef>" + Rule("5", "1", "27") + Rule("6", "1", "5") + "</emcydef>");
  TFemcy& window = desktop->Emcy();
  window.show();
  const auto a = test::Page(window, Side::kA);
  a.LBCan->setCurrentRow(1);
  EXPECT_EQ(a.aliasItems->checkedId(), 2);
  a.LBCan->setCurrentRow(0);
  EXPECT_EQ(a.aliasItems->checkedId(), -1) << "a button checked for position 13";
  a.edits[1]->setText("0x05");
  Click(a.Modify);
  a.edits[0]->setText("7");
  Click(a.New);  // a copy of the rule shown keeps its position too
  a.LBCan->setCurrentRow(1);
  a.aliasItems->button(3)->click();
  Click(a.Modify);
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_EQ(ReadBytes(project() / "emcydef.xml"),
            "<emcydef>" + Rule("5", "1", "27", 0, "0x05") + Rule("6", "1", "7") +
                Rule("7", "1", "27", 0, "0x05") + "</emcydef>");
}

TEST_F(EmcyWindows, RulesNotShownAreAskedForAndAFailedImportKeepsTheLists) {
  const std::string file = "<emcydef>" + Rule("1", "0", "0") + "<row id_dev=\"2\"/>" +
                           Rule("3", "0", "0") + "</emcydef>";
  WriteBytes(project() / "emcydef.xml", file);
  TFemcy& window = desktop->Emcy();
  window.show();
  EXPECT_EQ(Messages(), (Texts{"Error in reading file XML",
                               "Reading of emcydef.xml stopped at record 2 of 3 (attribute "
                               "\"mask_eq_ec\" is missing), so 2 records are not shown."}));
  const auto a = test::Page(window, Side::kA);
  EXPECT_EQ(Items(a.LBCan), Texts{"1"});
  EXPECT_EQ(a.LBCan->currentRow(), -1);

  fake.messages.Clear();
  fake.dialogs.answers.push_back(home / "no such workbook.xls");
  Click(test::Find<QPushButton>(window, "bitbtn4"));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(fake.messages.Messages()[0].kind, MessageRecorder::Kind::kError);
  EXPECT_EQ(Items(a.LBCan), Texts{"1"}) << "a failed import keeps the lists";

  Click(test::Find<QPushButton>(window, "bitbtn1"));  // answered No
  EXPECT_EQ(fake.messages.Messages().back().kind, MessageRecorder::Kind::kQuestion);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(ReadBytes(project() / "emcydef.xml"), file);

  if (!WorkbookSupported())
    GTEST_SKIP() << "this build reads no workbooks";
  fake.messages.Clear();
  fake.dialogs.answers.push_back(DataFile("canopen/emcy.xlsx"));
  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(window, "bitbtn4"));
  EXPECT_EQ(Messages(), Texts{"Replace the 1 row of emcydef.xml with the 3 rows of EmcyDef?"});
  fake.messages.Clear();
  EXPECT_EQ(Items(a.LBCan), (Texts{"7", "0x05"}));
  EXPECT_EQ(a.edits[6]->text(), "65535");
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_TRUE(Messages().empty()) << "the imported lists replace the file: nothing to ask";
  EXPECT_FALSE(window.isVisible());
  EXPECT_NE(ReadBytes(project() / "emcydef.xml").find("id_dev=\"0x05\""), std::string::npos);
}

TEST_F(EmcyWindows, WordTreesNodesAndButtons) {
  WriteBytes(project() / "emcyword.xml", "<emcyword>" + Word("0x2000", "0", "53") +
                                             Word("0x2001", "0") + Word("0x3000", "2") +
                                             "</emcyword>");
  TFWemcy& window = desktop->Wemcy();
  window.show();
  EXPECT_EQ(Messages(), Texts{"Records of emcyword.xml whose extdata is neither 0 (CanA) nor 1 "
                              "(CanB) are not shown: 1."});
  const auto a = test::Page(window, Side::kA);
  const auto b = test::Page(window, Side::kB);
  QTreeWidget* tree = a.TWCan;
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_EQ(tree->topLevelItem(1)->text(0), "W1");
  EXPECT_EQ(tree->topLevelItem(1)->childCount(), 16);
  EXPECT_EQ(tree->topLevelItem(1)->child(15)->text(0), "Bit15");
  EXPECT_EQ(a.Gbebm->title(), "Mask BIT n°  Define");

  fake.messages.Clear();
  tree->setCurrentItem(tree->topLevelItem(1)->child(3));
  EXPECT_EQ(window.PositionOf(Side::kA, tree->currentItem()), 21u);
  EXPECT_EQ(a.Eindex_addrm->text(), "0x2001");
  EXPECT_EQ(b.GBword_emcy_bitmap->title(), "Word n°1 Emcy Define ");
  EXPECT_EQ(b.Gbebm->title(), "Mask BIT n°3 Define");
  EXPECT_EQ(a.Eposcomp->text() + a.Eposcomp2->text(), "");
  EXPECT_TRUE(Messages().empty()) << "an empty poscomp is no error";

  a.Eb0->setText("0xF0");
  a.Eposcomp->setText("1");
  a.Eposcomp2->setText("x");
  Click(a.modify);
  EXPECT_EQ(Messages(), Texts{"Error! \"Emcy Byte 2\": 'x' is not a valid integer value"});
  EXPECT_EQ(window.Model().pageA.words[1].ebm[3].b0, "") << "half a modification stored";
  // 20 does not fit the four bits poscomp keeps for it: it would come back as 2 and 4.
  fake.messages.Clear();
  a.Eposcomp2->setText("20");
  Click(a.modify);
  EXPECT_EQ(Messages(), Texts{"Error! \"Emcy Byte 2\": '20' lies outside 0 to 15"});
  EXPECT_EQ(window.Model().pageA.words[1].ebm[3].b0, "") << "a byte beyond its bits stored";
  a.Eposcomp2->setText("4");
  Click(a.modify);
  tree->setCurrentItem(tree->topLevelItem(0)->child(3));
  EXPECT_EQ(a.Eposcomp->text() + "/" + a.Eposcomp2->text(), "3/5");

  tree->setCurrentItem(tree->topLevelItem(0));
  Click(a.deleteButton);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->currentItem(), nullptr);
  Click(a.newButton);  // the deleted word's texts are still in the fields
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  EXPECT_EQ(tree->topLevelItem(1)->text(0), "W2");

  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(ReadBytes(project() / "emcyword.xml"),
            "<emcyword>" + Word("0x2000", "0") + Word("0x2001", "0", "20", "0xF0") + "</emcyword>");
}

}  // namespace
}  // namespace quastor::test
