// The utilities as the program wires them: the XML tool opens, edits and writes a project
// file; the string picker fills the SDO editor's mnemonic cell and keeps its choice.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/AppState.h"
#include "app/UQuastoreFirmWare.h"
#include "canopen/USdo.h"
#include "desktop/DesktopApplication.h"
#include "j1939/USetPdo.h"
#include "j1939/USetVar.h"
#include "platform/ui/StringGrid.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/PlantProject.h"
#include "tests/support/TestFiles.h"
#include "tools/USELstringhe.h"
#include "tools/UXML.h"
#include "tools/UXmlTreeModel.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class ToolsWindows : public PlantProjectTest {
 protected:
  // Opens file in the XML tool through its open dialog.
  void Open(TFXML& window, const fs::path& file) {
    fake.dialogs.answers.push_back(file);
    Click(test::Find<QPushButton>(window, "btnopen"));
  }
  // Answers the next "Edit XML" box with text (OK), or cancels it when text is null.
  static void AnswerEdit(const char* text, std::string* shown = nullptr) {
    WhenModalShown([text, shown](QWidget* modal) {
      auto* edit = modal->findChild<QLineEdit*>("Edit1");
      if (shown)
        *shown = S(modal->windowTitle()) + ": " + S(edit->text());
      if (text == nullptr)
        return static_cast<QDialog*>(modal)->reject();
      edit->setText(QString::fromUtf8(text));
      modal->findChild<QPushButton*>("bitbtn1")->click();
    });
  }
  static std::string S(const QString& text) { return text.toStdString(); }
};

TEST_F(ToolsWindows, XmlToolOpensEditsWithF2AndWritesThePargen) {
  WriteBytes(project() / "pargen.xml",
             "<Par_Gen><PROFI_ID>20</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD></Par_Gen>");
  TFXML& window = desktop->Xml();
  window.show();
  const XmlTreeModel& model = window.Model();
  Click(test::Find<QPushButton>(window, "btnopen"));  // cancelled
  EXPECT_EQ(fake.dialogs.lastTitle, "Open XML File");
  EXPECT_EQ(fake.dialogs.lastFilter, "XML Files (*.xml)");
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_TRUE(test::Find<QPushButton>(window, "btnopen")->isEnabled());

  Open(window, project() / "pargen.xml");
  EXPECT_TRUE(test::Find<QPushButton>(window, "btnopen")->isEnabled());
  const QModelIndex file = model.index(0, 0);
  const QModelIndex root = model.index(0, 0, file);
  const QModelIndex profi = model.index(0, 0, root);
  EXPECT_EQ(S(file.data().toString()), "File: pargen.xml");
  EXPECT_EQ(S(root.data().toString()), "Par_Gen");
  EXPECT_EQ(S(profi.data().toString()), "PROFI_ID = 20");
  EXPECT_EQ(profi.data(XmlTreeModel::kImageIndexRole).toInt(), 2);
  Click(test::Find<QPushButton>(window, "btnFullExpand"));
  EXPECT_TRUE(test::Find<QTreeView>(window, "TvXml")->isExpanded(root));

  test::Find<QTreeView>(window, "TvXml")->setCurrentIndex(profi);
  std::string shown;
  AnswerEdit("PROFI_ID = 30", &shown);
  QTest::keyClick(test::Find<QTreeView>(window, "TvXml"), Qt::Key_F2);
  EXPECT_EQ(shown, "Edit XML: PROFI_ID = 20");
  EXPECT_EQ(S(profi.data().toString()), "PROFI_ID = 30");
  EXPECT_EQ(profi.data(XmlTreeModel::kImageIndexRole).toInt(), 2) << "the kind stays";
  Click(test::Find<QPushButton>(window, "btnWrite"));
  EXPECT_TRUE(fake.messages.Texts().empty());
  EXPECT_TRUE(test::Find<QPushButton>(window, "btnWrite")->isEnabled());
  EXPECT_EQ(ReadBytes(project() / "pargen.xml"),
            "<Par_Gen><PROFI_ID>30</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD></Par_Gen>");
}

