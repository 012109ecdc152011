#include "gateway/Upargen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <utility>
#include <vector>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "gateway/GatewayTexts.h"
#include "gateway/ParGen.h"
#include "platform/MessageService.h"
#include "platform/QtText.h"
#include "platform/UiServices.h"

namespace quastor {
namespace {

namespace texts = gateway_texts;

QLineEdit* NewEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setFixedWidth(90);
  return edit;
}

QComboBox* NewList(const char* name, const char* const* items, int count, QWidget* parent) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setEditable(false);
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
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      state_(state),
      services_(services) {
  setObjectName("TFpargen");
  setWindowTitle(texts::kCaption);
  setModal(true);

  E_Pro_ID = NewEdit("E_Pro_ID", this);
  CB_Pro_Baud = NewList("CB_Pro_Baud", texts::kProfiBaudNames, texts::kProfiBaudCount, this);
  CB_Pro_Baud->setEnabled(false);  // the gateway finds the PROFIBUS baud rate itself
  E_Pro_IN = NewEdit("E_Pro_IN", this);
  E_Pro_Out = NewEdit("E_Pro_Out", this);
  E_DNET_ID = NewEdit("E_DNET_ID", this);
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

  bitbtn1 = new QPushButton(texts::kOk, this);
  bitbtn1->setObjectName("bitbtn1");
  bitbtn1->setDefault(true);
  bitbtn2 = new QPushButton(texts::kCancel, this);
  bitbtn2->setObjectName("bitbtn2");

  auto* groups = new QHBoxLayout;
  groups->addWidget(profibus);
  groups->addWidget(devicenet);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bitbtn1);
  buttons->addWidget(bitbtn2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(bitbtn1, &QPushButton::clicked, this, &TFpargen::BitBtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &TFpargen::reject);
}

void TFpargen::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  FormShow();
}

void TFpargen::FormShow() {
  ShowValues(ParGen{});
  if (!state_.ProjectSelected())
    return;
  const ParGenLoad load = LoadParGen(state_.ProjectFiles.pargen);
  ShowValues(AsDialogShows(load.values));
  if (load.problem)
    services_.messages.Error(*load.problem);
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
  if (Status saved = SaveParGen(state_.ProjectFiles.pargen, values); !saved) {
    services_.messages.Error(saved.error());
    return;
  }
  accept();
}

}  // namespace quastor
