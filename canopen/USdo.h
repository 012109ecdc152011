#pragma once
// TFsdo ("Set SDO Access"): the SDO access table, one grid per direction, kept in the
// project's sdo.xml.

#include "canopen/UTwoGridTable.h"

namespace quastor {

class TFsdo : public TwoGridTableDialog {
  Q_OBJECT

 public:
  TFsdo(const AppState& state, UiServices& services, QWidget* parent = nullptr);

  // The free name of an entry, on both pages, can be picked from a list that pick shows.
  void SetStringPicker(StringGrid::PickHook pick);
  // The real entry on CAN B (the first page) can be picked whole, under caption in the
  // context menu and on key: pick answers the cells to fill from the row as stored.
  void SetRealEntryPicker(const std::string& caption, const QKeySequence& key,
                          StringGrid::RowPickHook pick);

 protected:
  GridLoad Load() override;
  const TableFields& Fields() const override { return SdoFields(); }
  Status Save(const SideGrids& grids) override;
  Result<GridImport> Import(const WorkbookSheet& sheet) override;
  Status Export(const SideGrids& grids) override;
  const char* Sheet() const override;
  std::filesystem::path File() const override;
  // Every column a tenth of the grid; the labels over the virtual entry and the real one.
  void FormResize() override;

 private:
  QLabel* StaticText1;  // over the left columns of sga
  QLabel* StaticText2;  // over the right columns of sga
  QLabel* StaticText3;  // the same over sgb
  QLabel* StaticText4;
};

}  // namespace quastor
