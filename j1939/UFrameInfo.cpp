#include "j1939/UFrameInfo.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "j1939/J1939Texts.h"
#include "platform/DoneReport.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/ui/ChangedFiles.h"
#include "platform/ui/EditorLook.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/WidgetTexts.h"
#include "platform/ui/Widgets.h"

namespace quastor {
namespace {

namespace texts = j1939_texts;

std::string NumberedName(const char* prefix, int number) {
  return prefix + std::to_string(number);
}

QLabel* NewNamedLabel(const QString& text, const std::string& name, QWidget* parent) {
  return NewLabel(text, name.c_str(), parent);
}

}  // namespace

FrameInfoDialog::FrameInfoDialog(const AppState& state, UiServices& services,
                                 FrameDirection direction, const char* name, QSize size,
                                 QWidget* parent)
    : EditorFrame(services.messages, parent,
                  Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      state_(state),
      services_(services),
      direction_(direction) {
  const FrameInfoKind& kind = FrameInfoOf(direction);
  setObjectName(name);
  setWindowTitle(kind.caption);
  ApplyEditorLook(this);
  setFixedSize(size + QSize(0, StatusLine()->minimumHeight() + 6));

  ListBox1 = Named(new QListWidget(this), "ListBox1");
  auto* list_side = new QVBoxLayout;
  list_side->addWidget(NewLabel(texts::kListCaption, "Label17", this));
  list_side->addWidget(ListBox1, 1);

  auto* byte_side = new QVBoxLayout;
  byte_side->addWidget(NewLabel(texts::kBytesCaption, "Label18", this));
  for (int k = 1; k <= kFrameBytes; ++k) {
    const int i = k - 1;
    QWidget* panel = Named(new QWidget(this), NumberedName("Panel", k).c_str());
    const QString label = Q(FormatText(kind.byteLabel, {std::to_string(k)}));
    QLabel* before = NewNamedLabel(label, NumberedName("Label", 2 * k - 1), panel);
    Edits[i] = NewEdit(NumberedName("Edit", k).c_str(), panel);
    Edits[i]->setFixedWidth(56);
    Edits[i]->setText(texts::kNone);
    Edits[i]->installEventFilter(this);
    QLabel* after = NewNamedLabel(kind.byteTail, NumberedName("Label", 2 * k), panel);
    NotInUse[i] = NewNamedLabel(texts::kNotInUse, NumberedName("Label", 18 + k), panel);
    NotInUse[i]->setVisible(false);
    before->setMinimumWidth(before->sizeHint().width());
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 2, 0, 2);
    row->addWidget(before);
    row->addWidget(Edits[i]);
    row->addWidget(after);
    row->addSpacing(6);
    row->addWidget(NotInUse[i]);
    row->addStretch();
    Panels[i] = panel;
    byte_side->addWidget(panel);
    if (kind.storeWhileTyping)
      connect(Edits[i], &QLineEdit::textEdited, this, [this, k] { EditChange(k); });
  }
  byte_side->addStretch();

  auto* sides = new QHBoxLayout;
  sides->addLayout(list_side, 2);
  sides->addSpacing(8);
  sides->addLayout(byte_side, 3);

  bitbtn1 = NewButton(widget_texts::kOk, "bitbtn1", this);
  bitbtn2 = NewButton(widget_texts::kCancel, "bitbtn2", this);
  bitbtn1->setDefault(true);
  auto* strip = new QHBoxLayout;
  strip->addWidget(bitbtn1);
  strip->addWidget(bitbtn2);
  strip->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sides, 1);
  layout->addLayout(strip);
  layout->addWidget(StatusLine());

  connect(ListBox1, &QListWidget::currentRowChanged, this, &FrameInfoDialog::ListBox1Click);
  connect(bitbtn1, &QPushButton::clicked, this, &FrameInfoDialog::bitbtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &QDialog::reject);
}

// Every showing starts from the files; what was typed and not confirmed is gone.
void FrameInfoDialog::FormShow() {
  stamps_.Clear();
  stamps_.Remember(FrameInfoFile(state_.ProjectFiles, direction_));
  FrameInfoLoad load = LoadFrameInfo(FrameListFile(state_.ProjectFiles, direction_),
                                     FrameInfoFile(state_.ProjectFiles, direction_));
  table_ = std::move(load.model);
  report_ = std::move(load.report);
  {
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    for (const std::string& label : table_.labels)
      ListBox1->addItem(Q(label));
  }
  for (const LoadMessage& message : load.messages) {
    if (message.error)
      services_.messages.Error(message.text);
    else
      services_.messages.Plain(message.text);
  }
  // After a reading error no frame is selected, as the user has to see what was read.
  if (!load.stopped && !table_.frames.empty())
    ListBox1->setCurrentRow(0);
  else
    ListBox1Click();
}

void FrameInfoDialog::ShowAt(int frame, int byte) {
  OpenAtNextShow(ShowPlace{-1, frame, byte});
}

void FrameInfoDialog::GoToPlace(const ShowPlace& at) {
  if (!Within(at.row, ListBox1->count()))
    return;
  ListBox1->setCurrentRow(at.row);
  ListBox1->setFocus(Qt::OtherFocusReason);
  if (Within(at.column, kFrameBytes) && Panels[static_cast<std::size_t>(at.column)]->isEnabled())
    FocusEdit(Edits[static_cast<std::size_t>(at.column)]);
}

