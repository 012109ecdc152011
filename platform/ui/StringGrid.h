#pragma once
// The grid of every table editor: rows of text under a fixed header row, with the entry
// numbers in a fixed column at the left, per-column widths and colours, an optional check-box
// column, cell editing, an edit hook for the windows that check what is typed, and pick hooks
// that fill a cell from a chooser. A model/view grid, so that showing 1,500 rows costs what
// the visible rows cost.
//
// The grid keeps a spreadsheet's habits: a current cell that is always drawn, F2 edits, Enter
// moves down, Delete and Backspace clear the selected cells, Shift and Ctrl select ranges,
// Ctrl+C and Ctrl+V carry ranges as tab-separated text, Ctrl+Z and Ctrl+Y take changes back
// and make them again, Ctrl+F finds a text in any column and F3 finds it again.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QColor>
#include <QKeySequence>
#include <QTableView>

#include "platform/GridRange.h"
#include "platform/UndoList.h"

class QLineEdit;
class QMenu;

namespace quastor {

class MessageService;

struct GridColumn {
  std::string title;
  int width = 72;
  QColor background;  // invalid: the grid's own colour
  // The cell shows a check box, centred; its text is checkedText when checked, else
  // uncheckedText. Any other text (an empty cell too) shows an unchecked box.
  bool checkBox = false;
  std::string checkedText = "1";
  std::string uncheckedText = "0";
  bool editable = true;
};

using GridRows = std::vector<std::vector<std::string>>;

class StringGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Asked before an edit is stored: the text to store, or nothing to refuse the edit.
  using EditHook =
      std::function<std::optional<std::string>(int row, int column, const std::string& text)>;

  explicit StringGridModel(QObject* parent = nullptr);

  void SetColumns(std::vector<GridColumn> columns);
  const std::vector<GridColumn>& Columns() const { return columns_; }
  // count empty rows, numbered from first_number on.
  void Reset(int count, int first_number = 0);
  void SetEditHook(EditHook hook) { hook_ = std::move(hook); }

  const GridRows& Rows() const { return rows_; }
  // Replaces the leading rows with rows (each padded or cut to the column count); the rest
  // are emptied.
  void SetRows(const GridRows& rows);
  const std::string& Cell(int row, int column) const { return rows_[row][column]; }
  void SetCell(int row, int column, const std::string& text);

  // Where edits are recorded so that they can be taken back; none records nothing.
  void SetUndoList(UndoList* undo) { undo_ = undo; }
  struct CellText {
    int row;
    int column;
    std::string text;
  };
  // Stores the texts (rows as stored) as one change, each through the edit hook as if typed.
  // When the hook refuses one, nothing is stored and its position in cells is returned.
  std::optional<std::size_t> StoreCells(const std::vector<CellText>& cells);

  // Rows shown sorted by a column, for viewing only: Rows(), Cell() and the edit hook keep the
  // stored order, the model's indexes and the number column follow the order shown. New rows
  // (SetRows, Reset) are shown in their stored order again.
  void SortForView(int column, bool ascending);
  bool SortedForView() const { return !order_.empty(); }
  // The stored row that view row shows.
  int StoredRow(int view_row) const { return order_.empty() ? view_row : order_[view_row]; }
  // The view row that shows stored row.
  int ViewRow(int stored_row) const;
  int FirstNumber() const { return firstNumber_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  void CellEdited(int row, int column);
  // An undo or a redo changed cells; the first is given (its row as stored).
  void ChangeRevisited(int row, int column);

 private:
  struct CellChange {
    int row;
    int column;
    std::string before;
    std::string after;
  };
  // Puts each change's text after (or, going back, before) into its cell.
  void Apply(const std::vector<CellChange>& changes, bool forward);
  // Shows the rows in order (empty: as stored); the current cell and selection follow them.
  void SetViewOrder(std::vector<int> order);

  std::vector<GridColumn> columns_;
  GridRows rows_;
  int firstNumber_ = 0;
  EditHook hook_;
  UndoList* undo_ = nullptr;
  std::vector<int> order_;  // view row -> stored row; empty: as stored
};

class StringGrid : public QTableView {
  Q_OBJECT

