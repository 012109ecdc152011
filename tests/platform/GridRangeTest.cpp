// Grid ranges as spreadsheet text, where a paste may go, the next cell that holds a text, and
// the list of changes that undo and redo walk.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/GridRange.h"
#include "platform/GridSort.h"
#include "platform/UndoList.h"

namespace quastor {
namespace {

struct TextCase {
  const char* name;
  std::string text;
  TextRows rows;
};

TEST(GridRange, SpreadsheetTextReadsIntoRows) {
  const TextCase cases[] = {
      {"a last line end starts no row", "a\tb\n", {{"a", "b"}}},
      {"CR LF and CR end lines too", "a\r\nb\rc", {{"a"}, {"b"}, {"c"}}},
      {"short rows are filled", "a\tb\tc\nd\n", {{"a", "b", "c"}, {"d", "", ""}}},
      {"empty cells keep their place", "\t\tx\n", {{"", "", "x"}}},
      {"a quoted cell holds tabs, line ends and quotes",
       "\"x\ty\nz \"\"q\"\"\"\tw\n",
       {{"x\ty\nz \"q\"", "w"}}},
      {"nothing is no row", "", {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ParseRangeText(c.text), c.rows) << c.name;
}

TEST(GridRange, RangeTextReadsBackAsTheSameCells) {
  const TextRows grid = {{"0x2001", "1", "a\tb"}, {"\"q", "", "line\nend"}, {"x", "y", "z"}};
  const std::string text = RangeText(grid, CellRange{0, 0, 1, 2});
  EXPECT_EQ(text, "0x2001\t1\t\"a\tb\"\n\"\"\"q\"\t\t\"line\nend\"\n");
  EXPECT_EQ(ParseRangeText(text), (TextRows{grid[0], grid[1]}));
  EXPECT_EQ(RangeText(grid, CellRange{1, 1, 2, 1}), "\ny\n") << "one column, an empty cell";
}

TEST(GridRange, PasteMustFitFromTheCurrentCell) {
  struct Case {
    CellPlace at;
    int height, width;
    const char* refusal;  // empty: fits
  } cases[] = {
      {{0, 0}, 10, 8, ""},
      {{7, 2}, 3, 6, ""},
      {{8, 0},
       3,
       1,
       "Nothing pasted: the 3 rows copied do not fit in the 2 rows from the current cell on."},
      {{0, 3},
       1,
       6,
       "Nothing pasted: the 6 columns copied do not fit in the 5 columns from the current cell "
       "on."},
  };
  for (const auto& c : cases) {
    const Status fits = PasteFits(10, 8, c.at, c.height, c.width);
    EXPECT_EQ(fits.ok() ? "" : fits.error(), c.refusal) << c.at.row << "," << c.at.column;
  }
}

TEST(GridRange, FindTakesTheNextCellAndGoesRound) {
  const TextRows grid = {{"0x2001", "Speed"}, {"", "speed max"}, {"0x2002", "torque"}};
  struct Case {
    CellPlace after;
    const char* text;
    std::optional<CellPlace> found;
  } cases[] = {
      {{0, -1}, "speed", CellPlace{0, 1}},  // from the start, either case
      {{0, 1}, "SPEED", CellPlace{1, 1}},   // the cell after the current one
      {{1, 1}, "speed", CellPlace{0, 1}},   // round past the end
      {{2, 0}, "0x2002", CellPlace{2, 0}},  // the current cell itself comes last
      {{0, 0}, "absent", std::nullopt},    {{0, 0}, "", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindNext(grid, c.after, c.text), c.found) << c.text;
}

TEST(GridSort, NumbersByValueThenTextEmptyCellsLastEitherWay) {
  const TextRows rows = {{"0x181"}, {""},       {"Speed"}, {"0x80000181"}, {"40"},
                         {"apple"}, {"0x181"},  {" "},     {"0x28"},       {"Row10"},
                         {"row2"},  {"Row02b"}, {"Row2a"}};
  struct Case {
    bool ascending;
    std::vector<int> order;
  } cases[] = {
      // 40 and 0x28 are equal and keep the rows' order; 0x80000181 is a pattern, above 0x181.
      // Digits in a text count by value: row2 < Row2a < Row02b (same value, longer run) < Row10.
      {true, {4, 8, 0, 6, 3, 5, 10, 12, 11, 9, 2, 1, 7}},
      {false, {2, 9, 11, 12, 10, 5, 3, 0, 6, 4, 8, 1, 7}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ViewOrder(rows, 0, c.ascending), c.order) << c.ascending;
}

TEST(UndoList, UndoRedoAndANewChangeDropsWhatWasUndone) {
  int value = 0;
  UndoList list;
  const auto set = [&](int from, int to) {
    value = to;
    list.Add({[&value, from] { value = from; }, [&value, to] { value = to; }});
  };
  EXPECT_FALSE(list.Changed());
  set(0, 1);
  set(1, 2);
  EXPECT_TRUE(list.Undo());
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(list.Redo());
  EXPECT_EQ(value, 2);
  EXPECT_FALSE(list.Redo()) << "nothing left to redo";
  EXPECT_TRUE(list.Undo());
  EXPECT_TRUE(list.Undo());
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(list.Changed()) << "every change taken back";
  EXPECT_FALSE(list.Undo());
  EXPECT_TRUE(list.Redo());
  set(1, 5);  // a new change after an undo: the undone step 1 -> 2 is gone
  EXPECT_FALSE(list.Redo());
  EXPECT_EQ(value, 5);
  list.Undo();
  list.Undo();
  EXPECT_EQ(value, 0);

  // A step that changes something while it runs records nothing more.
  list.Clear();
  list.Add({[&] { list.Add({[] {}, [] {}}); }, [] {}});
  list.Undo();
  EXPECT_FALSE(list.CanUndo());
  EXPECT_TRUE(list.CanRedo());
}

}  // namespace
}  // namespace quastor
