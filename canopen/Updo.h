#pragma once
// TFpdo ("Define Traslate PDO"): the PDO translation table, one grid per direction, kept in
// the project's rpdodef.xml.

#include "canopen/UTwoGridTable.h"

namespace quastor {

class TFpdo : public TwoGridTableDialog {
  Q_OBJECT

 public:
  TFpdo(const AppState& state, UiServices& services, QWidget* parent = nullptr);

 protected:
  GridLoad Load() override;
  Status Save(const SideGrids& grids) override;
  Result<GridImport> Import(const std::filesystem::path& workbook) override;
  Status Export(const SideGrids& grids) override;
  std::filesystem::path File() const override;
  // Every column the grid's width divided by the column count, rounded, less 5.
  void FormResize() override;
};

}  // namespace quastor
