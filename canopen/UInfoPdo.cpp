#include "canopen/UInfoPdo.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>
#include <utility>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
#include "canopen/StoredPdoFiles.h"
#include "canopen/TableCounts.h"
#include "canopen/UTableActions.h"
#include "platform/ui/EditorLook.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/WidgetTexts.h"
#include "platform/ui/Widgets.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;

// A control's designer name: the page's names end in "A" or "B" (some in lower case).
QByteArray NameOf(const char* a_name, const char* b_name, Side side) {
  return side == Side::kA ? a_name : b_name;
}

QGroupBox* NewByteGroup(const char* name, QButtonGroup** items, QWidget* parent) {
  auto* group = Named(new QGroupBox(texts::kByteGroup, parent), name);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setSpacing(2);
  *items = new QButtonGroup(group);
  for (int i = 0; i < texts::kByteItemCount; ++i) {
    auto* item = new QRadioButton(texts::kByteItems[i], group);
    (*items)->addButton(item, i);
    grid->addWidget(item, i / 3, i % 3);
  }
  return group;
}

// The two lines beside a byte group: "Traslate in" and "High SDO Byte" or "Low SDO Byte".
QWidget* WithCaption(QGroupBox* group, const char* line1, const char* line2, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  auto* caption = new QLabel(QString::fromUtf8(line1) + " " + QString::fromUtf8(line2), box);
  layout->addWidget(caption);
  layout->addWidget(group);
  return box;
}

}  // namespace

TFInfopdo::TFInfopdo(const AppState& state, UiServices& services, QWidget* parent)
    : EditorFrame(services.messages, parent,
                  Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                      Qt::WindowCloseButtonHint),
      state_(state),
      services_(services) {
  setObjectName("TFInfopdo");
  setWindowTitle(texts::kStoredPdoCaption);
  ApplyEditorLook(this);
  resize(463, 573);

  Notebook = Named(new QTabWidget(this), "Notebook");
  Notebook->addTab(BuildPage(Side::kA), texts::kStoredPdoPageA);
  Notebook->addTab(BuildPage(Side::kB), texts::kStoredPdoPageB);

  const TablePanel panel = NewTablePanel(this, "LbButton1");
  LbButton1 = panel.ok;
  bitbtn2 = panel.cancel;
  button1 = panel.exportButton;
  bitbtn4 = panel.importButton;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Notebook, 1);
  layout->addLayout(panel.layout);
  layout->addWidget(StatusLine());

  connect(LbButton1, &QPushButton::clicked, this, &TFInfopdo::BitBtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &QDialog::reject);
  connect(button1, &QPushButton::clicked, this, &TFInfopdo::Button1Click);
  connect(bitbtn4, &QPushButton::clicked, this, &TFInfopdo::BitBtn4Click);
}

