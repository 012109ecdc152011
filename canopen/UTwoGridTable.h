#pragma once
// The frame the SDO access table and the PDO translation table share: a notebook with one
// grid per side, and the bottom panel with OK, Cancel, Export and Import. Each editor gives
// its grids' columns and its file's load, save, import and export; the frame shows their
// messages, asks before OK writes a file that was not shown whole, and keeps the grids as they
// were when an import fails.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "canopen/GridTable.h"
#include "canopen/TableFields.h"
#include "platform/DoneReport.h"
#include "platform/FileStamp.h"
#include "platform/Result.h"
#include "platform/Workbook.h"
#include "platform/ui/EditorFrame.h"
#include "platform/ui/ShowPlace.h"
#include "platform/ui/StringGrid.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace quastor {

struct AppState;
struct UiServices;

class TwoGridTableDialog : public EditorFrame {
  Q_OBJECT

 public:
  // The grids as they stand, as core values, with what each row's record kept.
  SideGrids GridsShown() const;
  // The next showing opens at this cell: the page of side (0 CAN A, 1 CAN B), the grid row
  // (as stored) and the column, each -1 where not known.
  void ShowAt(int side, int row, int column);

 public slots:
  void BitBtn1Click();
  void BitBtn4Click();
  void Button1Click();

 protected:
  struct Frame {
    const char* caption;
    const char* pageA;
    const char* pageB;
    int rows;
    std::vector<GridColumn> columns;  // the data columns; their titles are drawn
    QSize size;
  };
  TwoGridTableDialog(const AppState& state, UiServices& services, const Frame& frame,
                     const char* name, QWidget* parent);

  // What each editor does with its file.
  virtual GridLoad Load() = 0;
  // The fields of the grids' columns, which OK checks.
  virtual const TableFields& Fields() const = 0;
  // Asked before the frame's own questions on OK; false keeps the window open and writes nothing.
  virtual bool ConfirmSave(const SideGrids& /*grids*/) { return true; }
  virtual Status Save(const SideGrids& grids) = 0;
  // The records of each side that Save writes: by default the rows that hold something.
  virtual SideCounts RecordCounts(const SideGrids& grids) const;
  virtual Result<GridImport> Import(const WorkbookSheet& sheet) = 0;
  virtual Status Export(const SideGrids& grids) = 0;
  // The table's name: the sheet that Import reads and the CSV file that Export writes.
  virtual const char* Sheet() const = 0;
  // The table file the editor reads and writes.
  virtual std::filesystem::path File() const = 0;

  // The grids of the pages CAN A and CAN B.
  StringGrid* sga;
  StringGrid* sgb;

  // The page of a side, to put more above its grid.
  QWidget* Page(Side side) const;
  const AppState& state_;
  UiServices& services_;

  void FormShow() override;
  std::string TableName() const override;
  // Lays out the columns after the grids' size changed.
  virtual void FormResize() {}
  bool eventFilter(QObject* watched, QEvent* event) override;
  void GoToPlace(const ShowPlace& at) override;

 private:
  QTabWidget* Notebook;
  QPushButton* bitbtn1;  // OK
  QPushButton* bitbtn2;  // Cancel
  QPushButton* button1;  // Export
  QPushButton* bitbtn4;  // Import

  void ShowGrids(const SideGrids& grids);
  // The grids and what they do not show of the file, as an import replaces them.
  struct Shown {
    SideGrids grids;
    LoadReport gaps;
  };
  void Show(const Shown& shown);
  void ShowAll(const std::vector<std::string>& messages);
  // A row emptied by the user deletes its record: what the record kept goes with it.
  void RowEdited(Side side, int row);
  // Shows the first cell that the fields refuse, selected, and its message; false then.
  bool RefuseCells(const SideGrids& grids);

  const char* pages_[2];
  std::vector<XmlAttributeList> kept_[2];  // per side, what each row's record kept

  LoadReport gaps_;    // what the grids do not show of the file
  ReadStamps stamps_;  // the file as the show read it
};

}  // namespace quastor
