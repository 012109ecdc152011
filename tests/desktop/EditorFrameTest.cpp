// The frame every table editor shares, as the program wires it: no work is lost to Escape,
// Cancel, the close box or Enter; changes can be taken back; OK and Cancel have Alt keys; the
// focus starts in the table; a maximized editor comes back at its own size; and the grids'
// clipboard reaches the SDO table.

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "canopen/UInfoPdo.h"
#include "canopen/USdo.h"
#include "canopen/UWemcy.h"
#include "canopen/Uemcy.h"
#include "canopen/Updo.h"
#include "desktop/DesktopApplication.h"
#include "j1939/USetVar.h"
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

class EditorFrames : public PlantProjectTest {
 protected:
  void TypeInto(StringGrid* grid, int row, int column, const char* text) {
    grid->Model().setData(grid->Model().index(row, column), text, Qt::EditRole);
  }

  // Each editor, and a change a user makes in it.
  struct Editor {
    const char* file;
    std::function<EditorFrame&(DesktopApplication&)> open;
    std::function<void(EditorFrames&, EditorFrame&)> change;
  };
  std::vector<Editor> Editors() {
    return {
        {"sdo.xml", [](DesktopApplication& d) -> EditorFrame& { return d.Sdo(); },
         [](EditorFrames& t, EditorFrame& w) {
           t.TypeInto(test::Find<StringGrid>(w, "sga"), 0, 0, "0x2001");
         }},
        {"rpdodef.xml", [](DesktopApplication& d) -> EditorFrame& { return d.Pdo(); },
         [](EditorFrames& t, EditorFrame& w) {
           t.TypeInto(test::Find<StringGrid>(w, "sgb"), 3, 1, "7");
         }},
        {"emcydef.xml", [](DesktopApplication& d) -> EditorFrame& { return d.Emcy(); },
         [](EditorFrames& t, EditorFrame& w) {
           const auto a = test::Page(static_cast<TFemcy&>(w), Side::kA);
           a.edits[0]->setText("2");
           t.Click(a.New);
         }},
        {"Receive_Frame.xml", [](DesktopApplication& d) -> EditorFrame& { return d.SetVar(); },
         [](EditorFrames& t, EditorFrame& w) {
           t.TypeInto(test::Find<StringGrid>(w, "sga"), 2, 0, "0x18FEF100");
         }},
    };
  }
};

TEST_F(EditorFrames, EscapeCancelAndTheCloseBoxAskBeforeChangesAreLost) {
  for (const Editor& editor : Editors()) {
    EditorFrame& window = editor.open(*desktop);
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible()) << editor.file << ": nothing changed, closed at once";

    window.show();
    editor.change(*this, window);
    fake.messages.Clear();
    QTest::keyClick(&window, Qt::Key_Escape);          // No
    window.close();                                    // No
    Click(window.findChild<QPushButton*>("bitbtn2"));  // No
    const std::string question = "Discard the changes to " + std::string(editor.file) + "?";
    EXPECT_EQ(Messages(), (Texts{question, question, question}));
    EXPECT_TRUE(window.isVisible()) << editor.file;
    fake.messages.AnswerNext(true);
    Click(window.findChild<QPushButton*>("bitbtn2"));
    EXPECT_FALSE(window.isVisible()) << editor.file;
    EXPECT_FALSE(fs::exists(project() / editor.file)) << "nothing written";
  }
}

TEST_F(EditorFrames, EnterInTheGridMovesDownAndNeverSaves) {
  TFsdo& window = desktop->Sdo();
  window.show();
  TypeInto(test::Find<StringGrid>(window, "sga"), 0, 0, "0x2001");
  test::Find<StringGrid>(window, "sga")
      ->setCurrentIndex(test::Find<StringGrid>(window, "sga")->Model().index(0, 0));
  QTest::keyClick(test::Find<StringGrid>(window, "sga"), Qt::Key_Return);
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(fs::exists(project() / "sdo.xml"));
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->currentIndex().row(), 1);
}

