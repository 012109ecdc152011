#include "canopen/USdo.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/SdoTable.h"
#include "platform/ui/EditorLook.h"
#include "platform/ui/Widgets.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;

// Columns 4 to 8 (devID to mnemonico) name the entry on the other network.
std::vector<GridColumn> SdoColumns() {
  std::vector<GridColumn> columns;
  for (int i = 1; i <= texts::kSdoColumnCount; ++i) {
    GridColumn column;
    column.title = texts::kSdoColumnTitles[i];
    if (i >= 4)
      column.background = kMarkedColumnColour;
    columns.push_back(column);
  }
  return columns;
}

QLabel* NewBand(const char* text, const char* name, bool other_side, QWidget* parent) {
  QLabel* label = NewLabel(QString::fromUtf8(text), name, parent);
  label->setAlignment(Qt::AlignCenter);
  // Its width follows the grid's columns (FormResize) and never holds the window wider.
  label->setMinimumWidth(1);
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  if (other_side) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, kMarkedColumnColour);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
  }
  return label;
}

}  // namespace

TFsdo::TFsdo(const AppState& state, UiServices& services, QWidget* parent)
    : TwoGridTableDialog(state, services,
                         {texts::kSdoCaption, texts::kSdoPageA, texts::kSdoPageB,
                          texts::kSdoRowCount, SdoColumns(), QSize(615, 547)},
                         "TFsdo", parent) {
  StaticText1 = NewBand(texts::kSdoVirtualA, "StaticText1", false, Page(Side::kA));
  StaticText2 = NewBand(texts::kSdoRealB, "StaticText2", true, Page(Side::kA));
  StaticText3 = NewBand(texts::kSdoVirtualB, "StaticText3", false, Page(Side::kB));
  StaticText4 = NewBand(texts::kSdoRealA, "StaticText4", true, Page(Side::kB));
  // The free name takes what the tenths leave.
  sga->horizontalHeader()->setStretchLastSection(true);
  sgb->horizontalHeader()->setStretchLastSection(true);
  const std::pair<QLabel*, QLabel*> bands[] = {{StaticText1, StaticText2},
                                               {StaticText3, StaticText4}};
  for (const Side side : kBothSides) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    const auto& [left, right] = bands[static_cast<int>(side)];
    row->addWidget(left);
    row->addWidget(right);
    static_cast<QVBoxLayout*>(Page(side)->layout())->insertLayout(0, row);
  }
}

void TFsdo::SetStringPicker(StringGrid::PickHook pick) {
  // The grid's column 8 (0 is the row number): "mnemonico", the entry's free name.
  constexpr int kMnemonicColumn = 7;
  for (StringGrid* grid : {sga, sgb})
    grid->SetPickHook(kMnemonicColumn, pick);
}

void TFsdo::SetRealEntryPicker(const std::string& caption, const QKeySequence& key,
                               StringGrid::RowPickHook pick) {
  sga->SetRowPick(caption, key, std::move(pick));
}

void TFsdo::FormResize() {
  const std::pair<StringGrid*, std::pair<QLabel*, QLabel*>> grids[] = {
      {sga, {StaticText1, StaticText2}}, {sgb, {StaticText3, StaticText4}}};
  for (const auto& [grid, bands] : grids) {
    const int w = grid->width() / (texts::kSdoColumnCount + 2);
    grid->verticalHeader()->setFixedWidth(w);
    grid->SetAllColumnWidths(w);
    // Upper bounds only: a least width would stay the window's after a maximize.
    bands.first->setMaximumWidth(4 * w);
    bands.second->setMaximumWidth(std::max(1, grid->width() - 4 * w));
  }
}

GridLoad TFsdo::Load() {
  return LoadSdoTable(File());
}

Status TFsdo::Save(const SideGrids& grids) {
  return SaveSdoTable(File(), grids);
}

Result<GridImport> TFsdo::Import(const WorkbookSheet& sheet) {
  return ImportSdoSheet(sheet);
}

const char* TFsdo::Sheet() const {
  return canopen_texts::kSdoTable;
}

Status TFsdo::Export(const SideGrids& grids) {
  return ExportSdoCsv(state_.ProjectDir, grids);
}

std::filesystem::path TFsdo::File() const {
  return state_.ProjectFiles.sdo;
}

}  // namespace quastor
