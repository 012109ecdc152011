#include "j1939/UFrameList.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "j1939/J1939Texts.h"
#include "platform/DoneReport.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/ui/ChangedFiles.h"
#include "platform/ui/EditorLook.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/WidgetTexts.h"
#include "platform/ui/Widgets.h"

namespace quastor {
namespace {

namespace texts = j1939_texts;

// Columns 1 to 4 are tinted, the mnemonic has the pale background.
std::vector<GridColumn> GridColumns(const FrameListKind& kind) {
  std::vector<GridColumn> columns;
  for (std::size_t c = 0; c < kind.columns.size(); ++c) {
    const FrameColumn& frame_column = kind.columns[c];
    GridColumn column;
    column.title = frame_column.title;
    column.width = frame_column.width;
    column.background = c < 4 ? kMarkedColumnColour : kEditorBackground;
    column.checkBox = frame_column.checkBox;
    column.checkedText = texts::kTicked;
    column.uncheckedText = texts::kNotTicked;
    columns.push_back(column);
  }
  return columns;
}

}  // namespace

FrameListDialog::FrameListDialog(const AppState& state, UiServices& services,
                                 FrameDirection direction, const Look& look, QWidget* parent)
    : EditorFrame(services.messages, parent,
                  Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                      Qt::WindowCloseButtonHint),
      state_(state),
      services_(services),
      direction_(direction) {
  const FrameListKind& kind = FrameListOf(direction);
  setObjectName(look.name);
  setWindowTitle(kind.caption);
  ApplyEditorLook(this);
  resize(look.size);

  sga = Named(new StringGrid(this), "sga");
  sga->SetNumberTitle(QString::fromUtf8(texts::kNumberTitle));
  sga->Setup(GridColumns(kind), kFrameRowCount, 1);
  Attach(sga);
  sga->verticalHeader()->setFixedWidth(kind.numberWidth);
  sga->verticalHeader()->setDefaultSectionSize(look.rowHeight);
  sga->setHorizontalScrollBarPolicy(look.horizontalScrollBar ? Qt::ScrollBarAsNeeded
                                                             : Qt::ScrollBarAlwaysOff);
  // A column is at least as wide as its title; the mnemonic takes the width that is left.
  QHeaderView* header = sga->horizontalHeader();
  const int margins = 4 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
  for (int c = 0; c < kFrameColumnCount; ++c) {
    const int title = header->fontMetrics().horizontalAdvance(kind.columns[c].title) + margins;
    sga->setColumnWidth(c, std::max(sga->columnWidth(c), title));
  }
  sga->setColumnWidth(kFrameColumnCount - 1, header->minimumSectionSize());
  header->setStretchLastSection(true);

  okButton_ = NewButton(widget_texts::kOkKey, look.okName, this);
  cancelButton_ = NewButton(widget_texts::kCancelKey, look.cancelName, this);
  okButton_->setDefault(true);
  importButton_ = NewButton(QString(), "bitbtnImport", this);
  importButton_->setAutoDefault(false);
  importButton_->hide();
  auto* strip = new QHBoxLayout;
  strip->addWidget(okButton_);
  strip->addWidget(cancelButton_);
  strip->addStretch();
  strip->addWidget(importButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sga, 1);
  layout->addLayout(strip);
  layout->addWidget(StatusLine());

  connect(&sga->Model(), &StringGridModel::CellEdited, this,
          [this](int row, int) { RowEdited(row); });
  connect(okButton_, &QPushButton::clicked, this, &FrameListDialog::bitbtn1Click);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(importButton_, &QPushButton::clicked, this, [this] {
    // A copy: the source may show a window that sets it again.
    const FrameSource source = frameSource_;
    if (source) {
      if (const auto frames = source())
        ImportFrames(*frames);
    }
  });
}

void FrameListDialog::SetFrameSource(const std::string& caption, FrameSource source) {
  frameSource_ = std::move(source);
  importButton_->setText(QString::fromStdString(caption));
  importButton_->setVisible(static_cast<bool>(frameSource_));
}

void FrameListDialog::ImportFrames(const std::vector<ImportedFrame>& frames) {
  if (frames.empty())
    return;
  struct Shown {
    FrameRows rows;
    FrameRowsKept kept;
  };
  Shown before{RowsShown(), kept_};
  FramePlacement placement = PlaceFrames(direction_, before.rows, before.kept, frames);
  if (placement.placed > 0) {
    const auto show = [this](const Shown& shown) {
      sga->Model().SetRows(shown.rows);
      kept_ = shown.kept;
    };
    Shown after{std::move(placement.rows), std::move(placement.kept)};
    show(after);
    RecordStates<Shown>(std::move(before), std::move(after), show);
  }
  std::string said = FormatText(texts::kFramesImported,
                                {Counted(placement.placed, texts::kFrame, texts::kFrames)});
  if (placement.leftOut > 0) {
    const std::string left = FramesLeftOutText(placement.leftOut);
    services_.messages.Plain(left);
    said += " " + left;
  }
  Say(said);
}

FrameRows FrameListDialog::RowsShown() const {
  return sga->Model().Rows();
}

// Every showing starts from the file; what was typed and not confirmed is gone.
void FrameListDialog::FormShow() {
  stamps_.Clear();
  stamps_.Remember(FrameListFile(state_.ProjectFiles, direction_));
  FrameListLoad load = LoadFrameList(direction_, FrameListFile(state_.ProjectFiles, direction_));
  sga->Model().SetRows(load.model);
  kept_ = std::move(load.kept);
  report_ = std::move(load.report);
  for (const LoadMessage& message : load.messages) {
    if (message.error)
      services_.messages.Error(message.text);
    else
      services_.messages.Plain(message.text);
  }
}

void FrameListDialog::SetStringPicker(StringGrid::PickHook pick) {
  sga->SetPickHook(kFrameColumnCount - 1, std::move(pick));
}

void FrameListDialog::ShowAt(int row, int column) {
  OpenAtNextShow(ShowPlace{-1, row, column});
}

// After the frame has put the focus into the grid.
void FrameListDialog::GoToPlace(const ShowPlace& at) {
  if (!Within(at.row, sga->Model().rowCount()))
    return;
  sga->ShowCell(at.row, Within(at.column, sga->Model().columnCount()) ? at.column : 0);
}

void FrameListDialog::RowEdited(int row) {
  const auto r = static_cast<std::size_t>(row);
  if (r < kept_.size() && FrameRowHoldsNothing(direction_, RowsShown()[r]))
    kept_[r].clear();
}

std::string FrameListDialog::TableName() const {
  return Utf8FromPath(FrameListFile(state_.ProjectFiles, direction_).filename());
}

bool FrameListDialog::CheckRows() {
  const std::vector<FrameRowProblem> problems = RowProblems(direction_, RowsShown());
  if (problems.empty())
    return true;
  const FrameRowProblem& first = problems.front();
  const FrameColumn* columns = FrameListOf(direction_).columns.data();
  const int column = first.column != nullptr ? static_cast<int>(first.column - columns) : 0;
  const QModelIndex cell = sga->Model().index(static_cast<int>(first.row) - 1, column);
  sga->setCurrentIndex(cell);
  sga->scrollTo(cell);
  sga->setFocus();
  services_.messages.Error(RowProblemMessage(first));
  return false;
}

void FrameListDialog::bitbtn1Click() {
  if (!CheckRows())
    return;
  const std::filesystem::path& file = FrameListFile(state_.ProjectFiles, direction_);
  if (!ConfirmOverwriteChanged(services_.messages, stamps_))
    return;
  if (!report_.Complete() && !services_.messages.Ask(OverwriteQuestion(
                                 report_, texts::kOverwriteQuestion, FrameSourceName(file))))
    return;
  const FrameRows rows = RowsShown();
  if (Status saved = SaveFrameList(direction_, file, rows, kept_); !saved) {
    services_.messages.Error(saved.error());
    return;
  }
  report_ = LoadReport{};
  SayAndReport(SavedReport(TableName(), ListedRows(rows)));
  accept();
}

}  // namespace quastor