 public:
  // Asked for the text to put into a cell, typically by showing a chooser; nothing leaves
  // the cell as it is.
  using PickHook = std::function<std::optional<std::string>()>;

  explicit StringGrid(QWidget* parent = nullptr);

  // Gives the cells of column a pick hook: "Pick string…" in a cell's context menu and the
  // key kPickKey on the current cell run it, and its text goes into the cell as if typed
  // (through the edit hook, which may change or refuse it). An empty hook removes it.
  void SetPickHook(int column, PickHook pick);
  // Runs the pick hook of the cell's column; true when a text was stored.
  bool PickInto(const QModelIndex& cell);

  // A chooser that fills several cells of a row at once: given the row's cells as stored, it
  // answers the cells to fill, or nothing. It is offered in the context menu of every cell
  // under caption and on key for the current row; its texts are stored as one change, each
  // through the edit hook as if typed, and a text the hook refuses is told and stores nothing.
  struct CellFill {
    int column;
    std::string text;
  };
  using RowPickHook =
      std::function<std::optional<std::vector<CellFill>>(const std::vector<std::string>& row)>;
  void SetRowPick(const std::string& caption, const QKeySequence& key, RowPickHook pick);
  // Runs the row pick on the row shown at view_row; true when cells were stored.
  bool PickRow(int view_row);
  // The context menu of a cell, or nullptr when the cell offers nothing; the caller owns it.
  QMenu* NewContextMenu(const QModelIndex& cell);
  static constexpr Qt::Key kPickKey = Qt::Key_F4;

  StringGridModel& Model() { return model_; }
  const StringGridModel& Model() const { return model_; }
  // The title of the number column, drawn in the top left corner.
  void SetNumberTitle(const QString& title);
  // Columns and their widths, and count empty rows numbered from first_number on.
  void Setup(std::vector<GridColumn> columns, int count, int first_number = 0);
  // Every column the same width.
  void SetAllColumnWidths(int width);

  // Where paste and find tell what they refused or did not find.
  void SetMessages(MessageService* messages) { messages_ = messages; }
  // Records the grid's edits in undo, shared with the window; by default the grid keeps its
  // own list.
  void SetUndoList(UndoList* undo);

  // The smallest range that holds every selected cell (the current cell when none is).
  CellRange SelectedRange() const;
  // The selected range as tab-separated text.
  std::string CopyText() const;
  // Puts the cells of text from the current cell on; a range that does not fit or a value the
  // edit hook refuses is told, and nothing is stored. True when stored.
  bool PasteText(const std::string& text);
  // Empties the selected cells that can be edited (a check box becomes unticked).
  void ClearSelected();
  // Selects the next cell after the current one that holds text; false, told, when none does.
  bool FindText(const std::string& text);
  // Opens the find line under the grid.
  void StartFind();
  // Looks again for the last text looked for.
  void FindAgain();
  const std::string& LastFind() const { return lastFind_; }
  // A click on a column's heading sorts the rows shown by it (again: the other way).
  void SetSortable(bool sortable);
  // Makes the cell (its row as stored) current and brings it into view, on its page.
  void ShowCell(int row, int column) { ShowChange(row, column); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The habits of a spreadsheet's keys; true when the key was taken.
  bool SpreadsheetKey(QKeyEvent* event);
  void Tell(const std::string& text);
  void PlaceFindLine();
  // Brings the cell an undo or a redo changed into view, on its page.
  void ShowChange(int row, int column);
  // The rows in the order shown.
  TextRows ViewRows() const;
  StringGridModel model_;
  QAbstractItemDelegate* checkDelegate_;  // draws and toggles the check-box columns
  std::map<int, PickHook> picks_;
  struct RowPick {
    QString caption;
    QKeySequence key;
    RowPickHook pick;
  } rowPick_;
  QString numberTitle_;
  QWidget* corner_ = nullptr;
  MessageService* messages_ = nullptr;
  UndoList ownUndo_;
  UndoList* undo_ = &ownUndo_;
  QLineEdit* findLine_ = nullptr;
  std::string lastFind_;
};

}  // namespace quastor