QWidget* TFInfopdo::BuildPage(Side side) {
  const bool a = side == Side::kA;
  auto* page = new QWidget(Notebook);
  PageControls& c = pages_[static_cast<int>(side)];

  c.LSdoCan = Named(new QListWidget(page), NameOf("LSdoCanA", "LSdoCanB", side));
  QPalette sdo_palette = c.LSdoCan->palette();
  sdo_palette.setColor(QPalette::Base, kMarkedColumnColour);
  c.LSdoCan->setPalette(sdo_palette);
  c.LPdoCan = Named(new QListWidget(page), NameOf("LPdoCanA", "LPdoCanB", side));
  c.Eindex = NewEdit(NameOf("EindexA", "EindexB", side), page);
  c.Esubindex = NewEdit(NameOf("EsubindexA", "EsubindexB", side), page);
  c.PoscompMsb = NewByteGroup(NameOf("PoscompMsbA", "PoscompMsbB", side), &c.msbItems, page);
  c.PoscompLsb = NewByteGroup(NameOf("PoscompLsbA", "PoscompLsbB", side), &c.lsbItems, page);
  c.Delete = NewButton(texts::kDeleteSdo, NameOf("DELETEa", "Deleteb", side), page);
  c.New = NewButton(texts::kNewSdo, NameOf("NewA", "Newb", side), page);
  c.Modify = NewButton(texts::kModifySdo, NameOf("ModifyA", "Modifyb", side), page);
  c.Copy = NewButton(texts::kCopySdo, NameOf("copyA", "copyB", side), page);
  c.Paste = NewButton(texts::kPasteSdo, NameOf("PasteA", "PasteB", side), page);

  auto* lists = new QGridLayout;
  lists->addWidget(NewLabel(a ? texts::kSdoListLabelA : texts::kSdoListLabelB,
                            NameOf("CorrelatedSdoA", "CorrelatedSdoB", side), page),
                   1, 0);
  lists->addWidget(NewLabel(texts::kCorrelated, "Correlated", page), 0, 1);
  lists->addWidget(NewLabel(a ? texts::kPdoListLabelA : texts::kPdoListLabelB,
                            NameOf("IndexPdoA", "IndexPdoB", side), page),
                   1, 1);
  lists->addWidget(c.LSdoCan, 2, 0);
  lists->addWidget(c.LPdoCan, 2, 1);
  auto* edits = new QVBoxLayout;
  edits->addWidget(NewLabel(a ? texts::kIndexLabelA : texts::kIndexLabelB,
                            NameOf("indexA", "indexB", side), page));
  edits->addWidget(c.Eindex);
  edits->addWidget(NewLabel(a ? texts::kSubindexLabelA : texts::kSubindexLabelB,
                            NameOf("subindexA", "subindexB", side), page));
  edits->addWidget(c.Esubindex);
  edits->addStretch();
  lists->addLayout(edits, 2, 2);

  auto* bytes = new QHBoxLayout;
  bytes->addWidget(WithCaption(c.PoscompMsb, texts::kTranslateIn, texts::kHighSdoByte, page));
  bytes->addWidget(WithCaption(c.PoscompLsb, a ? texts::kTranslateInLowA : texts::kTranslateIn,
                               texts::kLowSdoByte, page));
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {c.Delete, c.New, c.Modify, c.Copy, c.Paste})
    buttons->addWidget(button);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(lists, 1);
  layout->addLayout(bytes);
  layout->addLayout(buttons);

  connect(c.LPdoCan, &QListWidget::currentRowChanged, this, [this, side] {
    if (!showing_)
      LPdoCanAClick(side);
  });
  connect(c.LSdoCan, &QListWidget::currentRowChanged, this, [this, side] {
    if (!showing_)
      LSdoCanAClick(side);
  });
  // A click on the item already chosen changes no row, yet reloads it, as the user expects
  // after a Delete or an edit.
  for (QListWidget* list : {c.LPdoCan, c.LSdoCan})
    list->viewport()->installEventFilter(this);
  connect(c.LPdoCan, &QListWidget::itemClicked, this, [this, side] {
    if (std::exchange(reclicked_, false))
      LPdoCanAClick(side);
  });
  connect(c.LSdoCan, &QListWidget::itemClicked, this, [this, side] {
    if (std::exchange(reclicked_, false))
      LSdoCanAClick(side);
  });
  connect(c.Delete, &QPushButton::clicked, this, [this, side] { DeleteAClick(side); });
  connect(c.New, &QPushButton::clicked, this, [this, side] { NewAClick(side); });
  connect(c.Modify, &QPushButton::clicked, this, [this, side] { ModifyAClick(side); });
  connect(c.Copy, &QPushButton::clicked, this, [this, side] { CopyAClick(side); });
  connect(c.Paste, &QPushButton::clicked, this, [this, side] { PasteAClick(side); });
  return page;
}

void TFInfopdo::FormShow() {
  stamps_.Clear();
  stamps_.Remember(state_.ProjectFiles.sdopdo);
  StoredPdoLoad load = LoadStoredPdo(state_.ProjectDir, state_.ProjectFiles.sdopdo);
  model_ = std::move(load.model);
  gaps_ = std::move(load.report);
  for (const Side side : kBothSides) {
    ShowLists(side);
    ClearEdits(side);
  }
  ShowAll(MessageTexts(load.messages));
}

void TFInfopdo::ShowAll(const std::vector<std::string>& messages) {
  for (const auto& message : messages)
    services_.messages.Plain(message);
}

