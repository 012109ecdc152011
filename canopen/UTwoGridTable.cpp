#include "canopen/UTwoGridTable.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
#include "canopen/TableCounts.h"
#include "canopen/UTableActions.h"
#include "platform/PathText.h"
#include "platform/ui/EditorLook.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/WidgetTexts.h"
#include "platform/ui/Widgets.h"

namespace quastor {

TwoGridTableDialog::TwoGridTableDialog(const AppState& state, UiServices& services,
                                       const Frame& frame, const char* name, QWidget* parent)
    : EditorFrame(services.messages, parent,
                  Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                      Qt::WindowCloseButtonHint),
      state_(state),
      services_(services),
      pages_{frame.pageA, frame.pageB} {
  setObjectName(name);
  setWindowTitle(frame.caption);
  ApplyEditorLook(this);
  resize(frame.size);

  Notebook = Named(new QTabWidget(this), "Notebook");
  for (const Side side : kBothSides) {
    auto* page = new QWidget(Notebook);
    auto* grid = Named(new StringGrid(page), side == Side::kA ? "sga" : "sgb");
    grid->SetNumberTitle(QString::fromUtf8(canopen_texts::kNumberTitle));
    grid->Setup(frame.columns, frame.rows);
    grid->SetSortable(true);  // for viewing only: OK writes the rows as they are stored
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(0);
    layout->addWidget(grid, 1);
    Notebook->addTab(page, side == Side::kA ? frame.pageA : frame.pageB);
    (side == Side::kA ? sga : sgb) = grid;
    Attach(grid);
    grid->installEventFilter(this);
    connect(&grid->Model(), &StringGridModel::CellEdited, this,
            [this, side](int row, int) { RowEdited(side, row); });
  }

  const TablePanel panel = NewTablePanel(this, "bitbtn1");
  bitbtn1 = panel.ok;
  bitbtn2 = panel.cancel;
  button1 = panel.exportButton;
  bitbtn4 = panel.importButton;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Notebook, 1);
  layout->addLayout(panel.layout);
  layout->addWidget(StatusLine());

  connect(bitbtn1, &QPushButton::clicked, this, &TwoGridTableDialog::BitBtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &QDialog::reject);
  connect(button1, &QPushButton::clicked, this, &TwoGridTableDialog::Button1Click);
  connect(bitbtn4, &QPushButton::clicked, this, &TwoGridTableDialog::BitBtn4Click);
}

bool TwoGridTableDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && (watched == sga || watched == sgb))
    FormResize();
  return EditorFrame::eventFilter(watched, event);
}

QWidget* TwoGridTableDialog::Page(Side side) const {
  return (side == Side::kA ? sga : sgb)->parentWidget();
}

SideGrids TwoGridTableDialog::GridsShown() const {
  return SideGrids{sga->Model().Rows(), sgb->Model().Rows(), kept_[0], kept_[1]};
}

void TwoGridTableDialog::ShowGrids(const SideGrids& grids) {
  sga->Model().SetRows(grids.a);
  sgb->Model().SetRows(grids.b);
  kept_[0] = grids.keptA;
  kept_[1] = grids.keptB;
}

void TwoGridTableDialog::RowEdited(Side side, int row) {
  std::vector<XmlAttributeList>& kept = kept_[static_cast<int>(side)];
  const auto r = static_cast<std::size_t>(row);
  const StringGrid* grid = side == Side::kA ? sga : sgb;
  if (r < kept.size() && RowHoldsNothing(Fields(), grid->Model().Rows()[r]))
    kept[r].clear();
}

bool TwoGridTableDialog::RefuseCells(const SideGrids& grids) {
  const std::vector<CellProblem> problems = GridProblems(Fields(), grids);
  if (problems.empty())
    return true;
  const CellProblem& first = problems.front();
  StringGrid* grid = first.side == Side::kA ? sga : sgb;
  // The row as stored, wherever a sorted view shows it.
  grid->ShowCell(static_cast<int>(first.row), static_cast<int>(first.column));
  grid->setFocus();
  services_.messages.Error(
      CellProblemMessage(Fields(), first, pages_[static_cast<int>(first.side)]));
  return false;
}

void TwoGridTableDialog::Show(const Shown& shown) {
  ShowGrids(shown.grids);
  gaps_ = shown.gaps;
}

std::string TwoGridTableDialog::TableName() const {
  return Utf8FromPath(File().filename());
}

void TwoGridTableDialog::ShowAll(const std::vector<std::string>& messages) {
  for (const auto& message : messages)
    services_.messages.Plain(message);
}

// Every showing starts from the file; what was typed and not confirmed is gone.
void TwoGridTableDialog::FormShow() {
  stamps_.Clear();
  stamps_.Remember(File());
  const GridLoad load = Load();
  ShowGrids(load.model);
  gaps_ = load.report;
  ShowAll(MessageTexts(load.messages));
}

void TwoGridTableDialog::ShowAt(int side, int row, int column) {
  OpenAtNextShow(ShowPlace{side, row, column});
}

// After the frame has turned to the place's page.
void TwoGridTableDialog::GoToPlace(const ShowPlace& at) {
  StringGrid* grid = at.page == 1 ? sgb : sga;
  if (Within(at.row, grid->Model().rowCount()))
    grid->ShowCell(at.row, Within(at.column, grid->Model().columnCount()) ? at.column : 0);
  grid->setFocus(Qt::OtherFocusReason);
}

void TwoGridTableDialog::BitBtn1Click() {
  const SideGrids grids = GridsShown();
  if (!RefuseCells(grids))
    return;
  if (!ConfirmSave(grids))
    return;
  if (!ConfirmAndSave(services_, stamps_, gaps_, Utf8FromPath(File().filename()),
                      [&] { return Save(grids); }))
    return;
  SayAndReport(SavedReport(TableName(), RecordCounts(grids)));
  accept();
}

SideCounts TwoGridTableDialog::RecordCounts(const SideGrids& grids) const {
  return FilledRowCounts(Fields(), grids);
}

// The whole sheet is read first: a failure is told and the grids stay as they were.
void TwoGridTableDialog::BitBtn4Click() {
  const auto workbook = ChooseWorkbook(this, services_, state_);
  if (!workbook)
    return;
  const Result<WorkbookSheet> sheet = ReadTableSheet(*workbook, Sheet());
  if (!sheet) {
    services_.messages.Error(sheet.error());
    return;
  }
  const Result<GridImport> imported = Import(*sheet);
  if (!imported) {
    services_.messages.Error(imported.error());
    return;
  }
  const SideCounts rows = FilledRowCounts(Fields(), imported->model);
  if (!AskReplace(FilledRowCounts(Fields(), GridsShown()).Total(), rows.Total(), sheet->name))
    return;
  Shown before{GridsShown(), gaps_};
  Shown after{imported->model, imported->report};
  Show(after);
  RecordStates<Shown>(std::move(before), std::move(after), [this](const Shown& s) { Show(s); });
  Say(ImportedReport(*workbook, sheet->name, rows));
  ShowAll(gaps_.gaps);
}

void TwoGridTableDialog::Button1Click() {
  const SideGrids grids = GridsShown();
  if (ShowFailure(services_, Export(grids)))
    Say(ExportedReport(CsvPath(state_.ProjectDir, Sheet()),
                       FilledRowCounts(Fields(), grids).Total()));
}

}  // namespace quastor
