// The pick hooks of the string grid: the chosen text goes in as typed text does, through the
// edit hook; a cell without a hook offers nothing.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>

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

}  // namespace
}  // namespace quastor