void TFInfopdo::ShowLists(Side side) {
  const PageControls& c = Controls(side);
  const StoredPdoPage& page = model_.page(side);
  showing_ = true;
  c.LPdoCan->clear();
  for (const auto& label : PdoLabels(page))
    c.LPdoCan->addItem(Q(label));
  c.LPdoCan->setCurrentRow(page.selectedPdo ? static_cast<int>(*page.selectedPdo) : -1);
  c.LSdoCan->clear();
  for (const auto& label : page.sdoLabels)
    c.LSdoCan->addItem(Q(label));
  c.LSdoCan->setCurrentRow(page.selectedSdo ? static_cast<int>(*page.selectedSdo) : -1);
  showing_ = false;
}

void TFInfopdo::SetChoice(QButtonGroup* group, int item) {
  if (item >= 0 && item < texts::kByteItemCount) {
    group->button(item)->setChecked(true);
    return;
  }
  // No item: a half above 8 has none.
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons())
    button->setChecked(false);
  group->setExclusive(true);
}

void TFInfopdo::ClearEdits(Side side) {
  const PageControls& c = Controls(side);
  c.Eindex->clear();
  c.Esubindex->clear();
  SetChoice(c.msbItems, 0);
  SetChoice(c.lsbItems, 0);
}

SdoEdits TFInfopdo::EditsShown(Side side) const {
  const PageControls& c = Controls(side);
  return SdoEdits{S(c.Eindex->text()), S(c.Esubindex->text()),
                  PoscompChoice{c.msbItems->checkedId(), c.lsbItems->checkedId()}};
}

void TFInfopdo::ShowEdits(Side side, const EditsToShow& edits) {
  const PageControls& c = Controls(side);
  c.Eindex->setText(Q(edits.index));
  c.Esubindex->setText(Q(edits.subindex));
  if (!edits.choice) {
    services_.messages.Error(edits.choice.error());
    return;
  }
  SetChoice(c.msbItems, edits.choice->high);
  SetChoice(c.lsbItems, edits.choice->low);
}

void TFInfopdo::ShowAt(int side, int pdo, int entry, int field) {
  OpenAtNextShow(ShowPlace{side, pdo, field, entry});
}

void TFInfopdo::GoToPlace(const ShowPlace& at) {
  const Side side = at.page == 0 ? Side::kA : Side::kB;
  const PageControls& c = Controls(side);
  c.LPdoCan->setFocus(Qt::OtherFocusReason);
  if (!Within(at.row, c.LPdoCan->count()))
    return;
  c.LPdoCan->setCurrentRow(at.row);
  LPdoCanAClick(side);
  if (!Within(at.entry, c.LSdoCan->count()))
    return;
  c.LSdoCan->setCurrentRow(at.entry);
  LSdoCanAClick(side);
  c.LSdoCan->setFocus(Qt::OtherFocusReason);
  if (Within(at.column, 2))
    FocusEdit(at.column == 0 ? c.Eindex : c.Esubindex);
}

void TFInfopdo::LPdoCanAClick(Side side) {
  const int row = Controls(side).LPdoCan->currentRow();
  if (row < 0)
    return;
  ChoosePdo(model_.page(side), static_cast<std::size_t>(row));
  ShowLists(side);
  ClearEdits(side);
}

void TFInfopdo::LSdoCanAClick(Side side) {
  const int row = Controls(side).LSdoCan->currentRow();
  if (row < 0)
    return;
  ShowEdits(side, ChooseSdo(model_.page(side), static_cast<std::size_t>(row)));
}

bool TFInfopdo::EditsAccepted(Side side) {
  const std::optional<FieldFault> fault = SdoEditsFault(EditsShown(side));
  if (!fault)
    return true;
  services_.messages.Error(FieldRefusedMessage(StoredPdoFields(side), *fault));
  const PageControls& c = Controls(side);
  FocusEdit(fault->field == 0 ? c.Eindex : c.Esubindex);
  return false;
}

std::string TFInfopdo::TableName() const {
  return texts::kStoredPdoFileName;
}

void TFInfopdo::Record(Shown before) {
  RecordStates<Shown>(std::move(before), Shown{model_, gaps_},
                      [this](const Shown& shown) { Show(shown); });
}

