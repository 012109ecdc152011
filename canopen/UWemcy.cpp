#include "canopen/UWemcy.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/EmcyTexts.h"
#include "canopen/EmcyWordFiles.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
#include "canopen/TableCounts.h"
#include "canopen/UTableActions.h"
#include "canopen/UWordImages.h"
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

// Tree item types, so that each node carries its kind.
constexpr int kWordItem = QTreeWidgetItem::UserType;
constexpr int kBitItem = QTreeWidgetItem::UserType + 1;

QByteArray SideName(const char* name, Side side, const char* suffix = "") {
  return QByteArray(name) + (side == Side::kA ? "A" : "B") + suffix;
}

void AddRow(QGridLayout* grid, int row, int column, const char* text, QLineEdit* edit) {
  auto* label = new QLabel(QString::fromUtf8(text), edit->parentWidget());
  label->setObjectName(QString("L") + edit->objectName());
  label->setBuddy(edit);
  grid->addWidget(label, row, column);
  grid->addWidget(edit, row + 1, column);
}

}  // namespace

TFWemcy::TFWemcy(const AppState& state, UiServices& services, QWidget* parent)
    : EditorFrame(services.messages, parent,
                  Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      state_(state),
      services_(services) {
  setObjectName("TFWemcy");
  setWindowTitle(texts::kWordsCaption);
  ApplyEditorLook(this);
  setFixedSize(455, 490);
  FormCreate();

  Notebook = Named(new QTabWidget(this), "Notebook");
  Notebook->addTab(BuildPage(Side::kA), texts::kWordsPageA);
  Notebook->addTab(BuildPage(Side::kB), texts::kWordsPageB);

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

  connect(bitbtn1, &QPushButton::clicked, this, &TFWemcy::BitBtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &QDialog::reject);
  connect(button1, &QPushButton::clicked, this, &TFWemcy::Button1Click);
  connect(bitbtn4, &QPushButton::clicked, this, &TFWemcy::BitBtn4Click);
}

void TFWemcy::FormCreate() {
  Large = DrawNodeImages();
  WordNode word;  // the pictures of a word node
  WordNode bit;
  bit.image = kBitClosed;
  bit.selectedImage = kBitOpen;
  icons_ = {NodeIcon(Large, word), NodeIcon(Large, bit)};
}

QWidget* TFWemcy::BuildPage(Side side) {
  const bool a = side == Side::kA;
  auto* page = new QWidget(Notebook);
  PageControls& c = pages_[static_cast<int>(side)];

  c.TWCan = Named(new QTreeWidget(page), a ? "TWCanA" : "TWCanB");
  c.TWCan->setHeaderHidden(true);
  c.TWCan->setColumnCount(1);
  c.TWCan->setIndentation(19);
  c.TWCan->setIconSize(QSize(kNodeImageSize, kNodeImageSize));
  c.TWCan->setUniformRowHeights(true);
  c.TWCan->setEditTriggers(QAbstractItemView::NoEditTriggers);
  c.TWCan->setSelectionMode(QAbstractItemView::SingleSelection);
  c.TWCan->setFixedWidth(150);

  c.GBword_emcy_bitmap =
      Named(new QGroupBox(texts::kWordGroup, page), SideName("GBword_emcy_bitmap", side));
  QGroupBox* word_group = c.GBword_emcy_bitmap;
  c.Eindex_addrm = NewEdit(SideName("Eindex_addrm", side), word_group);
  c.Esubindex = NewEdit(SideName("Esubindex", side), word_group);
  c.Edevid = NewEdit(SideName("Edevid", side), word_group);
  c.Gbebm = Named(new QGroupBox(texts::kBitGroup, word_group), SideName("Gbebm", side));
  c.Eb0 = NewEdit(SideName("Eb0", side), c.Gbebm);
  c.Eb1 = NewEdit(SideName("Eb1", side), c.Gbebm);
  c.Eposcomp = NewEdit(SideName("Eposcomp", side), c.Gbebm);
  c.Eposcomp2 = NewEdit(SideName("Eposcomp", side, "2"), c.Gbebm);
  c.deleteButton = NewButton(texts::kDeleteWord, a ? "deleteA" : "deleteB", word_group);
  c.newButton = NewButton(texts::kNewWord, a ? "newA" : "newB", word_group);
  c.modify = NewButton(texts::kModifyWord, a ? "modifyA" : "modifyB", word_group);

  // The bit group: the masks on the left, the EMCY byte numbers on the right.
  auto* bits = new QGridLayout(c.Gbebm);
  bits->setContentsMargins(8, 6, 8, 8);
  bits->setHorizontalSpacing(12);
  bits->setVerticalSpacing(2);
  AddRow(bits, 0, 0, texts::kMaskByte1, c.Eb0);
  AddRow(bits, 2, 0, a ? texts::kMaskByte2A : texts::kMaskByte2B, c.Eb1);
  AddRow(bits, 0, 1, texts::kEmcyByte1, c.Eposcomp);
  AddRow(bits, 2, 1, texts::kEmcyByte2, c.Eposcomp2);

  const auto& labels = a ? texts::kWordLabelsA : texts::kWordLabelsB;
  auto* words = new QGridLayout;
  words->setVerticalSpacing(2);
  AddRow(words, 0, 0, labels[0], c.Eindex_addrm);
  AddRow(words, 2, 0, labels[1], c.Esubindex);
  AddRow(words, 4, 0, labels[2], c.Edevid);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {c.deleteButton, c.newButton, c.modify})
    buttons->addWidget(button);
  auto* group_layout = new QVBoxLayout(word_group);
  group_layout->setContentsMargins(8, 6, 8, 8);
  group_layout->addLayout(words);
  group_layout->addSpacing(6);
  group_layout->addWidget(c.Gbebm);
  group_layout->addStretch();
  group_layout->addLayout(buttons);

  auto* layout = new QHBoxLayout(page);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(c.TWCan);
  layout->addWidget(word_group, 1);

  connect(c.TWCan, &QTreeWidget::currentItemChanged, this, [this, side] {
    if (!showing_)
      TWCanAChange(side);
  });
  connect(c.deleteButton, &QPushButton::clicked, this, [this, side] { deleteBClick(side); });
  connect(c.newButton, &QPushButton::clicked, this, [this, side] { newBClick(side); });
  connect(c.modify, &QPushButton::clicked, this, [this, side] { modifyBClick(side); });
  return page;
}

