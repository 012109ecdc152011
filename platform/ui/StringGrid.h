#pragma once
// The grid of every table editor: rows of text under a fixed header row, with the entry
// numbers in a fixed column at the left, per-column widths and colours, an optional check-box
// column, cell editing, an edit hook for the windows that check what is typed, and pick hooks
// that fill a cell from a chooser. A model/view grid, so that showing 1,500 rows costs what
// the visible rows cost.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QAbstractTableModel>
#include <QColor>
#include <QTableView>

class QMenu;

namespace quastor {

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

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  void CellEdited(int row, int column);

 private:
  std::vector<GridColumn> columns_;
  GridRows rows_;
  int firstNumber_ = 0;
  EditHook hook_;
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  StringGridModel model_;
  QAbstractItemDelegate* checkDelegate_;  // draws and toggles the check-box columns
  std::map<int, PickHook> picks_;
  QString numberTitle_;
  QWidget* corner_ = nullptr;
};

}  // namespace quastor
