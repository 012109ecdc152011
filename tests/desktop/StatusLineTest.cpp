// The status lines as the program wires them: after OK an editor tells the main window what
// it wrote; Export and Import say what they did in the editor's own line; an import asks
// before it replaces rows the table holds; Steps 3 and 4 say what they wrote; the frame info
// windows and the XML tool share the editors' frame.

#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/UQuastoreFirmWare.h"
#include "canopen/USdo.h"
#include "desktop/DesktopApplication.h"
#include "j1939/USetVar.h"
#include "j1939/U_Rec_Info.h"
#include "platform/PathText.h"
#include "platform/Workbook.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/PlantProject.h"
#include "tests/support/TestFiles.h"
#include "tools/UXML.h"
#include "tools/UXmlTreeModel.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class StatusLines : public PlantProjectTest {
 protected:
  static std::string Said(QWidget* window) {
    const auto* line = window->findChild<QLabel*>("StatusLine");
    EXPECT_NE(line, nullptr) << window->objectName().toStdString();
    return line != nullptr ? line->text().toStdString() : std::string();
  }
  std::string MainSaid() { return Said(&desktop->MainWindow()); }
  static void Type(StringGrid* grid, int row, int column, const char* text) {
    grid->Model().setData(grid->Model().index(row, column), text, Qt::EditRole);
  }
  static void TypeEntry(StringGrid* grid, int row) {
    const char* entry[] = {"1", "0x2001", "1", "5", "0x6000", "1", "2", "m"};
    for (int c = 0; c < 8; ++c)
      Type(grid, row, c, entry[c]);
  }
  // Rows with any cell typed, counted apart from the editors' own rule.
  static std::size_t Typed(const StringGrid* grid) {
    std::size_t count = 0;
    for (const auto& row : grid->Model().Rows())
      count += std::any_of(row.begin(), row.end(), [](const std::string& c) { return !c.empty(); });
    return count;
  }
};

TEST_F(StatusLines, OkOfAnEditorTellsTheMainWindowWhatItWrote) {
  TFsdo& sdo = desktop->Sdo();
  sdo.show();
  for (int row : {0, 1})
    TypeEntry(test::Find<StringGrid>(sdo, "sga"), row);
  TypeEntry(test::Find<StringGrid>(sdo, "sgb"), 4);
  Click(test::Find<QPushButton>(sdo, "bitbtn1"));
  ASSERT_FALSE(sdo.isVisible()) << testing::PrintToString(Messages());
  EXPECT_EQ(MainSaid(), "sdo.xml saved: 3 records (CAN A 2, CAN B 1)");

  TFSetVar& frames = desktop->SetVar();
  frames.show();
  EXPECT_EQ(Said(&frames), "") << "a new showing has done nothing yet";
  const char* frame[] = {"0", "0xFEF1", "0"};
  for (int row : {0, 1})
    for (int c = 0; c < 3; ++c)
      Type(test::Find<StringGrid>(frames, "sga"), row, c, frame[c]);
  Click(frames.findChild<QPushButton*>("bitbtn1"));
  ASSERT_FALSE(frames.isVisible());
  EXPECT_EQ(MainSaid(), "Receive_Frame.xml saved: 2 records");
}

TEST_F(StatusLines, ExportAndImportSayWhatTheyDidAndImportAsksFirst) {
  TFsdo& sdo = desktop->Sdo();
  sdo.show();
  Type(test::Find<StringGrid>(sdo, "sga"), 5, 7, "typed");
  Type(test::Find<StringGrid>(sdo, "sgb"), 0, 1, "0x2002");
  Click(test::Find<QPushButton>(sdo, "button1"));
  EXPECT_TRUE(fs::exists(project() / "sdo.csv"));
  EXPECT_EQ(Said(&sdo), "Exported " + Utf8FromPath(project() / "sdo.csv") + " (2 rows)");

  if (!WorkbookSupported())
    GTEST_SKIP() << "this build reads no workbooks";
  fake.dialogs.answers = {DataFile("canopen/tables.xlsx"), DataFile("canopen/tables.xlsx")};
  Click(test::Find<QPushButton>(sdo, "bitbtn4"));  // No
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].rfind("Replace the 2 rows of sdo.xml with the ", 0), 0u) << Messages()[0];
  EXPECT_EQ(Said(&sdo).rfind("Exported ", 0), 0u) << "the status line still tells the export";
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->Model().Cell(5, 7), "typed")
      << "No changes nothing";
  EXPECT_NE(test::Find<StringGrid>(sdo, "sga")->Model().Cell(0, 7), "speed");

  fake.messages.Clear();
  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(sdo, "bitbtn4"));
  const std::size_t a = Typed(test::Find<StringGrid>(sdo, "sga")),
                    b = Typed(test::Find<StringGrid>(sdo, "sgb"));
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->Model().Cell(0, 7), "speed");
  EXPECT_EQ(Messages(), Texts{"Replace the 2 rows of sdo.xml with the " + std::to_string(a + b) +
                              " rows of SDO?"});
  EXPECT_EQ(Said(&sdo), "Imported " + std::to_string(a + b) +
                            " rows from tables.xlsx, sheet SDO: " + "CAN A " + std::to_string(a) +
                            ", CAN B " + std::to_string(b));

  // A table that holds no row is replaced without a question.
  fake.messages.Clear();
  sdo.reject();
  fake.messages.AnswerNext(true);  // the discard question of the import
  sdo.reject();
  sdo.show();
  fake.messages.Clear();
  fake.dialogs.answers = {DataFile("canopen/tables.xlsx")};
  Click(test::Find<QPushButton>(sdo, "bitbtn4"));
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->Model().Cell(0, 7), "speed");
}

