// The CANopen table editors as the program wires them: opened from the menu of windows, a file
// through the window and back, and the protections a user meets (a partial load, a refused OK,
// a failed import).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/AppState.h"
#include "app/UQuastoreFirmWare.h"
#include "canopen/UInfoPdo.h"
#include "canopen/USdo.h"
#include "canopen/UTwoGridTable.h"
#include "canopen/Updo.h"
#include "desktop/DesktopApplication.h"
#include "platform/Workbook.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/PageControls.h"
#include "tests/support/PlantProject.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class CanopenWindows : public PlantProjectTest {};

constexpr char kPdoFile[] =
    "<rpdodef><row cobid=\"0x285\" id_dev_orig=\"1\" en_bypass=\"3\" posind=\"0\" n_tpdo=\"1\"/>"
    "<row cobid=\"0x181\" id_dev_orig=\"2\" en_bypass=\"0\" posind=\"1\" n_tpdo=\"2\"/>"
    "<row cobid=\"0x183\" id_dev_orig=\"3\" en_bypass=\"1\" posind=\"2\" n_tpdo=\"3\"/></rpdodef>";

Texts Items(const QListWidget* list) {
  Texts items;
  for (int i = 0; i < list->count(); ++i)
    items.push_back(list->item(i)->text().toStdString());
  return items;
}

TEST_F(CanopenWindows, MenuOpensTheTablesOnlyWithAProject) {
  QStringList captions;
  for (QAction* action : test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions())
    captions << action->text();
  EXPECT_EQ(captions.mid(0, 6),
            (QStringList{"Tables", "Set SDO Access", "Define Traslate PDO", "Define Store PDO",
                         "Set Traslate EMCY", "Define EMCY Word"}));
  ModalCloser closer;
  for (int i : {1, 2, 3, 4, 5})
    test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions()[i]->trigger();
  EXPECT_EQ(closer.shown, (Texts{"TFsdo", "TFpdo", "TFInfopdo", "TFemcy", "TFWemcy"}));
  // PROJECTS itself is no project: nothing may be written there.
  fake.messages.Clear();
  desktop->State().ProjectDir = desktop->State().ProjectsDir;
  test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions()[1]->trigger();
  test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions()[5]->trigger();
  EXPECT_EQ(closer.shown.size(), 5u);
  EXPECT_EQ(Messages(), (Texts{"Project not valid", "Project not valid"}));
}

TEST_F(CanopenWindows, PdoTableRoundTripInKeyOrderAndARefusedGap) {
  WriteBytes(project() / "rpdodef.xml", kPdoFile);
  TFpdo& window = desktop->Pdo();
  window.show();
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->Model().Cell(0, 0), "0x285");
  EXPECT_EQ(test::Find<StringGrid>(window, "sgb")->Model().Cell(1, 0), "0x183");
  test::Find<StringGrid>(window, "sga")
      ->Model()
      .setData(test::Find<StringGrid>(window, "sga")->Model().index(1, 0), "0x181", Qt::EditRole);
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(ReadBytes(project() / "rpdodef.xml"),
            "<rpdodef><row cobid=\"0x181\" id_dev_orig=\"\" en_bypass=\"2\" posind=\"\" "
            "n_tpdo=\"\"/><row cobid=\"0x285\" id_dev_orig=\"1\" en_bypass=\"3\" posind=\"0\" "
            "n_tpdo=\"1\"/><row cobid=\"0x181\" id_dev_orig=\"2\" en_bypass=\"0\" posind=\"1\" "
            "n_tpdo=\"2\"/><row cobid=\"0x183\" id_dev_orig=\"3\" en_bypass=\"1\" posind=\"2\" "
            "n_tpdo=\"3\"/></rpdodef>");

  // A filled row below an empty cobid is refused, not dropped; the file stays.
  const std::string before = ReadBytes(project() / "rpdodef.xml");
  window.show();
  test::Find<StringGrid>(window, "sga")
      ->Model()
      .setData(test::Find<StringGrid>(window, "sga")->Model().index(0, 0), "", Qt::EditRole);
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_TRUE(window.isVisible());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0],
            "Error! Entry N° 1 of \"PDO From CanA to CanB\" is filled, but the cobid of entry "
            "N° 0 above it is empty. Fill in that cobid, or clear the entries below it.")
      << "row 0 holds only an unticked box, which is nothing";
  EXPECT_EQ(ReadBytes(project() / "rpdodef.xml"), before);
}

