#include "app/Unewp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "app/Projects.h"
#include "platform/MessageService.h"
#include "platform/QtText.h"
#include "platform/UiServices.h"

namespace quastor {

TFsaveproj::TFsaveproj(AppState& state, UiServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      state_(state),
      services_(services) {
  setObjectName("TFsaveproj");
  setWindowTitle(app_texts::kNewProjectCaption);
  setModal(true);

  Label1 = new QLabel(app_texts::kProjectNameLabel, this);
  Label1->setObjectName("Label1");
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setMinimumWidth(260);
  Label1->setBuddy(Edit1);
  bitbtn1 = new QPushButton(tr("OK"), this);
  bitbtn1->setObjectName("bitbtn1");
  bitbtn1->setDefault(true);
  bitbtn2 = new QPushButton(tr("Cancel"), this);
  bitbtn2->setObjectName("bitbtn2");

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(bitbtn1);
  buttons->addWidget(bitbtn2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(bitbtn1, &QPushButton::clicked, this, &TFsaveproj::BitBtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &TFsaveproj::BitBtn2Click);
}

void TFsaveproj::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TFsaveproj::FormShow() {
  if (NewProjectMode == 0) {
    setWindowTitle(app_texts::kNewProjectCaption);
    Edit1->clear();
    NewProjectName.clear();
    Label1->setVisible(true);
  } else {
    setWindowTitle(app_texts::kEditXmlCaption);
    Label1->setVisible(false);
  }
  Edit1->setFocus();
}

void TFsaveproj::BitBtn1Click() {
  if (NewProjectMode != 0) {
    accept();
    return;
  }
  NewProjectName = S(Edit1->text());
  const NewProjectOutcome outcome = CreateNewProject(state_, ProjectDestDir, NewProjectName);
  for (const auto& message : outcome.messages)
    services_.messages.Plain(message);
  if (outcome.created)
    accept();
}

void TFsaveproj::BitBtn2Click() {
  reject();
}

}  // namespace quastor
