#pragma once
// TFCheckProject: the project check's list in a window. Each showing checks the current
// project's files again and lists every problem as the command-line tool prints it.

#include "platform/ui/QuastorDialog.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace quastor {

struct AppState;
struct UiServices;

class TFCheckProject : public QuastorDialog {
  Q_OBJECT

 public:
  TFCheckProject(AppState& state, UiServices& services, QWidget* parent = nullptr);

  QLabel* Label1;           // "No problems found." or the count
  QListWidget* LbProblems;  // one line per problem
  QPushButton* BitBtn1;     // closes the window

 protected:
  void FormShow() override;

 private:
  AppState& state_;
};

}  // namespace quastor