TFrameInfoRec* FrameInfoDialog::Selected() {
  const int row = ListBox1->currentRow();
  if (row < 0 || row >= static_cast<int>(table_.frames.size()))
    return nullptr;
  return &table_.frames[static_cast<std::size_t>(row)];
}

void FrameInfoDialog::ListBox1Click() {
  const TFrameInfoRec* frame = Selected();
  for (int k = 1; k <= kFrameBytes; ++k) {
    const int i = k - 1;
    const bool in_use = frame != nullptr && frame->InUse(k);
    NotInUse[i]->setVisible(frame != nullptr && !in_use);
    Panels[i]->setEnabled(in_use);
    Edits[i]->setText(Q(ByteEditText(in_use ? frame->B(k) : kNoByte)));
  }
}

bool FrameInfoDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut && !telling_) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    const QWidget* next = QApplication::focusWidget();
    // The buttons check the edits themselves (OK) or drop them (Cancel); a window or a popup
    // taking the focus is no exit either.
    const bool exit = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                      next != bitbtn1 && next != bitbtn2;
    for (int k = 1; exit && k <= kFrameBytes; ++k) {
      if (watched == Edits[k - 1])
        EditExit(k);
    }
  }
  return EditorFrame::eventFilter(watched, event);
}

void FrameInfoDialog::EditExit(int k) {
  TFrameInfoRec* frame = Selected();
  if (frame == nullptr || !frame->InUse(k))
    return;
  if (const std::optional<std::uint8_t> value = ReadByteEdit(S(Edits[k - 1]->text()))) {
    Store(k, *value);
    return;
  }
  TellRefused(k);
}

void FrameInfoDialog::TellRefused(int k) {
  telling_ = true;
  services_.messages.Error(ByteRangeMessage(k));
  Edits[k - 1]->setFocus();
  telling_ = false;
}

void FrameInfoDialog::EditChange(int k) {
  TFrameInfoRec* frame = Selected();
  if (frame == nullptr || !frame->InUse(k))
    return;
  if (const std::optional<std::uint8_t> value = ReadByteEdit(S(Edits[k - 1]->text())))
    Store(k, *value);
}

void FrameInfoDialog::Store(int k, std::uint8_t value) {
  TFrameInfoRec* frame = Selected();
  if (frame == nullptr || frame->B(k) == value)
    return;
  Shown before{table_, ListBox1->currentRow()};
  frame->B(k) = value;
  RecordStates<Shown>(std::move(before), Shown{table_, ListBox1->currentRow()},
                      [this](const Shown& shown) { Show(shown); });
}

// The frames as a change left them, the changed frame selected and its bytes in the edits.
void FrameInfoDialog::Show(const Shown& shown) {
  table_ = shown.table;
  {
    const QSignalBlocker quiet(ListBox1);
    ListBox1->setCurrentRow(shown.row);
  }
  ListBox1Click();
}

std::string FrameInfoDialog::TableName() const {
  return Utf8FromPath(FrameInfoFile(state_.ProjectFiles, direction_).filename());
}

bool FrameInfoDialog::StoreEdits() {
  TFrameInfoRec* frame = Selected();
  if (frame == nullptr)
    return true;
  for (int k = 1; k <= frame->Dim && k <= kFrameBytes; ++k) {
    const std::optional<std::uint8_t> value = ReadByteEdit(S(Edits[k - 1]->text()));
    if (!value) {
      TellRefused(k);
      return false;
    }
    Store(k, *value);
  }
  return true;
}

bool FrameInfoDialog::AskBeforeWriting() {
  const std::filesystem::path& info = FrameInfoFile(state_.ProjectFiles, direction_);
  if (!report_.Complete())
    return services_.messages.Ask(
        OverwriteQuestion(report_, texts::kOverwriteQuestion, FrameSourceName(info)));
  if (!table_.frames.empty())
    return true;
  const std::size_t rows = InfoRowCount(info);
  if (rows == 0)
    return true;
  const std::filesystem::path& list = FrameListFile(state_.ProjectFiles, direction_);
  return services_.messages.Ask(
      FormatText(texts::kNoFramesQuestion,
                 {FrameSourceName(list), FrameSourceName(info), std::to_string(rows)}));
}

void FrameInfoDialog::bitbtn1Click() {
  if (!StoreEdits())
    return;
  if (FrameInfoOf(direction_).checkBytes) {
    if (Status checked = CheckBytes(table_); !checked) {
      services_.messages.Error(checked.error());
      return;
    }
  }
  // A file that does not load is refused before anything is asked.
  const ProjectFileSet& files = state_.ProjectFiles;
  for (const auto* file : {&FrameListFile(files, direction_), &FrameInfoFile(files, direction_)}) {
    if (Status readable = RefuseUnreadable(*file); !readable) {
      services_.messages.Error(readable.error());
      return;
    }
  }
  if (!ConfirmOverwriteChanged(services_.messages, stamps_) || !AskBeforeWriting())
    return;
  if (Status saved = SaveFrameInfo(direction_, FrameListFile(state_.ProjectFiles, direction_),
                                   FrameInfoFile(state_.ProjectFiles, direction_), table_);
      !saved) {
    services_.messages.Error(saved.error());
    return;
  }
  report_ = LoadReport{};
  SayAndReport(SavedReport(TableName(), InfoRowsWritten(table_)));
  accept();
}

}  // namespace quastor
