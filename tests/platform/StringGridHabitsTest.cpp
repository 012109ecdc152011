// The string grid's spreadsheet keys: Enter, F2, Delete, ranges on the clipboard, undo and
// find, as a user presses them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "platform/ui/MessageService.h"
#include "platform/ui/StringGrid.h"

namespace quastor {
namespace {

// A grid of 4 rows × 3 columns in a dialog whose default button counts its clicks.
class GridHabits : public ::testing::Test {
 protected:
  GridHabits() {
    grid = new StringGrid(&dialog);
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, [this] { ++okClicks; });
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(grid);
    layout->addWidget(ok);
    GridColumn fixed;
    fixed.editable = false;
    grid->Setup({GridColumn(), GridColumn(), fixed}, 4);
    grid->Model().SetRows({{"a", "b", "k"}, {"c", "d", "k"}});
    grid->SetMessages(&messages);
    dialog.show();
    grid->setFocus();
  }
  StringGridModel& Model() { return grid->Model(); }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(grid, static_cast<Qt::Key>(key), modifiers);
  }
  void At(int row, int column) { grid->setCurrentIndex(Model().index(row, column)); }

  QDialog dialog;
  StringGrid* grid;
  MessageRecorder messages;
  int okClicks = 0;
};

TEST_F(GridHabits, EnterMovesDownF2EditsDeleteClearsTheRange) {
  EXPECT_EQ(grid->currentIndex(), Model().index(0, 0)) << "a current cell from the start";
  Key(Qt::Key_Return);
  Key(Qt::Key_Enter);
  EXPECT_EQ(grid->currentIndex(), Model().index(2, 0));
  EXPECT_EQ(okClicks, 0) << "Enter in the grid never reaches the window's OK";

  Key(Qt::Key_F2);
  auto* editor = grid->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr) << "F2 opens the cell's editor";
  QTest::keyClicks(editor, "typed");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(Model().Cell(2, 0), "typed");
  EXPECT_EQ(okClicks, 0) << "nor does the Enter that ends an edit";

  At(0, 0);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_Delete);
  EXPECT_EQ(Model().Rows()[0], (std::vector<std::string>{"", "", "k"})) << "k cannot be typed";
  EXPECT_EQ(Model().Rows()[1], (std::vector<std::string>{"", "", "k"}));
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Model().Rows()[1], (std::vector<std::string>{"c", "d", "k"})) << "one undo step";
}

TEST_F(GridHabits, CopyAndPasteARangeWithUndoAndRedo) {
  At(0, 0);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_Right, Qt::ShiftModifier);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "a\tb\nc\td\n");

  At(2, 0);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Model().Rows()[3], (std::vector<std::string>{"c", "d", ""}));
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Model().Rows()[2], (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(Model().Rows()[3], (std::vector<std::string>{"", "", ""}));
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Model().Rows()[2], (std::vector<std::string>{"a", "b", ""}));

  // One value over a selection fills every selected cell, and only those, in one step.
  QApplication::clipboard()->setText("7");
  QItemSelectionModel* selection = grid->selectionModel();
  selection->setCurrentIndex(Model().index(1, 0), QItemSelectionModel::NoUpdate);
  selection->select(QItemSelection(Model().index(1, 0), Model().index(2, 0)),
                    QItemSelectionModel::ClearAndSelect);
  selection->select(Model().index(3, 1), QItemSelectionModel::Select);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Model().Rows()[1], (std::vector<std::string>{"7", "d", "k"}));
  EXPECT_EQ(Model().Rows()[2], (std::vector<std::string>{"7", "b", ""}));
  EXPECT_EQ(Model().Rows()[3], (std::vector<std::string>{"c", "7", ""}));
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Model().Rows()[1], (std::vector<std::string>{"c", "d", "k"}));
  EXPECT_EQ(Model().Rows()[3], (std::vector<std::string>{"c", "d", ""}));
  EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(GridHabits, APasteThatDoesNotFitOrIsRefusedStoresNothing) {
  Model().SetEditHook([](int, int, const std::string& text) -> std::optional<std::string> {
    if (text == "bad")
      return std::nullopt;
    return text;
  });
  const GridRows before = Model().Rows();
  At(3, 0);
  EXPECT_FALSE(grid->PasteText("x\ny\n"));
  At(1, 0);
  EXPECT_FALSE(grid->PasteText("x\tbad\n"));  // the first cell is fine, the second refused
  EXPECT_EQ(Model().Rows(), before);
  EXPECT_EQ(messages.Texts(),
            (std::vector<std::string>{
                "Nothing pasted: the 2 rows copied do not fit in the 1 rows from the current "
                "cell on.",
                "Nothing pasted: \"bad\" is refused in entry 1, column ."}));
}

TEST_F(GridHabits, FindLooksInEveryColumnAndF3GoesOn) {
  Model().SetRows({{"speed", "x", ""}, {"", "", "Speed max"}, {"torque", "", ""}});
  At(0, 0);
  Key(Qt::Key_F, Qt::ControlModifier);
  auto* line = grid->findChild<QLineEdit*>("findLine");
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->isVisible());
  QTest::keyClicks(line, "SPEED");
  QTest::keyClick(line, Qt::Key_Return);
  EXPECT_FALSE(line->isVisible());
  EXPECT_EQ(grid->currentIndex(), Model().index(1, 2)) << "a column that cannot be typed too";
  Key(Qt::Key_F3);
  EXPECT_EQ(grid->currentIndex(), Model().index(0, 0)) << "round past the end";
  EXPECT_EQ(okClicks, 0);
  EXPECT_FALSE(grid->FindText("absent"));
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"\"absent\" is not found on this page."});
}

}  // namespace
}  // namespace quastor