// Deleting PDO 0x181 moved 0x182 to number 1, and its stored definition with it, without a word.
TEST_F(CanopenWindows, PdoOkAsksForDefinitionsItDeletesAndRewritesTheOthers) {
  WriteBytes(project() / "rpdodef.xml",
             "<rpdodef><row cobid=\"0x181\" id_dev_orig=\"1\" en_bypass=\"0\" posind=\"0\" "
             "n_tpdo=\"1\"/><row cobid=\"0x182\" id_dev_orig=\"2\" en_bypass=\"0\" posind=\"0\" "
             "n_tpdo=\"2\"/></rpdodef>");
  const std::string definitions =
      "<sdopdo><row index=\"0x2001\" subindex=\"1\" nrpdo=\"1\" poscomp=\"33\"/>"
      "<row index=\"0x2002\" subindex=\"1\" nrpdo=\"2\" poscomp=\"33\"/></sdopdo>";
  WriteBytes(project() / "sdopdo.xml", definitions);
  TFpdo& window = desktop->Pdo();
  window.show();
  auto& grid = test::Find<StringGrid>(window, "sgb")->Model();
  for (int c = 0; c < 5; ++c) {
    grid.setData(grid.index(0, c), grid.index(1, c).data(), Qt::EditRole);
    grid.setData(grid.index(1, c), "", Qt::EditRole);
  }
  fake.messages.Clear();
  Click(test::Find<QPushButton>(window, "bitbtn1"));  // No
  EXPECT_EQ(Messages(), Texts{"OK deletes the PDOs 0x181, and with them 1 stored definition of "
                              "sdopdo.xml. Write the files anyway?"});
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(ReadBytes(project() / "sdopdo.xml"), definitions);

  fake.messages.Clear();
  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[1],
            "The PDOs moved, so sdopdo.xml was rewritten too, and its stored definitions keep "
            "their PDOs (1 stored definition).");
  EXPECT_EQ(ReadBytes(project() / "sdopdo.xml"),
            "<sdopdo><row index=\"0x2002\" subindex=\"1\" nrpdo=\"1\" poscomp=\"33\"/></sdopdo>");
}

TEST_F(CanopenWindows, PartialLoadAsksBeforeOkAndAFailedImportKeepsTheGrids) {
  WriteBytes(project() / "rpdodef.xml",
             "<rpdodef><row cobid=\"0x181\" id_dev_orig=\"1\" en_bypass=\"3\" posind=\"0\" "
             "n_tpdo=\"1\"/><row cobid=\"0x182\" en_bypass=\"3\"/></rpdodef>");
  const std::string file = ReadBytes(project() / "rpdodef.xml");
  TFpdo& window = desktop->Pdo();
  window.show();
  ASSERT_GE(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "Error in reading file XML");
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->Model().Cell(0, 0), "0x181");

  fake.dialogs.answers.push_back(home / "no such workbook.xls");
  Click(test::Find<QPushButton>(window, "bitbtn4"));
  EXPECT_EQ(fake.dialogs.lastFilter, "File EXCEL (*.xls *.xlsx *.ods)");
  EXPECT_EQ(fake.messages.Messages().back().kind, MessageRecorder::Kind::kError);
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->Model().Cell(0, 0), "0x181")
      << "a failed import keeps the grids";

  fake.messages.Clear();
  Click(test::Find<QPushButton>(window, "bitbtn1"));  // answered No
  ASSERT_EQ(fake.messages.Messages().size(), 1u);
  EXPECT_EQ(fake.messages.Messages()[0].kind, MessageRecorder::Kind::kQuestion);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(ReadBytes(project() / "rpdodef.xml"), file);
  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_NE(ReadBytes(project() / "rpdodef.xml"), file);
}

TEST_F(CanopenWindows, SdoTableKeepsWhatIsTypedInSdoXml) {
  TFsdo& window = desktop->Sdo();
  window.show();
  EXPECT_TRUE(Messages().empty()) << "no sdo.xml yet: nothing to say";
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->Model().rowCount(), 1500);
  auto& b = test::Find<StringGrid>(window, "sgb")->Model();
  const Texts typed = {"1", "0x2000", "1", "5", "0x6000", "1", "2", "a, b"};
  for (int column = 0; column < 8; ++column)
    b.setData(b.index(0, column), QString::fromStdString(typed[column]), Qt::EditRole);
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  window.show();
  EXPECT_EQ(test::Find<StringGrid>(window, "sgb")->Model().Rows()[0], typed)
      << "what was typed comes back from sdo.xml";
  EXPECT_TRUE(test::Find<StringGrid>(window, "sga")->Model().Rows()[0] == Texts(8, ""));
  Click(test::Find<QPushButton>(window, "button1"));
  EXPECT_TRUE(Messages().empty());
  EXPECT_NE(ReadBytes(project() / "sdo.csv").find("17,0x2000,1,5,0x6000,1,2,\"a, b\",\r\n"),
            std::string::npos);
}

