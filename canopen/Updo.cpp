#include "canopen/Updo.h"

#include <cmath>

#include <QHeaderView>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/PdoTable.h"
#include "platform/ui/EditorLook.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;

// Columns 4 and 5 (posid, n_tPDO) in the other side's colour.
std::vector<GridColumn> PdoColumns() {
  std::vector<GridColumn> columns;
  for (int i = 1; i <= texts::kPdoColumnCount; ++i) {
    GridColumn column;
    column.title = texts::kPdoColumnTitles[i];
    if (i >= 4)
      column.background = kMarkedColumnColour;
    columns.push_back(column);
  }
  return columns;
}

}  // namespace

TFpdo::TFpdo(const AppState& state, UiServices& services, QWidget* parent)
    : TwoGridTableDialog(state, services,
                         {texts::kPdoCaption, texts::kPdoPageA, texts::kPdoPageB,
                          texts::kPdoRowCount, PdoColumns(), QSize(463, 564)},
                         "TFpdo", parent) {}

void TFpdo::FormResize() {
  for (StringGrid* grid : {sga, sgb}) {
    const double share = static_cast<double>(grid->width()) / (texts::kPdoColumnCount + 1);
    const int w = std::max(1, static_cast<int>(std::nearbyint(share)) - 5);  // halves to even
    grid->verticalHeader()->setFixedWidth(w);
    grid->SetAllColumnWidths(w);
  }
}

GridLoad TFpdo::Load() {
  return LoadPdoTable(File());
}

Status TFpdo::Save(const SideGrids& grids) {
  return SavePdoTable(File(), grids);
}

Result<GridImport> TFpdo::Import(const std::filesystem::path& workbook) {
  return ImportPdoWorkbook(workbook);
}

Status TFpdo::Export(const SideGrids& grids) {
  return ExportPdoCsv(state_.ProjectDir, grids);
}

std::filesystem::path TFpdo::File() const {
  return state_.ProjectFiles.rpdodef;
}

}  // namespace quastor