std::size_t TFWemcy::PositionOf(Side side, QTreeWidgetItem* item) const {
  QTreeWidgetItem* word = item->parent() != nullptr ? item->parent() : item;
  const auto position = static_cast<std::size_t>(Controls(side).TWCan->indexOfTopLevelItem(word));
  const int bit = word == item ? 0 : word->indexOfChild(item) + 1;
  return position * kNodesPerWord + static_cast<std::size_t>(bit);
}

QTreeWidgetItem* TFWemcy::AddWordNode(Side side, std::size_t position) const {
  const WordPage& page = model_.page(side);
  const std::size_t first = position * kNodesPerWord;
  auto* word = new QTreeWidgetItem(QStringList(Q(NodeAt(page, first).text)), kWordItem);
  word->setIcon(0, icons_[0]);
  QList<QTreeWidgetItem*> bits;
  bits.reserve(kWordBits);
  for (std::size_t n = first + 1; n < first + kNodesPerWord; ++n) {
    auto* bit = new QTreeWidgetItem(QStringList(Q(NodeAt(page, n).text)), kBitItem);
    bit->setIcon(0, icons_[1]);
    bits.append(bit);
  }
  word->addChildren(bits);
  return word;
}

void TFWemcy::ShowTrees() {
  showing_ = true;
  for (const Side side : kBothSides) {
    QTreeWidget* tree = Controls(side).TWCan;
    tree->clear();
    QList<QTreeWidgetItem*> words;
    const std::size_t count = model_.page(side).words.size();
    words.reserve(static_cast<int>(count));
    for (std::size_t w = 0; w < count; ++w)
      words.append(AddWordNode(side, w));
    tree->addTopLevelItems(words);
    tree->setCurrentItem(nullptr);
  }
  showing_ = false;
}

