#include "update/UModifyFileSx.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "platform/DoneReport.h"
#include "platform/Text.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"
#include "update/UpdateTexts.h"

namespace quastor {
namespace {

const QColor kMarkColor(255, 0, 0);
const QColor kNormalColor(0xF8, 0xF7, 0xED);
constexpr int kProgressSteps = 1000;
constexpr int kPortCount = 8;

}  // namespace

TFModifyFileSx::TFModifyFileSx(const AppState& state, UiServices& services, QWidget* parent)
    : QuastorDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      state_(state),
      services_(services) {
  setObjectName("TFModifyFileSx");
  setWindowTitle(update_texts::kModifyCaption);
  SetCentredOnShow(false);  // placed higher than centre, see PlaceOnScreen

  GbBank = new QGroupBox(this);
  GbBank->setObjectName("GbBank");
  auto* banks = new QHBoxLayout(GbBank);
  for (int bank = 1; bank <= kBankCount; ++bank) {
    QCheckBox* box =
        new QCheckBox(Q(FormatText(update_texts::kBankLabel, {std::to_string(bank)})), GbBank);
    box->setObjectName(QString("Cbbank%1").arg(bank));
    box->setAutoFillBackground(true);
    Cbbank[bank - 1] = box;
    banks->addWidget(box);
  }

  auto* port_label = new QLabel(update_texts::kPortLabel, this);
  cbport = new QComboBox(this);
  cbport->setObjectName("cbport");
  for (int port = 1; port <= kPortCount; ++port)
    cbport->addItem(QString("COM%1").arg(port));
  port_label->setBuddy(cbport);
  Avanzamento = new QProgressBar(this);
  Avanzamento->setObjectName("Avanzamento");
  Avanzamento->setRange(0, kProgressSteps);
  NewFileSx = new QLineEdit(this);
  NewFileSx->setObjectName("NewFileSx");
  NewFileSx->setVisible(false);
  LbButton1 = new QPushButton(update_texts::kClose, this);
  LbButton1->setObjectName("LbButton1");
  LbButton1->setFixedWidth(32);
  LbButton2 = new QPushButton(update_texts::kExecute, this);
  LbButton2->setObjectName("LbButton2");

  auto* top = new QHBoxLayout;
  auto* title = new QLabel(update_texts::kModifyCaption, this);
  title->setStyleSheet("font-weight: bold; font-size: 14pt;");
  top->addWidget(title);
  top->addStretch();
  top->addWidget(LbButton1);
  auto* port_row = new QHBoxLayout;
  port_row->addWidget(port_label);
  port_row->addWidget(cbport);
  port_row->addStretch();
  port_row->addWidget(LbButton2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(GbBank);
  layout->addLayout(port_row);
  layout->addWidget(Avanzamento);
  layout->addWidget(NewFileSx);
  StatusLine = NewStatusLine(this);
  layout->addWidget(StatusLine);
  setFixedWidth(420);

  connect(LbButton1, &QPushButton::clicked, this, &TFModifyFileSx::LbButton1Click);
  connect(LbButton2, &QPushButton::clicked, this, &TFModifyFileSx::LbButton2Click);
  connect(NewFileSx, &QLineEdit::textChanged, this, &TFModifyFileSx::NewFileSxChange);
}

void TFModifyFileSx::PlaceOnScreen() {
  const QScreen* screen =
      this->screen() != nullptr ? this->screen() : QApplication::primaryScreen();
  if (screen == nullptr)
    return;
  const QRect area = screen->availableGeometry();
  const int left = area.left() + (area.width() - frameGeometry().width()) / 2;
  const int top = area.top() + area.height() / 2 - frameGeometry().height();
  move(left, std::max(area.top(), top));
}

void TFModifyFileSx::FormShow() {
  PlaceOnScreen();
  const auto selection = BankSelection(ProductVariant);
  for (int bank = 1; bank <= kBankCount; ++bank) {
    Cbbank[bank - 1]->setVisible(selection[bank - 1]);
    Cbbank[bank - 1]->setChecked(selection[bank - 1]);
    SetMark(bank, false);
  }
  GbBank->setVisible(false);
  cbport->setCurrentIndex(0);
  Avanzamento->setValue(0);
  LbButton2->setEnabled(false);
  SetStatusText(StatusLine, {});

  Result<FirmwareJob> job = PrepareFirmwareJob(state_);
  if (!job) {
    services_.messages.Error(job.error());
    return;
  }
  job_ = *job;
  NewFileSx->setText(Q(job_.newName));
  LbButton2->setEnabled(true);
}

void TFModifyFileSx::LbButton1Click() {
  reject();
}

void TFModifyFileSx::NewFileSxChange() {
  job_.newName = S(NewFileSx->text());
}

void TFModifyFileSx::LbButton2Click() {
  if (ExeModFileSxClick())
    ExeUpdateFirClick();
}

bool TFModifyFileSx::ExeModFileSxClick() {
  for (int bank = 1; bank <= kBankCount; ++bank) {
    // The bank panel is not shown; a bank counts when its own box is shown and checked.
    QCheckBox* box = Cbbank[bank - 1];
    job_.selected[bank - 1] = box->isVisibleTo(GbBank) && box->isChecked();
    SetMark(bank, false);
  }
  const Busy busy(this);
  PipelineEvents events;
  events.message = [this](const std::string& text) { services_.messages.Plain(text); };
  events.progress = [this](std::uint64_t done, std::uint64_t total) { ShowProgress(done, total); };
  const PipelineOutcome outcome = RunBankPipeline(job_, events);
  for (int bank = 1; bank <= kBankCount; ++bank) {
    if (outcome.marked[bank - 1])
      SetMark(bank, true);
  }
  if (outcome.complete) {
    if (const Result<std::string> said = FileWrittenReport(job_.NewFile()))
      SetStatusText(StatusLine, Q(*said));
  }
  return outcome.complete;
}

void TFModifyFileSx::ExeUpdateFirClick() {
  const Result<ProgramStart> start = FlashWriteStart(job_, state_.AppDir, cbport->currentIndex());
  if (!start) {
    services_.messages.Plain(start.error());
    return;
  }
  const Status started = services_.shell.StartProgram(start->program, start->parameters);
  if (!started) {
    services_.messages.Plain(FormatText(update_texts::kFlashWriteNotStarted, {started.error()}));
  }
}

void TFModifyFileSx::ShowProgress(std::uint64_t done, std::uint64_t total) {
  const int value = total == 0 ? 0 : static_cast<int>(done * kProgressSteps / total);
  if (value == Avanzamento->value())
    return;
  Avanzamento->setValue(value);
  // The run holds the user-interface thread; let the bar paint. The window is busy, so input
  // that arrives meanwhile is dropped.
  QApplication::processEvents();
}

void TFModifyFileSx::SetMark(int bank, bool marked) {
  QCheckBox* box = Cbbank[bank - 1];
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, marked ? kMarkColor : kNormalColor);
  box->setPalette(palette);
}

bool TFModifyFileSx::Marked(int bank) const {
  return Cbbank[bank - 1]->palette().color(QPalette::Window) == kMarkColor;
}

}  // namespace quastor
