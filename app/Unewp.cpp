#include "app/Unewp.h"

#include <limits>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "app/Projects.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"

namespace quastor {

TFsaveproj::TFsaveproj(AppState& state, UiServices& services, QWidget* parent)
    : QuastorDialog(parent), state_(state), services_(services) {
  setObjectName("TFsaveproj");
  setWindowTitle(app_texts::kNewProjectCaption);

  Label1 = new QLabel(app_texts::kProjectNameLabel, this);
  Label1->setObjectName("Label1");
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setMinimumWidth(260);
  // The XML tool edits whole values here: the box's default of 32,767 characters would cut a
  // longer one short without a word.
  Edit1->setMaxLength(std::numeric_limits<int>::max());
  Label1->setBuddy(Edit1);
  const OkCancelRow buttons = NewOkCancelRow(this);
  bitbtn1 = buttons.ok;
  bitbtn2 = buttons.cancel;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addLayout(buttons.layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(bitbtn1, &QPushButton::clicked, this, &TFsaveproj::BitBtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &TFsaveproj::BitBtn2Click);
}

std::optional<std::string> TFsaveproj::EditText(const std::string& text) {
  NewProjectMode = Mode::kEditText;
  Edit1->setText(Q(text));
  if (exec() != QDialog::Accepted)
    return std::nullopt;
  return S(Edit1->text());
}

void TFsaveproj::FormShow() {
  if (NewProjectMode == Mode::kNewProject) {
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
  if (NewProjectMode != Mode::kNewProject) {
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