void TFInfopdo::Show(const Shown& shown) {
  model_ = shown.first;
  gaps_ = shown.second;
  for (const Side side : kBothSides) {
    ShowLists(side);
    ClearEdits(side);
  }
}

void TFInfopdo::NewAClick(Side side) {
  if (model_.page(side).selectedPdo && !EditsAccepted(side))
    return;
  Shown before{model_, gaps_};
  if (Status added = NewSdo(model_.page(side), EditsShown(side)); !added)
    services_.messages.Error(added.error());
  else if (before.first.page(side).selectedPdo)
    Record(std::move(before));
  ShowLists(side);
}

void TFInfopdo::ModifyAClick(Side side) {
  if (model_.page(side).selectedSdo && !EditsAccepted(side))
    return;
  Shown before{model_, gaps_};
  if (Status changed = ModifySdo(model_.page(side), EditsShown(side)); !changed)
    services_.messages.Error(changed.error());
  else if (before.first.page(side).selectedSdo)
    Record(std::move(before));
  ShowLists(side);
}

void TFInfopdo::DeleteAClick(Side side) {
  Shown before{model_, gaps_};
  DeleteSdo(model_.page(side));
  if (before.first.page(side).selectedSdo)
    Record(std::move(before));
  ShowLists(side);  // the edits keep the deleted entry's values
}

void TFInfopdo::CopyAClick(Side side) {
  clipboards_[static_cast<int>(side)] = CopySdo(model_.page(side), EditsShown(side));
}

void TFInfopdo::PasteAClick(Side side) {
  const std::optional<EditsToShow> pasted = PasteSdo(clipboards_[static_cast<int>(side)]);
  if (!pasted) {
    services_.messages.Plain(texts::kNothingCopied);
    return;
  }
  ShowEdits(side, *pasted);
}

void TFInfopdo::BitBtn1Click() {
  if (!ConfirmAndSave(services_, stamps_, gaps_, texts::kStoredPdoFileName,
                      [&] { return SaveStoredPdo(state_.ProjectFiles.sdopdo, model_); }))
    return;
  SayAndReport(SavedReport(texts::kStoredPdoFileName, StoredPdoCounts(model_)));
  accept();
}

// The whole sheet is read first: a failure is told and the lists stay as they were.
void TFInfopdo::BitBtn4Click() {
  const auto workbook = ChooseWorkbook(this, services_, state_);
  if (!workbook)
    return;
  const Result<WorkbookSheet> sheet = ReadTableSheet(*workbook, texts::kStoredPdoTable);
  if (!sheet) {
    services_.messages.Error(sheet.error());
    return;
  }
  Result<StoredPdoImport> imported = ImportStoredPdoSheet(model_, *sheet);
  if (!imported) {
    services_.messages.Error(imported.error());
    return;
  }
  StoredPdoModel after = model_;
  LoadReport gaps = imported->report;
  ApplyStoredPdoImport(after, std::move(imported.value()));
  const SideCounts rows = StoredPdoCounts(after);
  if (!AskReplace(StoredPdoCounts(model_).Total(), rows.Total(), sheet->name))
    return;
  Shown before{model_, gaps_};
  gaps_ = std::move(gaps);
  model_ = std::move(after);
  for (const Side side : kBothSides) {
    ShowLists(side);
    ClearEdits(side);
  }
  Record(std::move(before));
  Say(ImportedReport(*workbook, sheet->name, rows));
  ShowAll(gaps_.gaps);
}

void TFInfopdo::Button1Click() {
  if (ShowFailure(services_, ExportStoredPdoCsv(state_.ProjectDir, model_)))
    Say(ExportedReport(CsvPath(state_.ProjectDir, texts::kStoredPdoTable),
                       StoredPdoCounts(model_).Total()));
}

bool TFInfopdo::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    for (const PageControls& c : pages_) {
      for (QListWidget* list : {c.LPdoCan, c.LSdoCan}) {
        if (watched != list->viewport())
          continue;
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const int row = list->indexAt(at).row();
        reclicked_ = row >= 0 && row == list->currentRow();
      }
    }
  }
  return EditorFrame::eventFilter(watched, event);
}

}  // namespace quastor
