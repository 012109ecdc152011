#include "canopen/Uemcy.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/EmcyRulesFiles.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
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

namespace texts = emcy_texts;

// The edits' names without their side letter, in the rule's order.
constexpr const char* kEditNames[] = {"Eid_dev",       "Emask_eq_ec",   "Emask_eq_er",
                                      "Emask_eq_m1",   "Emask_eq_m2",   "Emask_eq_m3",
                                      "Eenmask_eq_ec", "Eenmask_eq_er", "Eenmask_eq_m1",
                                      "Eenmask_eq_m2", "Eenmask_eq_m3"};

QByteArray SideName(const char* name, Side side) {
  return QByteArray(name) + (side == Side::kA ? "A" : "B");
}

// A field: its label (name and range) over its edit.
QWidget* Field(QLineEdit* edit, int k, QWidget* parent) {
  auto* box = new QWidget(parent);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  auto* label = new QLabel(
      QString::fromUtf8(texts::kRuleLabels[k]) + " " + QString::fromUtf8(texts::kRuleRanges[k]),
      box);
  label->setObjectName(QString("L") + edit->objectName());
  label->setBuddy(edit);
  layout->addWidget(label);
  layout->addWidget(edit);
  return box;
}

}  // namespace

TFemcy::TFemcy(const AppState& state, UiServices& services, QWidget* parent)
    : EditorFrame(services.messages, parent,
                  Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      state_(state),
      services_(services) {
  setObjectName("TFemcy");
  setWindowTitle(texts::kRulesCaption);
  ApplyEditorLook(this);
  setFixedSize(553, 582);

  Notebook = Named(new QTabWidget(this), "Notebook");
  Notebook->addTab(BuildPage(Side::kA), texts::kRulesPageA);
  Notebook->addTab(BuildPage(Side::kB), texts::kRulesPageB);

  const TablePanel panel = NewTablePanel(this, "bitbtn1");
  bitbtn1 = panel.ok;
  bitbtn2 = panel.cancel;
  button1 = panel.exportButton;
  bitbtn4 = panel.importButton;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(Notebook, 1);
  layout->addLayout(panel.layout);
  layout->addWidget(StatusLine());

  connect(bitbtn1, &QPushButton::clicked, this, &TFemcy::BitBtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &QDialog::reject);
  connect(button1, &QPushButton::clicked, this, &TFemcy::Button1Click);
  connect(bitbtn4, &QPushButton::clicked, this, &TFemcy::BitBtn4Click);
}

QWidget* TFemcy::BuildPage(Side side) {
  const bool a = side == Side::kA;
  auto* page = new QWidget(Notebook);
  PageControls& c = pages_[static_cast<int>(side)];

  c.LBCan = Named(new QListWidget(page), a ? "LBCanA" : "LBCanB");
  c.LBCan->setFixedWidth(76);
  c.LBCan->setUniformItemSizes(true);
  for (int k = 0; k < texts::kRuleTextCount; ++k)
    c.edits[k] = NewEdit(SideName(kEditNames[k], side), page);
  c.enable = NewCheckBox(a ? texts::kEnableA : texts::kEnableB, a ? "enablea" : "enableb", page);
  c.alias = BuildAliasGroup(side, page);
  c.Delete = NewButton(texts::kDeleteRule, a ? "DeleteA" : "DeleteB", page);
  c.New = NewButton(texts::kNewRule, a ? "NewA" : "NewB", page);
  c.Modify = NewButton(texts::kModifyRule, a ? "ModifyA" : "ModifyB", page);

  // The ID and the check box, then each part's mask over its enable mask, two parts a row.
  auto* fields = new QGridLayout;
  fields->setHorizontalSpacing(10);
  fields->setVerticalSpacing(3);
  fields->addWidget(Field(c.edits[0], 0, page), 0, 0);
  fields->addWidget(c.enable, 0, 1, Qt::AlignBottom);
  constexpr int kParts = 5;
  for (int part = 0; part < kParts; ++part) {
    auto* pair = new QVBoxLayout;
    pair->setSpacing(2);
    pair->addWidget(Field(c.edits[1 + part], 1 + part, page));
    pair->addWidget(Field(c.edits[1 + kParts + part], 1 + kParts + part, page));
    fields->addLayout(pair, 1 + part / 2, part % 2);
  }
  fields->setColumnStretch(0, 1);
  fields->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {c.Delete, c.New, c.Modify})
    buttons->addWidget(button);

  auto* right = new QVBoxLayout;
  right->setSpacing(6);
  right->addLayout(fields);
  right->addWidget(c.alias);
  right->addStretch();
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(c.LBCan);
  layout->addLayout(right, 1);

  connect(c.LBCan, &QListWidget::currentRowChanged, this, [this, side] {
    if (!showing_)
      LBCanAClick(side);
  });
  connect(c.LBCan, &QListWidget::itemClicked, this, [this, side] { LBCanAClick(side); });
  connect(c.Delete, &QPushButton::clicked, this, [this, side] { DeleteAClick(side); });
  connect(c.New, &QPushButton::clicked, this, [this, side] { NewAClick(side); });
  connect(c.Modify, &QPushButton::clicked, this, [this, side] { ModifyAClick(side); });
  return page;
}