TEST_F(ToolsWindows, XmlToolAsksBeforeWritingOverAnotherProgramsChange) {
  WriteBytes(project() / "pargen.xml", "<Par_Gen><PROFI_ID>20</PROFI_ID></Par_Gen>");
  TFXML& window = desktop->Xml();
  window.show();
  Open(window, project() / "pargen.xml");
  const std::string theirs = "<Par_Gen><PROFI_ID>99</PROFI_ID></Par_Gen>";
  WriteBytes(project() / "pargen.xml", theirs);
  Click(test::Find<QPushButton>(window, "btnWrite"));  // No
  EXPECT_EQ(fake.messages.Texts(),
            std::vector<std::string>{"pargen.xml was changed by another program since this "
                                     "window read it. Overwrite it?"});
  EXPECT_EQ(ReadBytes(project() / "pargen.xml"), theirs);
  fake.messages.Clear();
  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(window, "btnWrite"));
  EXPECT_EQ(ReadBytes(project() / "pargen.xml"), "<Par_Gen><PROFI_ID>20</PROFI_ID></Par_Gen>");
  fake.messages.Clear();
  Click(test::Find<QPushButton>(window,
                                "btnWrite"));  // what it wrote itself is no other program's change
  EXPECT_TRUE(fake.messages.Texts().empty());
}

TEST_F(ToolsWindows, XmlToolEditsTheRightClickedItemAndKeepsTheTreeOnAFault) {
  WriteBytes(home / "rows.xml", "<rpdodef><row cobid='0x181'/></rpdodef>");
  WriteBytes(home / "broken.xml", "<rpdodef><row cobid='0x181'/>");
  TFXML& window = desktop->Xml();
  window.show();
  Open(window, home / "rows.xml");
  Click(test::Find<QPushButton>(window, "btnFullExpand"));
  const QModelIndex cobid = window.Model().index(
      0, 0, window.Model().index(0, 0, window.Model().index(0, 0, window.Model().index(0, 0))));
  ASSERT_EQ(S(cobid.data().toString()), "cobid = 0x181");
  AnswerEdit("cobid = 0x182");
  QTest::mouseClick(test::Find<QTreeView>(window, "TvXml")->viewport(), Qt::RightButton, {},
                    test::Find<QTreeView>(window, "TvXml")->visualRect(cobid).center());
  EXPECT_EQ(S(cobid.data().toString()), "cobid = 0x182");

  Open(window, home / "broken.xml");
  EXPECT_EQ(fake.messages.Texts(), Texts{"No ending tag for rpdodef"});
  EXPECT_EQ(S(cobid.data().toString()), "cobid = 0x182") << "the tree keeps its content";
  // The file name of a file opened elsewhere names a file of the project.
  Click(test::Find<QPushButton>(window, "btnWrite"));
  EXPECT_EQ(ReadBytes(project() / "rows.xml"), "<rpdodef><row cobid=\"0x182\"/></rpdodef>");
}

// Catches the edit box's default limit of 32,767 characters, which cut a longer value short
// without a word.
TEST_F(ToolsWindows, XmlToolEditsAValueOfAnyLength) {
  const std::string value(40000, 'v');
  WriteBytes(home / "long.xml", "<r a='" + value + "'/>");
  TFXML& window = desktop->Xml();
  window.show();
  Open(window, home / "long.xml");
  Click(test::Find<QPushButton>(window, "btnFullExpand"));
  const QModelIndex a =
      window.Model().index(0, 0, window.Model().index(0, 0, window.Model().index(0, 0)));
  test::Find<QTreeView>(window, "TvXml")->setCurrentIndex(a);
  const std::string edited = "a = " + value + "w";
  std::string shown;
  AnswerEdit(edited.c_str(), &shown);
  QTest::keyClick(test::Find<QTreeView>(window, "TvXml"), Qt::Key_F2);
  EXPECT_EQ(shown.size(), std::string("Edit XML: a = ").size() + value.size());
  EXPECT_EQ(S(a.data().toString()), edited);
  Click(test::Find<QPushButton>(window, "btnWrite"));
  EXPECT_EQ(ReadBytes(project() / "long.xml"), "<r a=\"" + value + "w\"/>");
}

