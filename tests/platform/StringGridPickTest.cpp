// The pick hooks of the string grid: the chosen text goes in as typed text does, through the
// edit hook; a cell without a hook offers nothing.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>

#include "platform/UndoList.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/StringGrid.h"

namespace quastor {
namespace {

TEST(StringGridPick, ChosenTextGoesThroughTheEditPath) {
  StringGrid grid;
  grid.Setup(std::vector<GridColumn>(2), 3);
  std::vector<std::optional<std::string>> answers = {"speed", std::nullopt, "refused"};
  int asked = 0;
  grid.SetPickHook(1, [&] { return answers[asked++]; });
  // The edit hook sees the picked text as typed text and may change or refuse it.
  grid.Model().SetEditHook([](int, int, const std::string& text) -> std::optional<std::string> {
    if (text == "refused")
      return std::nullopt;
    return "[" + text + "]";
  });
  int edited = 0;
  QObject::connect(&grid.Model(), &StringGridModel::CellEdited, [&] { ++edited; });
  grid.show();

  grid.setCurrentIndex(grid.Model().index(0, 0));
  QTest::keyClick(&grid, Qt::Key_F4);
  EXPECT_EQ(asked, 0) << "column 0 has no hook";
  EXPECT_EQ(grid.NewContextMenu(grid.Model().index(0, 0)), nullptr);

  grid.setCurrentIndex(grid.Model().index(1, 1));
  QTest::keyClick(&grid, Qt::Key_F4);
  EXPECT_EQ(grid.Model().Cell(1, 1), "[speed]");
  std::unique_ptr<QMenu> menu(grid.NewContextMenu(grid.Model().index(2, 1)));
  ASSERT_NE(menu, nullptr);
  menu->actions()[0]->trigger();  // nothing chosen
  EXPECT_EQ(grid.Model().Cell(2, 1), "");
  EXPECT_FALSE(grid.PickInto(grid.Model().index(2, 1)));  // refused by the edit hook
  EXPECT_EQ(grid.Model().Cell(2, 1), "");
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(edited, 1);
}

// A row pick fills several cells of its row as one change, sees the row as stored, and stores
// nothing when one of its texts is refused.
TEST(StringGridPick, ARowPickFillsItsCellsAsOneChange) {
  StringGrid grid;
  MessageRecorder messages;
  UndoList undo;
  grid.SetMessages(&messages);
  grid.SetUndoList(&undo);
  GridColumn title;
  title.title = "Index";
  grid.Setup({GridColumn(), title, GridColumn()}, 3);
  grid.Model().SetRows({{"1", "", ""}, {"0", "", ""}});
  grid.Model().SetEditHook([](int, int, const std::string& text) -> std::optional<std::string> {
    if (text == "bad")
      return std::nullopt;
    return text;
  });
  std::vector<std::vector<std::string>> seen;
  std::vector<StringGrid::CellFill> answer = {{1, "0x6040"}, {2, "speed"}};
  grid.SetRowPick("Pick object\u2026", QKeySequence(Qt::SHIFT | Qt::Key_F4),
                  [&](const std::vector<std::string>& row) {
                    seen.push_back(row);
                    return std::optional<std::vector<StringGrid::CellFill>>(answer);
                  });
  grid.show();
  grid.setCurrentIndex(grid.Model().index(1, 0));
  QTest::keyClick(&grid, Qt::Key_F4, Qt::ShiftModifier);
  EXPECT_EQ(grid.Model().Rows()[1], (std::vector<std::string>{"0", "0x6040", "speed"}));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].front(), "0") << "the hook sees the row it fills";
  undo.Undo();
  EXPECT_EQ(grid.Model().Rows()[1], (std::vector<std::string>{"0", "", ""})) << "one step";

  answer = {{1, "0x6041"}, {2, "bad"}};
  std::unique_ptr<QMenu> menu(grid.NewContextMenu(grid.Model().index(0, 2)));
  ASSERT_NE(menu, nullptr) << "offered on every cell";
  menu->actions().back()->trigger();
  EXPECT_EQ(grid.Model().Rows()[0], (std::vector<std::string>{"1", "", ""}));
  EXPECT_EQ(messages.Texts(),
            std::vector<std::string>{"Nothing filled: \"bad\" is refused in entry 0, column ."});
}

}  // namespace
}  // namespace quastor