void TFWemcy::ClearPages() {
  model_ = WordModel{};
  ShowTrees();
  for (const Side side : kBothSides) {
    const PageControls& c = Controls(side);
    for (QLineEdit* edit :
         {c.Eindex_addrm, c.Esubindex, c.Edevid, c.Eb0, c.Eb1, c.Eposcomp, c.Eposcomp2})
      edit->clear();
  }
}

void TFWemcy::FormShow() {
  stamps_.Clear();
  stamps_.Remember(state_.ProjectFiles.emcyword);
  EmcyWordsLoad load = LoadEmcyWords(state_.ProjectFiles.emcyword);
  ClearPages();
  model_ = std::move(load.model);
  gaps_ = std::move(load.report);
  ShowTrees();
  for (const auto& message : load.messages)
    services_.messages.Plain(message.text);
}

void TFWemcy::ShowAt(int side, int word, int field) {
  OpenAtNextShow(ShowPlace{side, word, field});
}

void TFWemcy::GoToPlace(const ShowPlace& at) {
  const Side side = at.page == 0 ? Side::kA : Side::kB;
  const PageControls& c = Controls(side);
  c.TWCan->setFocus(Qt::OtherFocusReason);
  if (!Within(at.row, c.TWCan->topLevelItemCount()))
    return;
  QTreeWidgetItem* node = c.TWCan->topLevelItem(at.row);
  c.TWCan->setCurrentItem(node);
  c.TWCan->scrollToItem(node);
  TWCanAChange(side);
  QLineEdit* const edits[] = {c.Eindex_addrm, c.Esubindex, c.Edevid};
  if (Within(at.column, 3))
    FocusEdit(edits[at.column]);
}

void TFWemcy::TWCanAChange(Side side) {
  if (QTreeWidgetItem* item = Controls(side).TWCan->currentItem())
    ShowNode(PositionOf(side, item), side);
}

void TFWemcy::ShowNode(std::size_t n, Side side) {
  const std::optional<NodeShown> shown = quastor::ShowNode(model_.page(side), n);
  if (!shown)
    return;
  for (const PageControls& c : pages_) {
    c.GBword_emcy_bitmap->setTitle(Q(shown->wordCaption));
    c.Gbebm->setTitle(Q(shown->bitCaption));
  }
  const PageControls& c = Controls(side);
  c.Eindex_addrm->setText(Q(shown->word.index_addrm));
  c.Esubindex->setText(Q(shown->word.subindex));
  c.Edevid->setText(Q(shown->word.devid));
  c.Eb0->setText(Q(shown->bit.b0));
  c.Eb1->setText(Q(shown->bit.b1));
  c.Eposcomp->setText(Q(shown->bit.emcyByte1));
  c.Eposcomp2->setText(Q(shown->bit.emcyByte2));
  if (!shown->error.empty())
    services_.messages.Error(shown->error);
}

bool TFWemcy::WordAccepted(Side side, const WordFields& fields) {
  const std::optional<FieldFault> fault = WordFieldsFault(fields);
  if (!fault)
    return true;
  services_.messages.Error(FieldRefusedMessage(EmcyWordFields(side), *fault));
  const PageControls& c = Controls(side);
  FocusEdit(std::array<QLineEdit*, 3>{c.Eindex_addrm, c.Esubindex, c.Edevid}[fault->field]);
  return false;
}

bool TFWemcy::BitAccepted(Side side, const BitFields& fields) {
  const std::optional<FieldFault> fault = BitFieldsFault(fields);
  if (!fault)
    return true;
  services_.messages.Error(FieldRefusedMessage(EmcyBitFields(side), *fault));
  const PageControls& c = Controls(side);
  FocusEdit(std::array<QLineEdit*, 4>{c.Eb0, c.Eb1, c.Eposcomp, c.Eposcomp2}[fault->field]);
  return false;
}

std::string TFWemcy::TableName() const {
  return texts::kWordsFileName;
}

void TFWemcy::Record(Shown before) {
  RecordStates<Shown>(std::move(before), Shown{model_, gaps_},
                      [this](const Shown& shown) { Show(shown); });
}

void TFWemcy::Show(const Shown& shown) {
  ClearPages();
  model_ = shown.first;
  gaps_ = shown.second;
  ShowTrees();
}

