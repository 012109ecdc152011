// The J1939 frame tables as the program wires them: opened from the menu of windows, a frame
// list written by its window and mapped through the info window, and the protections a user
// meets (a refused OK, a partial load, an info file about to lose every row).

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/AppState.h"
#include "app/UQuastoreFirmWare.h"
#include "desktop/DesktopApplication.h"
#include "j1939/USetPdo.h"
#include "j1939/USetVar.h"
#include "j1939/U_Rec_Info.h"
#include "j1939/U_Sen_Info.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/PlantProject.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class J1939Windows : public PlantProjectTest {
 protected:
  // Types text into edit k as a user would and leaves it with the Tab key.
  void TypeAndLeave(FrameInfoDialog& window, int k, const char* text) {
    QLineEdit* edit = test::Find<QLineEdit>(window, "Edit" + std::to_string(k));
    edit->clear();
    QTest::keyClicks(edit, text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(edit, &out);
  }
};

TEST_F(J1939Windows, MenuOpensTheFrameTablesAfterTheCanopenOnes) {
  QStringList captions;
  for (QAction* action : test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions())
    captions << action->text();
  const int first = captions.indexOf("Define EMCY Word") + 1;
  EXPECT_EQ(captions.mid(first, 5),
            (QStringList{"Receive Frames", "Send Frames", "Receive Frames Info", "Send Frames Info",
                         "Tools"}));
  ModalCloser closer;
  for (int i = first; i < first + 4; ++i)
    test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions()[i]->trigger();
  EXPECT_EQ(closer.shown, (Texts{"TFSetVar", "TFSetPdo", "TF_Rec_Info", "TF_Sen_Info"}));
  desktop->State().ProjectDir.clear();
  test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions()[first]->trigger();
  EXPECT_EQ(closer.shown.size(), 4u);
  EXPECT_EQ(Messages(), Texts{"Project not valid"});
}

TEST_F(J1939Windows, ReceiveListThroughTheInfoWindowAndBack) {
  TFSetVar& list = desktop->SetVar();
  list.show();
  auto& grid = test::Find<StringGrid>(list, "sga")->Model();
  const Texts typed[] = {{"0", "0xFEF1", "0", "", "CCVS"}, {"0", "61444", "0x21", "", ""}};
  for (int r = 0; r < 2; ++r) {
    for (int c : {0, 1, 2, 4})
      grid.setData(grid.index(r, c), QString::fromStdString(typed[r][c]), Qt::EditRole);
  }
  grid.setData(grid.index(0, 3), Qt::Checked, Qt::CheckStateRole);
  EXPECT_EQ(grid.Cell(0, 3), "Y");
  Click(test::Find<QPushButton>(list, "bitbtn1"));
  EXPECT_FALSE(list.isVisible());
  EXPECT_EQ(ReadBytes(project() / "Receive_Frame.xml"),
            "<Receive_Frames><row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\" Delete=\"Y\" "
            "Mnemonic=\"CCVS\"/><row DataPage=\"0\" PGN=\"61444\" SA=\"0x21\" Delete=\"\" "
            "Mnemonic=\"\"/></Receive_Frames>");

  TF_Rec_Info& info = desktop->RecInfo();
  info.show();
  EXPECT_TRUE(Messages().empty());
  ASSERT_EQ(test::Find<QListWidget>(info, "ListBox1")->count(), 2);
  EXPECT_EQ(test::Find<QListWidget>(info, "ListBox1")->item(1)->text(), "DP 0, PGN 0xF004, SA 33");
  EXPECT_EQ(test::Find<QLineEdit>(info, "Edit8")->text(), "none");
  TypeAndLeave(info, 1, "5");
  test::Find<QListWidget>(info, "ListBox1")->setCurrentRow(1);
  TypeAndLeave(info, 3, "5");
  TypeAndLeave(info, 2, "128");
  EXPECT_EQ(Messages(), Texts{"Error Byte 2!! Value have to be between 0 to 127 or none. "});
  EXPECT_EQ(test::Find<QLineEdit>(info, "Edit2")->text(), "128")
      << "the rejected text stays for the user to mend";
  fake.messages.Clear();
  Click(test::Find<QPushButton>(info, "bitbtn1"));
  EXPECT_EQ(Messages(), Texts{"Error Byte 2!! Value have to be between 0 to 127 or none. "})
      << "OK takes no edit that shows a refused value";
  test::Find<QLineEdit>(info, "Edit2")->setText("NONE");
  fake.messages.Clear();
  Click(test::Find<QPushButton>(info, "bitbtn1"));
  EXPECT_EQ(Messages(), Texts{"Error!! The Byte 5 is used in COB ID DP 0, PGN 0xF004, SA 33 in "
                              "Byte 3 and in COB ID DP 0, PGN 0xFEF1, SA 0 (CCVS) in Byte 1 "});
  EXPECT_FALSE(fs::exists(project() / "Receive_Info.xml"));
  test::Find<QLineEdit>(info, "Edit3")->setText("0x10");
  Click(test::Find<QPushButton>(info, "bitbtn1"));
  EXPECT_FALSE(info.isVisible());
  EXPECT_NE(ReadBytes(project() / "Receive_Info.xml").find("<row B1=\"255\" B2=\"255\" B3=\"16\""),
            std::string::npos);
  info.show();
  test::Find<QListWidget>(info, "ListBox1")->setCurrentRow(1);
  EXPECT_EQ(test::Find<QLineEdit>(info, "Edit3")->text(), "16");
}

