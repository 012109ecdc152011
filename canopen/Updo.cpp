#include "canopen/Updo.h"

#include <cmath>

#include <QHeaderView>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/PdoTable.h"
#include "canopen/TableCounts.h"
#include "platform/Text.h"
#include "platform/ui/EditorLook.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/UiServices.h"

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
  GridLoad load = LoadPdoTable(File());
  loaded_.reset();
  if (load.report.Complete())
    loaded_ = load.model;
  return load;
}

bool TFpdo::ConfirmSave(const SideGrids& grids) {
  followUp_ = StoredPdoFollowUp{};
  if (!loaded_)
    return true;
  Result<StoredPdoFollowUp> follow = FollowPdoMoves(state_.ProjectDir, *loaded_, grids);
  if (!follow)
    return true;  // Save refuses the grids with the same reason
  followUp_ = std::move(follow.value());
  if (followUp_.unread) {
    std::string question = *followUp_.unread;
    question += (question.empty() ? "" : "\n") + std::string(texts::kStoredPdoUnread) + " " +
                texts::kWritePdoTableAnyway;
    return services_.messages.Ask(question);
  }
  if (followUp_.lost == 0)
    return true;
  std::string pdos;
  for (const std::string& cobid : followUp_.lostPdos)
    pdos += (pdos.empty() ? "" : ", ") + cobid;
  return services_.messages.Ask(
      FormatText(texts::kStoredPdoLost, {pdos, Counted(followUp_.lost, texts::kStoredDefinition,
                                                       texts::kStoredDefinitions)}) +
      " " + texts::kWriteFilesAnyway);
}

Status TFpdo::Save(const SideGrids& grids) {
  const Status saved = SavePdoTableFollowed(state_.ProjectDir, grids, followUp_);
  if (saved && followUp_.rewrite) {
    services_.messages.Plain(
        FormatText(texts::kStoredPdoFollowed,
                   {Counted(followUp_.kept, texts::kStoredDefinition, texts::kStoredDefinitions)}));
  }
  return saved;
}

SideCounts TFpdo::RecordCounts(const SideGrids& grids) const {
  return PdoRecordCounts(grids);
}

Result<GridImport> TFpdo::Import(const WorkbookSheet& sheet) {
  return ImportPdoSheet(sheet);
}

const char* TFpdo::Sheet() const {
  return canopen_texts::kPdoTable;
}

Status TFpdo::Export(const SideGrids& grids) {
  return ExportPdoCsv(state_.ProjectDir, grids);
}

std::filesystem::path TFpdo::File() const {
  return state_.ProjectFiles.rpdodef;
}

}  // namespace quastor
