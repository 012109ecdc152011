#pragma once
// TFsaveproj: asks for the name of a new project or edits one line of text for the XML tool.

#include <filesystem>
#include <optional>
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

  // What the window is shown for, set by the caller before showing. The values are those the
  // window has always used (0 and 1).
  enum class Mode { kNewProject = 0, kEditText = 1 };
  Mode NewProjectMode = Mode::kNewProject;
  // Where the new project directory is created; set by "New project".
  std::filesystem::path ProjectDestDir;
  // The name typed when OK was pressed for a new project.
  std::string NewProjectName;

  // Shows the window as a one-line editor of text (Mode::kEditText), starting at text: the
  // edited text when OK was pressed, nothing on Cancel.
  std::optional<std::string> EditText(const std::string& text);

 public slots:
  void BitBtn1Click();
  void BitBtn2Click();

 protected:
  void FormShow() override;

 private:
  QLineEdit* Edit1;

  AppState& state_;
  UiServices& services_;
  QLabel* Label1;
  QPushButton* bitbtn1;
  QPushButton* bitbtn2;
};

}  // namespace quastor