TEST_F(J1939Windows, SendInfoStoresWhileTypingAndTellsOnlyWhenTheEditIsLeft) {
  WriteBytes(project() / "Send_Frame.xml",
             "<Receive_Frames><row COBID=\"F1\" Dim=\"3\"/><row COBID=\"F2\" Dim=\"0\"/>"
             "</Receive_Frames>");
  TF_Sen_Info& info = desktop->SenInfo();
  info.show();
  EXPECT_TRUE(test::Find<QWidget>(info, "Panel3")->isEnabled());
  EXPECT_FALSE(test::Find<QWidget>(info, "Panel4")->isEnabled());
  EXPECT_TRUE(test::Find<QLabel>(info, "Label22")->isVisible());
  EXPECT_FALSE(test::Find<QLabel>(info, "Label21")->isVisible());
  QLineEdit* edit = test::Find<QLineEdit>(info, "Edit1");
  edit->clear();
  QTest::keyClicks(edit, "7");
  EXPECT_EQ(info.Table().frames[0].B1, 7);
  edit->clear();
  QTest::keyClicks(edit, "none");
  EXPECT_EQ(info.Table().frames[0].B1, 255);
  EXPECT_TRUE(Messages().empty()) << "no box while the word is typed";
  TypeAndLeave(info, 2, "12x");
  EXPECT_EQ(Messages(), Texts{"Error Byte 2!! Value have to be between 0 to 127 or none. "});
  fake.messages.Clear();
  TypeAndLeave(info, 2, "5");
  TypeAndLeave(info, 3, "5");
  test::Find<QListWidget>(info, "ListBox1")->setCurrentRow(1);
  EXPECT_FALSE(test::Find<QWidget>(info, "Panel1")->isEnabled()) << "Dim 0: no byte in use";
  Click(test::Find<QPushButton>(info, "bitbtn1"));
  EXPECT_TRUE(Messages().empty()) << "two bytes from one DeviceNet byte are fine when sending";
  EXPECT_NE(ReadBytes(project() / "Send_Info.xml").find("<row B1=\"255\" B2=\"5\" B3=\"5\""),
            std::string::npos);
}

TEST_F(J1939Windows, PartialLoadsAreToldAndAskedAbout) {
  std::string rows;
  for (int i = 0; i < 17; ++i)
    rows += "<row Priority=\"1\" DataPage=\"0\" PGN=\"" + std::to_string(i) +
            "\" SA=\"1\" Mnemonic=\"\"/>";
  WriteBytes(project() / "Send_Frame.xml", "<Receive_Frames>" + rows + "</Receive_Frames>");
  const std::string file = ReadBytes(project() / "Send_Frame.xml");
  TFSetPdo& list = desktop->SetPdo();
  list.show();
  EXPECT_EQ(Messages(), Texts{"Only 16 of the 17 frames of Send_Frame.xml are shown: the list "
                              "holds at most 16."});
  fake.messages.Clear();
  Click(test::Find<QPushButton>(list, "LbButton4"));  // answered No
  ASSERT_EQ(fake.messages.Messages().size(), 1u);
  EXPECT_EQ(fake.messages.Messages()[0].kind, MessageRecorder::Kind::kQuestion);
  EXPECT_EQ(ReadBytes(project() / "Send_Frame.xml"), file);
  EXPECT_TRUE(list.isVisible());
  Click(test::Find<QPushButton>(list, "LbButton3"));
  EXPECT_FALSE(list.isVisible());

  fs::remove(project() / "Send_Frame.xml");
  WriteBytes(project() / "Send_Info.xml",
             "<Send_Frames_Info><row B1=\"1\"/><row/></Send_Frames_Info>");
  TF_Sen_Info& info = desktop->SenInfo();
  info.show();
  EXPECT_FALSE(test::Find<QWidget>(info, "Panel1")->isEnabled());
  fake.messages.Clear();
  Click(test::Find<QPushButton>(info, "bitbtn1"));  // answered No
  EXPECT_EQ(Messages(),
            Texts{"Send_Frame.xml lists no frames, so OK writes Send_Info.xml without any of its 2 "
                  "rows, and their byte mappings are lost. Write the file anyway?"});
  EXPECT_TRUE(info.isVisible());
  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(info, "bitbtn1"));
  EXPECT_EQ(ReadBytes(project() / "Send_Info.xml"), "<Send_Frames_Info/>");
}

}  // namespace
}  // namespace quastor::test