void TFWemcy::ModifyNode(std::size_t n, Side side) {
  const PageControls& c = Controls(side);
  Shown before{model_, gaps_};
  WordPage& page = model_.page(side);
  page.selected = n;
  const WordFields word{S(c.Eindex_addrm->text()), S(c.Esubindex->text()), S(c.Edevid->text())};
  const BitFields bit{S(c.Eb0->text()), S(c.Eb1->text()), S(c.Eposcomp->text()),
                      S(c.Eposcomp2->text())};
  const bool word_node = n % kNodesPerWord == 0;
  if (!(word_node ? WordAccepted(side, word) : BitAccepted(side, bit)))
    return;
  if (Status modified = quastor::ModifyNode(page, word, bit); !modified)
    services_.messages.Error(modified.error());
  else
    Record(std::move(before));
}

void TFWemcy::modifyBClick(Side side) {
  if (QTreeWidgetItem* item = Controls(side).TWCan->currentItem())
    ModifyNode(PositionOf(side, item), side);
}

void TFWemcy::newBClick(Side side) {
  const PageControls& c = Controls(side);
  Shown before{model_, gaps_};
  WordPage& page = model_.page(side);
  const WordFields fields{S(c.Eindex_addrm->text()), S(c.Esubindex->text()), S(c.Edevid->text())};
  if (!WordAccepted(side, fields))
    return;
  if (Status added = NewWord(page, fields); !added) {
    services_.messages.Error(added.error());
    return;
  }
  Record(std::move(before));
  const QSignalBlocker blocker(c.TWCan);
  c.TWCan->addTopLevelItem(AddWordNode(side, page.words.size() - 1));
}

void TFWemcy::deleteBClick(Side side) {
  const PageControls& c = Controls(side);
  QTreeWidgetItem* item = c.TWCan->currentItem();
  if (item == nullptr || item->type() != kWordItem)
    return;
  Shown before{model_, gaps_};
  WordPage& page = model_.page(side);
  const std::size_t n = PositionOf(side, item);
  page.selected = n;
  DeleteWord(page);
  Record(std::move(before));
  // No node is selected afterwards; the fields keep the deleted word's values.
  showing_ = true;
  delete c.TWCan->takeTopLevelItem(static_cast<int>(n / kNodesPerWord));
  c.TWCan->setCurrentItem(nullptr);
  c.TWCan->clearSelection();
  showing_ = false;
}

void TFWemcy::BitBtn1Click() {
  if (!ConfirmAndSave(services_, stamps_, gaps_, texts::kWordsFileName,
                      [&] { return SaveEmcyWords(state_.ProjectFiles.emcyword, model_); }))
    return;
  SayAndReport(SavedReport(texts::kWordsFileName, EmcyWordCounts(model_)));
  accept();
}

// The whole sheet is read first: a failure is told and the trees stay as they were.
void TFWemcy::BitBtn4Click() {
  const auto workbook = ChooseWorkbook(this, services_, state_);
  if (!workbook)
    return;
  const Result<WorkbookSheet> sheet = ReadTableSheet(*workbook, canopen_texts::kEmcyWordTable);
  if (!sheet) {
    services_.messages.Error(sheet.error());
    return;
  }
  Result<EmcyWordsImport> imported = ImportEmcyWordsSheet(*sheet);
  if (!imported) {
    services_.messages.Error(imported.error());
    return;
  }
  const SideCounts rows = EmcyWordCounts(imported->model);
  if (!AskReplace(EmcyWordCounts(model_).Total(), rows.Total(), sheet->name))
    return;
  Shown before{model_, gaps_};
  ClearPages();
  model_ = std::move(imported.value().model);
  gaps_ = std::move(imported.value().report);  // the trees no longer come from the file
  ShowTrees();
  Record(std::move(before));
  Say(ImportedReport(*workbook, sheet->name, rows));
  for (const auto& detail : gaps_.gaps)
    services_.messages.Plain(detail);
}

void TFWemcy::Button1Click() {
  if (ShowFailure(services_, ExportEmcyWordsCsv(state_.ProjectDir, model_)))
    Say(ExportedReport(CsvPath(state_.ProjectDir, canopen_texts::kEmcyWordTable),
                       EmcyWordCounts(model_).Total()));
}

}  // namespace quastor