// Catches: OK writing a cell that its field refuses (the file must stay), a refusal that
// names another row or column than the grid shows or leaves another cell selected, and an
// attribute the table does not know lost by an OK (or kept by a row emptied to delete it).
TEST_F(CanopenWindows, OkRefusesACellItsFieldRefusesAndSelectsIt) {
  const std::string sdo_file =
      "<sdo><row conf=\"0\" IndexA=\"0x2000\" SubindexA=\"1\" devIDB=\"5\" IndexB=\"0x6000\" "
      "SubindexB=\"1\" nbyteB=\"2\" mnemonico=\"m\" note=\"keep me\"/><row conf=\"1\" "
      "IndexA=\"0x2001\" SubindexA=\"1\" devIDB=\"5\" IndexB=\"0x6000\" SubindexB=\"1\" "
      "nbyteB=\"2\" mnemonico=\"m\" by=\"hand\"/></sdo>";
  const struct {
    const char* fault;
    bool pdo;  // else the SDO access table
    Side side;
    int row, column;  // the grid's, from 0 below the titles and after "N°"
    const char* text;
    const char* message;
  } cases[] = {
      {"SubIndex 300 written", false, Side::kA, 0, 2, "300",
       "Error! N° 0 of \"SDO from CAN A request to CAN B\", column \"SubIndex\": '300' lies "
       "outside 0 to 255"},
      {"RW R written", false, Side::kB, 3, 0, "R",
       "Error! N° 3 of \"SDO from CAN B request to CAN A\", column \"RW\": 'R' is neither 0 nor "
       "1"},
      {"blanks around a number written", false, Side::kB, 0, 4, " 20 ",
       "Error! N° 0 of \"SDO from CAN B request to CAN A\", column \"Index\": ' 20 ' has "
       "blanks"},
      {"a node ID past 127 written", true, Side::kB, 1, 1, "200",
       "Error! N° 1 of \"PDO From CanB to CanA\", column \"id_dev_orig\": '200' lies outside 1 "
       "to 127"},
  };
  for (const auto& c : cases) {
    WriteBytes(project() / "sdo.xml", sdo_file);
    WriteBytes(project() / "rpdodef.xml", kPdoFile);
    TwoGridTableDialog& window =
        c.pdo ? static_cast<TwoGridTableDialog&>(desktop->Pdo()) : desktop->Sdo();
    window.show();
    fake.messages.Clear();
    StringGrid* grid = c.side == Side::kA ? test::Find<StringGrid>(window, "sga")
                                          : test::Find<StringGrid>(window, "sgb");
    grid->Model().setData(grid->Model().index(c.row, c.column), c.text, Qt::EditRole);
    Click(test::Find<QPushButton>(window, "bitbtn1"));
    EXPECT_TRUE(window.isVisible()) << c.fault;
    EXPECT_EQ(Messages(), Texts{c.message}) << c.fault;
    EXPECT_EQ(test::Find<QTabWidget>(window, "Notebook")->currentIndex(),
              c.side == Side::kA ? 0 : 1)
        << c.fault;
    EXPECT_EQ(grid->currentIndex(), grid->Model().index(c.row, c.column)) << c.fault;
    EXPECT_EQ(ReadBytes(project() / "sdo.xml"), sdo_file) << c.fault;
    EXPECT_EQ(ReadBytes(project() / "rpdodef.xml"), kPdoFile) << c.fault;
    fake.messages.AnswerNext(true);  // discard the refused edit
    window.reject();
    ASSERT_FALSE(window.isVisible()) << c.fault;
  }

  // An OK without edits keeps what the table does not know; a row emptied takes it along, and
  // a row that holds nothing (an unticked box) is not written.
  TFsdo& window = desktop->Sdo();
  window.show();
  fake.messages.Clear();
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_EQ(ReadBytes(project() / "sdo.xml"), sdo_file);
  window.show();
  auto& a = test::Find<StringGrid>(window, "sga")->Model();
  for (int column = 0; column < 8; ++column)
    a.setData(a.index(0, column), column == 0 ? "0" : "", Qt::EditRole);
  a.setData(a.index(5, 0), "0", Qt::EditRole);
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(ReadBytes(project() / "sdo.xml"),
            "<sdo><row conf=\"1\" IndexA=\"0x2001\" SubindexA=\"1\" devIDB=\"5\" "
            "IndexB=\"0x6000\" SubindexB=\"1\" nbyteB=\"2\" mnemonico=\"m\" by=\"hand\"/></sdo>");
}

