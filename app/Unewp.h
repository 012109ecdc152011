#pragma once
// TFsaveproj: asks for the name of a new project (mode 0) or edits one line of text for the
// XML tool (mode 1).

#include <filesystem>
#include <string>

#include "platform/ui/QuastorDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quastor {

struct AppState;
struct UiServices;

class TFsaveproj : public QuastorDialog {
  Q_OBJECT

 public:
  TFsaveproj(AppState& state, UiServices& services, QWidget* parent = nullptr);

  // Set by the caller before showing: 0 = new project, 1 = text entry for the XML tool.
  int NewProjectMode = 0;
  // Where the new project directory is created; set by "New project".
  std::filesystem::path ProjectDestDir;
  // The name typed when OK was pressed in mode 0.
  std::string NewProjectName;

  QLineEdit* Edit1;

 public slots:
  void BitBtn1Click();
  void BitBtn2Click();

 protected:
  void FormShow() override;

 private:
  AppState& state_;
  UiServices& services_;
  QLabel* Label1;
  QPushButton* bitbtn1;
  QPushButton* bitbtn2;
};

}  // namespace quastor
