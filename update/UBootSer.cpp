#include "update/UBootSer.h"

#include <chrono>

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "platform/ProcessLauncher.h"
#include "platform/Text.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/SerialPort.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"
#include "update/UpdateTexts.h"
#include "update/UpdaterCommandLine.h"

namespace quastor {
namespace {

constexpr std::chrono::milliseconds kUpdaterLimit{150000};

QCheckBox* NewOption(const char* text, const char* name, QWidget* parent) {
  QCheckBox* box = NewCheckBox(text, name, parent);
  box->setChecked(true);
  return box;
}

}  // namespace

TFBootSer::TFBootSer(const AppState& state, UiServices& services, std::unique_ptr<SerialPort> port,
                     QWidget* parent)
    : QuastorDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      state_(state),
      services_(services),
      port_(std::move(port)) {
  setObjectName("TFBootSer");
  setWindowTitle(update_texts::kBootSerCaption);
  instructions_ = BuildInstructionsPage();
  options_ = BuildOptionsPage();
  pages_ = new QStackedLayout(this);
  pages_->addWidget(instructions_);
  pages_->addWidget(options_);
  setFixedSize(440, 260);

  connect(LbButton1, &QPushButton::clicked, this, &TFBootSer::LbButton1Click);
  connect(LbButton2, &QPushButton::clicked, this, &TFBootSer::LbButton2Click);
  connect(LbButton4, &QPushButton::clicked, this, &TFBootSer::LbButton4Click);
  connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFBootSer::~TFBootSer() = default;

QWidget* TFBootSer::BuildInstructionsPage() {
  auto* page = new QWidget(this);
  page->setObjectName("PageInstructions");
  auto* title = NewLabel(update_texts::kStepsTitle, "Label1", page);
  title->setStyleSheet("font-weight: bold;");
  CB_Com = new QComboBox(page);
  CB_Com->setObjectName("CB_Com");
  CB_Com->setEditable(SerialPortNameEditable());
  CB_Com->setMinimumWidth(160);
  NoPorts = NewLabel(update_texts::kNoSerialPort, "NoPorts", page);
  NoPorts->setStyleSheet("color: #a00000;");
  NoPorts->setWordWrap(true);
  NoPorts->hide();
  LbButton1 = NewButton(update_texts::kConnect, "LbButton1", page);
  Cancel = NewButton(update_texts::kCancel, "Cancel", page);
  LbButton2 = NewButton(update_texts::kNext, "LbButton2", page);
  LbButton2->setDefault(true);

  auto* port_row = new QHBoxLayout;
  port_row->setContentsMargins(24, 0, 0, 0);
  port_row->addWidget(CB_Com);
  port_row->addWidget(LbButton1);
  port_row->addStretch();
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Cancel);
  buttons->addWidget(LbButton2);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(title);
  layout->addSpacing(6);
  layout->addWidget(NewLabel(update_texts::kStep1, "Label2", page));
  layout->addWidget(NewLabel(update_texts::kStep2, "Label3", page));
  layout->addWidget(NewLabel(update_texts::kStep3, "Label4", page));
  layout->addLayout(port_row);
  layout->addWidget(NoPorts);
  layout->addWidget(NewLabel(update_texts::kStep4, "Label5", page));
  layout->addWidget(NewLabel(update_texts::kStep5, "Label6", page));
  layout->addStretch();
  layout->addLayout(buttons);
  return page;
}

QWidget* TFBootSer::BuildOptionsPage() {
  auto* page = new QWidget(this);
  page->setObjectName("PanelOptions");
  auto* title = NewLabel(update_texts::kOptionsTitle, "LabelOptions", page);
  title->setStyleSheet("font-weight: bold; font-size: 14pt;");
  CB_Firm = NewOption(update_texts::kFirmware, "CB_Firm", page);
  CB_RFirm = NewOption(update_texts::kReadFirmware, "CB_RFirm", page);
  CB_Proj = NewOption(update_texts::kProject, "CB_Proj", page);
  CB_RProj = NewOption(update_texts::kReadProject, "CB_RProj", page);
  LbButton4 = NewButton(update_texts::kExecute, "LbButton4", page);

  auto indented = [](QWidget* widget) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(24, 0, 0, 0);
    row->addWidget(widget);
    return row;
  };
  auto* execute = new QHBoxLayout;
  execute->addStretch();
  execute->addWidget(LbButton4);
  execute->addStretch();

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(title, 0, Qt::AlignHCenter);
  layout->addSpacing(12);
  layout->addWidget(CB_Firm);
  layout->addLayout(indented(CB_RFirm));
  layout->addSpacing(6);
  layout->addWidget(CB_Proj);
  layout->addLayout(indented(CB_RProj));
  layout->addStretch();
  layout->addLayout(execute);
  layout->addStretch();
  return page;
}

bool TFBootSer::OnOptionsPage() const {
  return pages_->currentWidget() == options_;
}

void TFBootSer::hideEvent(QHideEvent* event) {
  FormClose();
  QDialog::hideEvent(event);
}

void TFBootSer::FormShow() {
  pages_->setCurrentWidget(instructions_);
  connected_ = false;
  FillPortList();
}

// Listed at every showing, so that an adapter plugged in meanwhile appears; the choice made
// before stays when its port is still there.
void TFBootSer::FillPortList() {
  const QString chosen = CB_Com->currentText();
  CB_Com->clear();
  for (const auto& name : port_->PortNames())
    CB_Com->addItem(Q(name));
  const int again = CB_Com->findText(chosen);
  if (again >= 0)
    CB_Com->setCurrentIndex(again);
  NoPorts->setVisible(CB_Com->count() == 0);
}

void TFBootSer::FormClose() {
  port_->Close();
}

void TFBootSer::LbButton1Click() {
  connected_ = false;
  port_->Close();
  Status status = port_->SetDeviceName(S(CB_Com->currentText()));
  if (status)
    status = port_->Open();
  if (status)
    status = port_->RaiseDtr();
  if (!status) {
    services_.messages.Error(update_texts::kComPortCannotOpen);
    return;
  }
  connected_ = true;
}

void TFBootSer::LbButton2Click() {
  if (!connected_) {
    services_.messages.Error(update_texts::kSelectOnePort);
    return;
  }
  pages_->setCurrentWidget(options_);
  // From here on the port is free for the updater.
  port_->Close();
}

void TFBootSer::LbButton4Click() {
  const UpdateOptions options{CB_Firm->isChecked(), CB_RFirm->isChecked(), CB_Proj->isChecked(),
                              CB_RProj->isChecked()};
  const std::string parameters =
      UpdaterCommandLine(S(CB_Com->currentText()), options, state_.MasterDir, state_.ProjectDir);
  ExecuteAndWait(ExternalProgram(state_.AppDir, update_texts::kUpdaterProgram), parameters, false);
}

void TFBootSer::ExecuteAndWait(const std::filesystem::path& program, const std::string& parameters,
                               bool hidden) {
  WaitResult result;
  {
    const Busy busy(this);
    result = services_.shell.StartAndWait(program, parameters, hidden, kUpdaterLimit);
  }
  switch (result.outcome) {
    case WaitResult::Outcome::kFinished:
    case WaitResult::Outcome::kAbandoned:
      break;
    case WaitResult::Outcome::kNotStarted:
      services_.messages.Error(FormatText(update_texts::kUpdaterNotStarted, {result.reason}));
      break;
    case WaitResult::Outcome::kTimedOut:
      services_.messages.Plain(update_texts::kUpdaterTimedOut);
      break;
  }
}

}  // namespace quastor