// A failed import leaves the grids as they were; the next import of a sound workbook works.
TEST_F(CanopenWindows, ImportAfterAFailedImport) {
  if (!WorkbookSupported())
    GTEST_SKIP() << "this build reads no workbooks";
  TFsdo& window = desktop->Sdo();
  window.show();
  test::Find<StringGrid>(window, "sga")->Model().SetCell(5, 7, "typed");
  fake.dialogs.answers = {DataFile("canopen/bad_flags.xls"), DataFile("canopen/tables.xlsx")};
  Click(test::Find<QPushButton>(window, "bitbtn4"));
  EXPECT_EQ(Messages(), Texts{"Error! Row 3 of sheet \"sdo\", column A (conf): the cell is empty"});
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->Model().Cell(5, 7), "typed");
  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(window, "bitbtn4"));
  EXPECT_EQ(Messages().size(), 2u) << "the question before the rows are replaced";
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->Model().Cell(0, 7), "speed");
  EXPECT_EQ(test::Find<StringGrid>(window, "sgb")->Model().Cell(0, 7), "temp, max \"C\"");
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->Model().Cell(5, 7), "");
}

TEST_F(CanopenWindows, StoredPdoEntriesThroughTheButtons) {
  WriteBytes(project() / "rpdodef.xml", kPdoFile);
  WriteBytes(project() / "sdo.xml", "<sdo/>");
  WriteBytes(project() / "sdopdo.xml",
             "<sdopdo><row index=\"0x2000\" subindex=\"1\" nrpdo=\"1\" poscomp=\"33\"/></sdopdo>");
  TFInfopdo& window = desktop->InfoPdo();
  window.show();
  const auto a = test::Page(window, Side::kA);
  EXPECT_EQ(a.LPdoCan->count(), 2);  // 0x181 and 0x183: bit 1 clear is CAN A here
  a.LPdoCan->setCurrentRow(1);       // 0x183 has no entry yet
  a.Eindex->setText("8192");
  a.Esubindex->setText("1");
  Click(a.New);
  EXPECT_EQ(Messages(), Texts{"Index or Subindex Not Valid"}) << "0x2000/1 of PDO 1 collides";
  a.Esubindex->setText("2");
  a.msbItems->button(3)->click();
  Click(a.New);
  EXPECT_EQ(a.LSdoCan->count(), 1);
  EXPECT_EQ(a.LSdoCan->item(0)->text(), "Sdo0");
  Click(test::Find<QPushButton>(window, "LbButton1"));
  EXPECT_EQ(ReadBytes(project() / "sdopdo.xml"),
            "<sdopdo><row index=\"0x2000\" subindex=\"1\" nrpdo=\"1\" poscomp=\"33\"/>"
            "<row index=\"8192\" subindex=\"2\" nrpdo=\"2\" poscomp=\"48\"/></sdopdo>");
}

// A click on the item already chosen did nothing, so the labels stayed Sdo0, Sdo2, Sdo2 after a
// Delete and the edits kept what the user had typed; Paste before any Copy wiped the edits.
TEST_F(CanopenWindows, StoredPdoReloadsAClickedItemAndPasteBeforeCopySaysSo) {
  WriteBytes(project() / "rpdodef.xml", kPdoFile);
  WriteBytes(project() / "sdo.xml", "<sdo/>");
  WriteBytes(project() / "sdopdo.xml",
             "<sdopdo><row index=\"1\" subindex=\"0\" nrpdo=\"1\" poscomp=\"0\"/>"
             "<row index=\"2\" subindex=\"0\" nrpdo=\"1\" poscomp=\"0\"/>"
             "<row index=\"3\" subindex=\"0\" nrpdo=\"1\" poscomp=\"0\"/></sdopdo>");
  TFInfopdo& window = desktop->InfoPdo();
  window.show();
  const auto a = test::Page(window, Side::kA);
  const auto click = [](QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  };
  click(a.LPdoCan, 0);
  click(a.LSdoCan, 1);
  Click(a.Delete);
  a.Eindex->setText("4");
  Click(a.New);
  EXPECT_EQ(Items(a.LSdoCan), (Texts{"Sdo0", "Sdo2", "Sdo2"}));
  click(a.LPdoCan, 0);
  EXPECT_EQ(Items(a.LSdoCan), (Texts{"Sdo0", "Sdo1", "Sdo2"})) << "the chosen PDO not reloaded";
  click(a.LSdoCan, 1);
  a.Eindex->setText("typed");
  click(a.LSdoCan, 1);
  EXPECT_EQ(a.Eindex->text(), "3") << "the chosen entry not reloaded";

  fake.messages.Clear();
  Click(a.Paste);
  EXPECT_EQ(Messages(), Texts{"Nothing to paste: no SDO of this page was copied yet."});
  EXPECT_EQ(a.Eindex->text(), "3");
}

}  // namespace
}  // namespace quastor::test