QGroupBox* TFemcy::BuildAliasGroup(Side side, QWidget* page) {
  const bool a = side == Side::kA;
  PageControls& c = pages_[static_cast<int>(side)];
  auto* group = Named(new QGroupBox(texts::kAliasGroup, page), a ? "GBalliasA" : "GBalliasB");
  auto* lines = new QLabel(group);
  const auto& line_texts = a ? texts::kAliasLinesA : texts::kAliasLinesB;
  lines->setText(QString::fromUtf8(line_texts[0]) + "\n" + line_texts[1] + "\n" + line_texts[2]);
  lines->setObjectName(a ? "LalliasA" : "LalliasB");
  auto* items = new QVBoxLayout;
  items->setSpacing(0);
  c.aliasItems = new QButtonGroup(group);
  for (int value = 0; value < texts::kAliasCount; ++value) {
    const char* caption = value == 0 ? (a ? texts::kNoTranslateA : texts::kNoTranslateB)
                                     : texts::kAliasCaptions[value - 1];
    auto* item = Named(new QRadioButton(caption, group),
                       a ? texts::kAliasNamesA[value] : texts::kAliasNamesB[value]);
    c.aliasItems->addButton(item, value);
    items->addWidget(item);
  }
  auto* layout = new QHBoxLayout(group);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->addWidget(lines, 0, Qt::AlignTop);
  layout->addSpacing(12);
  layout->addLayout(items, 1);
  return group;
}

void TFemcy::FormShow() {
  stamps_.Clear();
  stamps_.Remember(state_.ProjectFiles.emcydef);
  EmcyRulesLoad load = LoadEmcyRules(state_.ProjectFiles.emcydef);
  ClearPages();
  model_ = std::move(load.model);
  gaps_ = std::move(load.report);
  ShowChosenRules();
  for (const auto& message : load.messages)
    services_.messages.Plain(message.text);
}

void TFemcy::ShowAt(int side, int row, int field) {
  OpenAtNextShow(ShowPlace{side, row, field});
}

void TFemcy::GoToPlace(const ShowPlace& at) {
  const Side side = at.page == 0 ? Side::kA : Side::kB;
  const PageControls& c = Controls(side);
  if (!Within(at.row, c.LBCan->count())) {
    c.LBCan->setFocus(Qt::OtherFocusReason);
    return;
  }
  c.LBCan->setCurrentRow(at.row);
  LBCanAClick(side);
  if (Within(at.column, static_cast<int>(c.edits.size())))
    FocusEdit(c.edits[static_cast<std::size_t>(at.column)]);
  else
    c.LBCan->setFocus(Qt::OtherFocusReason);
}

void TFemcy::ClearPages() {
  model_ = EmcyModel{};
  for (const Side side : kBothSides) {
    const PageControls& c = Controls(side);
    ShowList(side);
    for (QLineEdit* edit : c.edits)
      edit->clear();
    c.enable->setChecked(false);
    c.aliasItems->button(0)->setChecked(true);
  }
}

void TFemcy::ShowList(Side side) {
  const PageControls& c = Controls(side);
  const EmcyPage& page = model_.page(side);
  showing_ = true;
  c.LBCan->clear();
  QStringList labels;
  labels.reserve(static_cast<int>(page.rules.size()));
  for (const auto& label : RuleLabels(page))
    labels << Q(label);
  c.LBCan->addItems(labels);
  c.LBCan->setCurrentRow(page.selected ? static_cast<int>(*page.selected) : -1);
  showing_ = false;
}

void TFemcy::ShowChosenRules() {
  for (const Side side : kBothSides) {
    ShowList(side);
    const EmcyPage& page = model_.page(side);
    if (page.selected)
      ShowFields(side, FieldsOf(page.rules[*page.selected]));
  }
}