TEST_F(EditorFrames, CtrlFFindsOnThePageShownWhereverTheFocusIs) {
  TFsdo& window = desktop->Sdo();
  window.show();
  test::Find<QTabWidget>(window, "Notebook")->setCurrentIndex(1);
  TypeInto(test::Find<StringGrid>(window, "sgb"), 4, 7, "torque");
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  test::Find<QPushButton>(window, "bitbtn2")->setFocus();
  QTest::keyClick(test::Find<QPushButton>(window, "bitbtn2"), Qt::Key_F, Qt::ControlModifier);
  auto* line = test::Find<StringGrid>(window, "sgb")->findChild<QLineEdit*>("findLine");
  ASSERT_NE(line, nullptr) << "the find line of the page shown";
  ASSERT_TRUE(line->isVisible());
  QTest::keyClicks(line, "TORQ");
  QTest::keyClick(line, Qt::Key_Return);
  EXPECT_EQ(test::Find<StringGrid>(window, "sgb")->currentIndex(),
            test::Find<StringGrid>(window, "sgb")->Model().index(4, 7));
  EXPECT_EQ(test::Find<StringGrid>(window, "sga")->findChild<QLineEdit*>("findLine"), nullptr);
  test::Find<QPushButton>(window, "bitbtn2")->setFocus();
  QTest::keyClick(test::Find<QPushButton>(window, "bitbtn2"), Qt::Key_F3);
  EXPECT_EQ(test::Find<StringGrid>(window, "sgb")->currentIndex(),
            test::Find<StringGrid>(window, "sgb")->Model().index(4, 7))
      << "F3: the only match";
  EXPECT_TRUE(window.isVisible());
}

TEST_F(EditorFrames, AltKeysOnOkAndCancelAndTheFocusStartsInTheTable) {
  const std::vector<EditorFrame*> windows = {&desktop->Sdo(),     &desktop->Pdo(),
                                             &desktop->InfoPdo(), &desktop->Emcy(),
                                             &desktop->Wemcy(),   &desktop->SetVar()};
  for (EditorFrame* window : windows) {
    window->show();
    const auto buttons = window->findChildren<QPushButton*>();
    QStringList captions;
    for (QPushButton* button : buttons)
      captions << button->text();
    EXPECT_TRUE(captions.contains("&OK")) << window->objectName().toStdString();
    EXPECT_TRUE(captions.contains("&Cancel"));
    QWidget* focus = window->focusWidget();
    ASSERT_NE(focus, nullptr) << window->objectName().toStdString();
    EXPECT_EQ(qobject_cast<QPushButton*>(focus), nullptr)
        << window->objectName().toStdString() << " starts on " << focus->objectName().toStdString();
    if (window->findChild<StringGrid*>() != nullptr) {
      EXPECT_EQ(focus->objectName(), "sga") << "the grid of the first page";
    }
    window->hide();
  }
}

TEST_F(EditorFrames, AMaximizedEditorComesBackAtItsOwnSize) {
  const std::vector<EditorFrame*> windows = {&desktop->Sdo(), &desktop->Pdo(), &desktop->InfoPdo(),
                                             &desktop->SetVar()};
  for (EditorFrame* window : windows) {
    window->show();
    const QSize size = window->size();
    window->showMaximized();
    QApplication::processEvents();
    window->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(window->size(), size) << window->objectName().toStdString();
    EXPECT_LE(window->minimumSizeHint().width(), size.width());
    window->hide();
  }
}

// Catches: a cell given the text it holds (an edit confirmed unchanged, a paste of the same
// text) counted as a change, so that the first Ctrl+Z takes back nothing visible and Escape
// asks to discard changes there are none of.
TEST_F(EditorFrames, AnEditThatKeepsTheTextIsNoChange) {
  TFsdo& sdo = desktop->Sdo();
  sdo.show();
  StringGrid* grid = test::Find<StringGrid>(sdo, "sga");
  TypeInto(grid, 0, 1, "");
  EXPECT_FALSE(sdo.HasChanges());
  TypeInto(grid, 0, 1, "0x2001");
  TypeInto(grid, 0, 1, "0x2001");
  ASSERT_TRUE(sdo.Undo());
  EXPECT_EQ(grid->Model().Cell(0, 1), "") << "one Ctrl+Z takes the typing back";
  EXPECT_FALSE(sdo.HasChanges());
  fake.messages.Clear();
  QTest::keyClick(&sdo, Qt::Key_Escape);
  EXPECT_FALSE(sdo.isVisible());
  EXPECT_TRUE(Messages().empty()) << Messages().front();
}

