// The string grid's check-box column: its own texts for the two states, a cell of any other
// text shown unticked, and a click in the middle of the cell ticking it.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include "platform/ui/StringGrid.h"

namespace quastor {
namespace {

TEST(StringGridCheckBox, StatesAreTheColumnsOwnTextsAndTheBoxSitsInTheMiddle) {
  StringGrid grid;
  GridColumn box;
  box.checkBox = true;
  box.checkedText = "Y";
  box.uncheckedText = "N";
  box.width = 90;
  GridColumn plain;
  plain.checkBox = true;  // the texts of a column that names none
  grid.Setup({box, plain}, 3);
  StringGridModel& model = grid.Model();
  model.SetRows({{"", "1"}, {"Y", "Y"}});
  const auto state = [&](int row, int column) {
    return model.data(model.index(row, column), Qt::CheckStateRole).toInt();
  };
  EXPECT_EQ(state(0, 0), Qt::Unchecked) << "an empty cell shows an unticked box";
  EXPECT_EQ(state(1, 0), Qt::Checked);
  EXPECT_EQ(state(0, 1), Qt::Checked);
  EXPECT_EQ(state(1, 1), Qt::Unchecked);
  EXPECT_FALSE(model.data(model.index(1, 0), Qt::DisplayRole).isValid()) << "no text beside it";

  QSignalSpy edited(&model, &StringGridModel::CellEdited);
  grid.resize(300, 200);
  grid.show();
  const QRect cell = grid.visualRect(model.index(2, 0));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                    QPoint(cell.left() + 3, cell.center().y()));
  EXPECT_EQ(model.Cell(2, 0), "") << "a click beside the box ticks nothing";
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(model.Cell(2, 0), "Y");
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(model.Cell(2, 0), "N");
  EXPECT_EQ(edited.count(), 2);
  model.setData(model.index(2, 1), Qt::Checked, Qt::CheckStateRole);
  EXPECT_EQ(model.Cell(2, 1), "1");
}

}  // namespace
}  // namespace quastor