TEST_F(StatusLines, StepsThreeAndFourSayWhatTheyWrote) {
  WriteBytes(project() / "pargen.xml",
             "<Par_Gen><PROFI_ID>3</PROFI_ID><PROFI_BAUD>0</PROFI_BAUD><PROFI_NB_IN>100"
             "</PROFI_NB_IN><PROFI_NB_OUT>20</PROFI_NB_OUT><DNET_DEV_ID>1</DNET_DEV_ID>"
             "<DNET_BAUD>0</DNET_BAUD></Par_Gen>");
  const fs::path gsd = project() / "gateway.gsd";
  fake.dialogs.answers = {gsd};
  Click(test::Find<QPushButton>(desktop->MainWindow(), "btn_str_lng2a"));
  EXPECT_EQ(MainSaid(), "GSD written: " + Utf8FromPath(gsd) + " (3 modules)");  // 64 + 36, 20

  ModalCloser closer;
  Click(test::Find<QPushButton>(desktop->MainWindow(), "CreateBina"));
  EXPECT_EQ(closer.shown, Texts{"TFBootSer"});
  EXPECT_EQ(MainSaid(), "bank.bin written (" +
                            std::to_string(fs::file_size(project() / "bin" / "bank.bin")) +
                            " bytes)");
}

TEST_F(StatusLines, FrameInfoChangesAreAskedAboutTakenBackAndReported) {
  WriteBytes(project() / "Receive_Frame.xml",
             "<Receive_Frames><row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\"/><row DataPage=\"0\" "
             "PGN=\"61444\" SA=\"0x21\"/></Receive_Frames>");
  TF_Rec_Info& info = desktop->RecInfo();
  info.show();
  test::Find<QLineEdit>(info, "Edit1")->setText("5");
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(test::Find<QLineEdit>(info, "Edit1"), &out);
  ASSERT_TRUE(info.HasChanges());
  info.reject();  // No
  EXPECT_EQ(Messages(), Texts{"Discard the changes to Receive_Info.xml?"});
  EXPECT_TRUE(info.isVisible());
  test::Find<QListWidget>(info, "ListBox1")->setCurrentRow(1);
  EXPECT_TRUE(info.Undo());
  EXPECT_EQ(test::Find<QListWidget>(info, "ListBox1")->currentRow(), 0)
      << "the undo shows its frame";
  EXPECT_EQ(test::Find<QLineEdit>(info, "Edit1")->text(), "none");
  EXPECT_FALSE(info.HasChanges());
  EXPECT_TRUE(info.Redo());
  EXPECT_EQ(test::Find<QLineEdit>(info, "Edit1")->text(), "5");
  fake.messages.Clear();
  Click(test::Find<QPushButton>(info, "bitbtn1"));
  ASSERT_FALSE(info.isVisible()) << testing::PrintToString(Messages());
  EXPECT_NE(ReadBytes(project() / "Receive_Info.xml").find("<row B1=\"5\""), std::string::npos);
  EXPECT_EQ(MainSaid(), "Receive_Info.xml saved: 2 records");
}

TEST_F(StatusLines, XmlToolSaysWhatWriteWroteAndAsksBeforeEditsAreLost) {
  WriteBytes(project() / "rows.xml", "<rpdodef><row cobid='0x181'/></rpdodef>");
  TFXML& window = desktop->Xml();
  window.show();
  fake.dialogs.answers.push_back(project() / "rows.xml");
  Click(test::Find<QPushButton>(window, "btnopen"));
  const QModelIndex cobid = window.Model().index(
      0, 0, window.Model().index(0, 0, window.Model().index(0, 0, window.Model().index(0, 0))));
  ASSERT_EQ(cobid.data().toString().toStdString(), "cobid = 0x181");
  WhenModalShown([](QWidget* modal) {
    modal->findChild<QLineEdit*>("Edit1")->setText("cobid = 0x182");
    modal->findChild<QPushButton*>("bitbtn1")->click();
  });
  test::Find<QTreeView>(window, "TvXml")->setCurrentIndex(cobid);
  QTest::keyClick(test::Find<QTreeView>(window, "TvXml"), Qt::Key_F2);
  ASSERT_EQ(cobid.data().toString().toStdString(), "cobid = 0x182");
  window.reject();  // No
  EXPECT_EQ(Messages(), Texts{"Discard the changes to rows.xml?"});
  EXPECT_TRUE(window.isVisible());

  Click(test::Find<QPushButton>(window, "btnWrite"));
  const std::string written = ReadBytes(project() / "rows.xml");
  EXPECT_EQ(written, "<rpdodef><row cobid=\"0x182\"/></rpdodef>");
  EXPECT_EQ(Said(&window), "rows.xml written (" + std::to_string(written.size()) + " bytes)");
  fake.messages.Clear();
  window.reject();
  EXPECT_TRUE(Messages().empty()) << "written: nothing to lose";
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace quastor::test