TEST_F(EditorFrames, UndoAndRedoWalkTheChangesOfTheWindow) {
  TFemcy& emcy = desktop->Emcy();
  emcy.show();
  const auto a = test::Page(emcy, Side::kA);
  for (const char* id : {"2", "3"}) {
    a.edits[0]->setText(id);
    Click(a.New);
  }
  a.LBCan->setCurrentRow(0);
  Click(a.Delete);
  EXPECT_EQ(a.LBCan->count(), 1);
  emcy.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&emcy));
  test::Find<QPushButton>(emcy, "bitbtn1")->setFocus();
  QTest::keyClick(test::Find<QPushButton>(emcy, "bitbtn1"), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(a.LBCan->count(), 2) << "Delete taken back";
  emcy.Undo();
  emcy.Undo();
  EXPECT_EQ(a.LBCan->count(), 0);
  EXPECT_FALSE(emcy.HasChanges());
  QTest::keyClick(test::Find<QPushButton>(emcy, "bitbtn1"), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(a.LBCan->count(), 1);
  EXPECT_TRUE(emcy.HasChanges());
}

// A range pasted from the clipboard is one change of the window.
TEST_F(EditorFrames, APasteIsOneChangeOfTheWindow) {
  TFsdo& sdo = desktop->Sdo();
  sdo.show();
  QApplication::clipboard()->setText("0x2001\t1\n0x2002\t2\n");
  test::Find<StringGrid>(sdo, "sga")
      ->setCurrentIndex(test::Find<StringGrid>(sdo, "sga")->Model().index(5, 0));
  QTest::keyClick(test::Find<StringGrid>(sdo, "sga"), Qt::Key_V, Qt::ControlModifier);
  sdo.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&sdo));
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->Model().Cell(6, 1), "2");
  test::Find<QTabWidget>(sdo, "Notebook")->setCurrentIndex(1);  // the other page
  test::Find<StringGrid>(sdo, "sga")
      ->setCurrentIndex(test::Find<StringGrid>(sdo, "sga")->Model().index(0, 0));
  QTest::keyClick(test::Find<QPushButton>(sdo, "bitbtn1"), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->Model().Cell(5, 0), "");
  EXPECT_FALSE(sdo.HasChanges());
  EXPECT_EQ(test::Find<QTabWidget>(sdo, "Notebook")->currentIndex(), 0)
      << "the undo shows its page";
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->currentIndex(),
            test::Find<StringGrid>(sdo, "sga")->Model().index(5, 0))
      << "and its cell";
}

TEST_F(EditorFrames, AnImportIsTakenBackWhole) {
  if (!WorkbookSupported())
    GTEST_SKIP() << "this build reads no workbooks";
  TFsdo& sdo = desktop->Sdo();
  sdo.show();
  TypeInto(test::Find<StringGrid>(sdo, "sgb"), 3, 7, "typed");
  fake.dialogs.answers = {DataFile("canopen/tables.xlsx")};
  fake.messages.AnswerNext(true);
  Click(test::Find<QPushButton>(sdo, "bitbtn4"));
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->Model().Cell(0, 7), "speed");
  EXPECT_TRUE(sdo.Undo());
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->Model().Cell(0, 7), "");
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sgb")->Model().Cell(3, 7), "typed")
      << "back to the grids before the import";
  EXPECT_TRUE(sdo.Redo());
  EXPECT_EQ(test::Find<StringGrid>(sdo, "sgb")->Model().Cell(0, 7), "temp, max \"C\"");
}

TEST_F(EditorFrames, AHeadingSortsTheSdoPageForViewingOnly) {
  const std::string file =
      "<sdo><row conf=\"0\" IndexA=\"0x2001\" SubindexA=\"1\" devIDB=\"5\" IndexB=\"0x6001\" "
      "SubindexB=\"1\" nbyteB=\"2\" mnemonico=\"speed\"/><row conf=\"0\" IndexA=\"0x2002\" "
      "SubindexA=\"1\" devIDB=\"5\" IndexB=\"0x6002\" SubindexB=\"1\" nbyteB=\"2\" "
      "mnemonico=\"accel\"/></sdo>";
  WriteBytes(project() / "sdo.xml", file);
  TFsdo& window = desktop->Sdo();
  window.show();
  const StringGridModel& model = test::Find<StringGrid>(window, "sga")->Model();
  const int name = model.columnCount() - 1;
  QHeaderView* header = test::Find<StringGrid>(window, "sga")->horizontalHeader();
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(name) + 5, header->height() / 2));
  EXPECT_EQ(model.index(0, name).data().toString(), "accel");
  EXPECT_EQ(model.headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), "1")
      << "the entry keeps its number";
  EXPECT_EQ(model.Cell(0, name), "speed") << "stored as read";
  Click(test::Find<QPushButton>(window, "bitbtn1"));
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(ReadBytes(project() / "sdo.xml"), file);
}

}  // namespace
}  // namespace quastor::test