TEST_F(ToolsWindows, PickerFillsTheSdoMnemonicAndKeepsItsChoice) {
  WriteBytes(project() / "strings.xml", "<strings><s>speed</s><s>back</s><s>torque</s></strings>");
  TFsdo& sdo = desktop->Sdo();
  sdo.show();
  // The mnemonic columns of the SDO table and of both frame lists offer the picker.
  for (StringGrid* grid :
       {test::Find<StringGrid>(sdo, "sga"), test::Find<StringGrid>(desktop->SetVar(), "sga"),
        test::Find<StringGrid>(desktop->SetPdo(), "sga")}) {
    const int mnemonic = grid->Model().columnCount() - 1;
    std::unique_ptr<QMenu> menu(grid->NewContextMenu(grid->Model().index(0, mnemonic)));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(S(menu->actions()[0]->text()), "Pick string\u2026");
    // Beside it only the CAN A page of the SDO table offers a pick: the object of its entry.
    std::unique_ptr<QMenu> beside(grid->NewContextMenu(grid->Model().index(0, mnemonic - 1)));
    if (grid == test::Find<StringGrid>(sdo, "sga")) {
      ASSERT_NE(beside, nullptr);
      ASSERT_EQ(beside->actions().size(), 1);
      EXPECT_EQ(S(beside->actions()[0]->text()), "Pick object\u2026");
      EXPECT_EQ(beside->actions()[0]->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F4));
    } else {
      EXPECT_EQ(beside, nullptr);
    }
  }

  test::Find<StringGrid>(sdo, "sgb")
      ->setCurrentIndex(test::Find<StringGrid>(sdo, "sgb")->Model().index(3, 7));
  WhenModalShown([](QWidget* modal) {
    auto* picker = qobject_cast<TFSELstringhe*>(modal);
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(test::Find<StringGrid>(picker, "sg")->Model().Cell(2, 0), "torque");
    EXPECT_EQ(test::Find<StringGrid>(picker, "sg")->Model().Cell(3, 0), "");
    test::Find<StringGrid>(picker, "sg")
        ->setCurrentIndex(test::Find<StringGrid>(picker, "sg")->Model().index(2, 0));
    EXPECT_EQ(S(test::Find<QLabel>(picker, "Label1")->text()), "Sel str: 2");
    test::Find<QPushButton>(picker, "bitbtn1")->click();
  });
  QTest::keyClick(test::Find<StringGrid>(sdo, "sgb"), Qt::Key_F4);
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sgb")->Model().Cell(3, 7), "torque");

  // From the menu of windows, the next showing starts on the last choice; Cancel keeps it.
  ModalCloser closer;
  for (QAction* action : test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions()) {
    if (action->text() == "Select String")
      action->trigger();
  }
  EXPECT_EQ(closer.shown, Texts{"TFSELstringhe"});
  EXPECT_EQ(test::Find<StringGrid>(desktop->SelString(), "sg")->currentIndex().row(), 2);
  EXPECT_EQ(desktop->SelString().SelectedIndex, 2);
  EXPECT_TRUE(fake.messages.Texts().empty());

  fs::remove(project() / "strings.xml");
  desktop->SelString().exec();
  EXPECT_EQ(fake.messages.Texts(), Texts{"File strings XML not found"});
  EXPECT_EQ(test::Find<StringGrid>(desktop->SelString(), "sg")->Model().Cell(2, 0), "");
}

}  // namespace
}  // namespace quastor::test
