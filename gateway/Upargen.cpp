#include "gateway/Upargen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <utility>
#include <vector>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "gateway/GatewayTexts.h"
#include "gateway/ParGen.h"
#include "platform/Text.h"
#include "platform/ui/ChangedFiles.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"

namespace quastor {
namespace {

namespace texts = gateway_texts;

QLineEdit* NewNumberEdit(const char* name, QWidget* parent) {
  QLineEdit* edit = NewEdit(name, parent);
  edit->setFixedWidth(90);
  return edit;
}

QComboBox* NewList(const char* name, const char* const* items, int count, QWidget* parent) {
  QComboBox* list = NewDropDown(name, parent);
  for (int i = 0; i < count; ++i)
    list->addItem(items[i]);
  list->setFixedWidth(130);
  return list;
}

// A group of labelled controls, one per row.
QGroupBox* NewGroup(const char* title, const std::vector<std::pair<const char*, QWidget*>>& rows,
                    QWidget* parent) {
  auto* group = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(12);
  int row = 0;
  for (const auto& [label_text, control] : rows) {
    auto* label = new QLabel(label_text, group);
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    ++row;
  }
  grid->setRowStretch(row, 1);
  return group;
}

}  // namespace

TFpargen::TFpargen(AppState& state, UiServices& services, QWidget* parent)
    : QuastorDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      state_(state),
      services_(services) {
  setObjectName("TFpargen");
  setWindowTitle(texts::kCaption);

  E_Pro_ID = NewNumberEdit("E_Pro_ID", this);
  CB_Pro_Baud = NewList("CB_Pro_Baud", texts::kProfiBaudNames, texts::kProfiBaudCount, this);
  CB_Pro_Baud->setEnabled(false);  // the gateway finds the PROFIBUS baud rate itself
  E_Pro_IN = NewNumberEdit("E_Pro_IN", this);
  E_Pro_Out = NewNumberEdit("E_Pro_Out", this);
  E_DNET_ID = NewNumberEdit("E_DNET_ID", this);
  // Not editable: only the three rates of the list can reach the gateway.
  CB_DNET_Baud = NewList("CB_DNET_Baud", texts::kDnetBaudNames, texts::kDnetBaudCount, this);

  QGroupBox* profibus = NewGroup(texts::kProfibusGroup,
                                 {{texts::kIdLabel, E_Pro_ID},
                                  {texts::kBaudLabel, CB_Pro_Baud},
                                  {texts::kByteInLabel, E_Pro_IN},
                                  {texts::kByteOutLabel, E_Pro_Out}},
                                 this);
  QGroupBox* devicenet =
      NewGroup(texts::kDeviceNetGroup,
               {{texts::kIdLabel, E_DNET_ID}, {texts::kBaudLabel, CB_DNET_Baud}}, this);

  const OkCancelRow buttons = NewOkCancelRow(this);
  bitbtn1 = buttons.ok;
  bitbtn2 = buttons.cancel;

  auto* groups = new QHBoxLayout;
  groups->addWidget(profibus);
  groups->addWidget(devicenet);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(buttons.layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(bitbtn1, &QPushButton::clicked, this, &TFpargen::BitBtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &TFpargen::reject);
}

void TFpargen::ShowAt(const std::string& element) {
  showAt_ = element;
}

void TFpargen::showEvent(QShowEvent* event) {
  QuastorDialog::showEvent(event);
  if (event->spontaneous())
    return;
  const std::string element = std::exchange(showAt_, std::string());
  const std::pair<const char*, QWidget*> controls[] = {
      {gateway_texts::kProfiId, E_Pro_ID},    {gateway_texts::kProfiBaud, CB_Pro_Baud},
      {gateway_texts::kProfiNbIn, E_Pro_IN},  {gateway_texts::kProfiNbOut, E_Pro_Out},
      {gateway_texts::kDnetDevId, E_DNET_ID}, {gateway_texts::kDnetBaud, CB_DNET_Baud},
  };
  for (const auto& [name, control] : controls) {
    if (element != name)
      continue;
    if (auto* edit = qobject_cast<QLineEdit*>(control))
      FocusEdit(edit);
    else
      control->setFocus(Qt::OtherFocusReason);
  }
}

void TFpargen::FormShow() {
  ShowValues(ParGen{});
  stamps_.Clear();
  unread_.reset();
  if (!state_.ProjectSelected())
    return;
  stamps_.Remember(state_.ProjectFiles.pargen);
  const ParGenLoad load = LoadParGen(state_.ProjectFiles.pargen);
  ShowValues(AsDialogShows(load.model));
  if (!load.report.Complete())
    unread_ = load.report.gaps.front();
  for (const LoadMessage& message : load.messages)
    services_.messages.Error(message.text);
  E_Pro_ID->setFocus();
}

void TFpargen::ShowValues(const ParGen& values) {
  E_Pro_ID->setText(Q(values.profiId));
  CB_Pro_Baud->setCurrentIndex(values.profiBaud);
  E_Pro_IN->setText(Q(values.profiNbIn));
  E_Pro_Out->setText(Q(values.profiNbOut));
  E_DNET_ID->setText(Q(values.dnetDevId));
  CB_DNET_Baud->setCurrentIndex(values.dnetBaud);
}

ParGen TFpargen::ValuesShown() const {
  ParGen values;
  values.profiId = S(E_Pro_ID->text());
  values.profiBaud = CB_Pro_Baud->currentIndex();
  values.profiNbIn = S(E_Pro_IN->text());
  values.profiNbOut = S(E_Pro_Out->text());
  values.dnetDevId = S(E_DNET_ID->text());
  values.dnetBaud = CB_DNET_Baud->currentIndex();
  return values;
}

void TFpargen::BitBtn1Click() {
  if (!state_.ProjectSelected()) {
    services_.messages.Error(app_texts::kProjectNotValid);
    return;
  }
  const ParGen values = ValuesShown();
  if (Status valid = ValidateParGen(values); !valid) {
    services_.messages.Error(valid.error());
    return;
  }
  if (!ConfirmOverwriteChanged(services_.messages, stamps_))
    return;
  // Six values the user set must not give way to defaults without a word.
  if (unread_ && !services_.messages.Ask(
                     FormatText(texts::kPartlyReadQuestion, {*unread_, texts::kParGenFileName})))
    return;
  if (Status saved = SaveParGen(state_.ProjectFiles.pargen, values); !saved) {
    services_.messages.Error(saved.error());
    return;
  }
  unread_.reset();
  accept();
}

}  // namespace quastor