void TFemcy::ShowFields(Side side, const RuleFields& fields) {
  const PageControls& c = Controls(side);
  for (int k = 0; k < texts::kRuleTextCount; ++k)
    c.edits[k]->setText(Q(fields.texts[k]));
  c.enable->setChecked(fields.enable);
  // Positions 9 to 15 have no radio button: none is checked, rather than the one of the rule
  // shown before, which Modify would then write.
  if (QAbstractButton* item = c.aliasItems->button(fields.alias_pos)) {
    item->setChecked(true);
  } else if (QAbstractButton* checked = c.aliasItems->checkedButton()) {
    c.aliasItems->setExclusive(false);
    checked->setChecked(false);
    c.aliasItems->setExclusive(true);
  }
}

RuleFields TFemcy::FieldsShown(Side side) const {
  const PageControls& c = Controls(side);
  RuleFields fields;
  for (int k = 0; k < texts::kRuleTextCount; ++k)
    fields.texts[k] = S(c.edits[k]->text());
  fields.enable = c.enable->isChecked();
  const int checked = c.aliasItems->checkedId();
  fields.alias_pos = checked >= 0 ? checked : kAliasKept;
  return fields;
}

void TFemcy::LBCanAClick(Side side) {
  const int row = Controls(side).LBCan->currentRow();
  if (row < 0)
    return;
  if (const auto fields = ChooseRule(model_.page(side), static_cast<std::size_t>(row)))
    ShowFields(side, *fields);
}

bool TFemcy::FieldsAccepted(Side side) {
  const std::optional<FieldFault> fault = RuleFieldsFault(FieldsShown(side));
  if (!fault)
    return true;
  services_.messages.Error(FieldRefusedMessage(EmcyRuleFields(), *fault));
  FocusEdit(Controls(side).edits[fault->field]);
  return false;
}

std::string TFemcy::TableName() const {
  return texts::kRulesFileName;
}

void TFemcy::Record(Shown before) {
  RecordStates<Shown>(std::move(before), Shown{model_, gaps_},
                      [this](const Shown& shown) { Show(shown); });
}

void TFemcy::Show(const Shown& shown) {
  ClearPages();
  model_ = shown.first;
  gaps_ = shown.second;
  ShowChosenRules();
}

void TFemcy::NewAClick(Side side) {
  if (!FieldsAccepted(side))
    return;
  Shown before{model_, gaps_};
  if (Status added = NewRule(model_.page(side), FieldsShown(side)); !added)
    services_.messages.Error(added.error());
  else
    Record(std::move(before));
  ShowList(side);
}

void TFemcy::ModifyAClick(Side side) {
  if (model_.page(side).selected && !FieldsAccepted(side))
    return;
  Shown before{model_, gaps_};
  if (Status changed = ModifyRule(model_.page(side), FieldsShown(side)); !changed)
    services_.messages.Error(changed.error());
  else if (before.first.page(side).selected)
    Record(std::move(before));
  ShowList(side);
}

void TFemcy::DeleteAClick(Side side) {
  Shown before{model_, gaps_};
  DeleteRule(model_.page(side));
  if (before.first.page(side).selected)
    Record(std::move(before));
  ShowList(side);  // the fields keep the deleted rule's values
}

void TFemcy::BitBtn1Click() {
  if (!ConfirmAndSave(services_, stamps_, gaps_, texts::kRulesFileName,
                      [&] { return SaveEmcyRules(state_.ProjectFiles.emcydef, model_); }))
    return;
  SayAndReport(SavedReport(texts::kRulesFileName, EmcyRuleCounts(model_)));
  accept();
}

// The whole sheet is read first: a failure is told and the lists stay as they were.
void TFemcy::BitBtn4Click() {
  const auto workbook = ChooseWorkbook(this, services_, state_);
  if (!workbook)
    return;
  const Result<WorkbookSheet> sheet = ReadTableSheet(*workbook, canopen_texts::kEmcyTable);
  if (!sheet) {
    services_.messages.Error(sheet.error());
    return;
  }
  Result<EmcyModel> imported = ImportEmcyRulesSheet(*sheet);
  if (!imported) {
    services_.messages.Error(imported.error());
    return;
  }
  const SideCounts rows = EmcyRuleCounts(*imported);
  if (!AskReplace(EmcyRuleCounts(model_).Total(), rows.Total(), sheet->name))
    return;
  Shown before{model_, gaps_};
  ClearPages();
  model_ = std::move(imported.value());
  gaps_ = LoadReport{};  // the lists no longer come from the file
  ShowChosenRules();
  Record(std::move(before));
  Say(ImportedReport(*workbook, sheet->name, rows));
}

void TFemcy::Button1Click() {
  if (ShowFailure(services_, ExportEmcyRulesCsv(state_.ProjectDir, model_)))
    Say(ExportedReport(CsvPath(state_.ProjectDir, canopen_texts::kEmcyTable),
                       EmcyRuleCounts(model_).Total()));
}

}  // namespace quastor
