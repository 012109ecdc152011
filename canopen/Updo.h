#pragma once
// TFpdo ("Define Traslate PDO"): the PDO translation table, one grid per direction, kept in
// the project's rpdodef.xml.

#include <optional>

#include "canopen/StoredPdoFollow.h"
#include "canopen/UTwoGridTable.h"

namespace quastor {

class TFpdo : public TwoGridTableDialog {
  Q_OBJECT

 public:
  TFpdo(const AppState& state, UiServices& services, QWidget* parent = nullptr);

 protected:
  GridLoad Load() override;
  const TableFields& Fields() const override { return PdoFields(); }
  // The stored definitions of sdopdo.xml follow the PDOs that OK moves; a definition whose PDO
  // OK deletes is asked about.
  bool ConfirmSave(const SideGrids& grids) override;
  Status Save(const SideGrids& grids) override;
  SideCounts RecordCounts(const SideGrids& grids) const override;
  Result<GridImport> Import(const WorkbookSheet& sheet) override;
  Status Export(const SideGrids& grids) override;
  const char* Sheet() const override;
  std::filesystem::path File() const override;
  // Every column the grid's width divided by the column count, rounded, less 5.
  void FormResize() override;

 private:
  std::optional<SideGrids> loaded_;  // the grids as read from a file read whole
  StoredPdoFollowUp followUp_;       // what OK does to sdopdo.xml
};

}  // namespace quastor
