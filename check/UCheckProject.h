#pragma once
// TFCheckProject: the project check's list in a window. Each showing checks the current
// project's files again and lists every problem as the command-line tool prints it. A
// double-click or Enter on a problem asks for its file's window at the problem's place; when
// that window closes, the list is checked again.

#include <functional>
#include <vector>

#include "check/ProjectCheck.h"
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

  // Shows the window of the problem's file at the problem's place, and returns once it closed.
  using OpenProblem = std::function<void(const CheckProblem&)>;
  void SetOpenProblem(OpenProblem open) { open_ = std::move(open); }

  const std::vector<CheckProblem>& Problems() const { return problems_; }

 public slots:
  // Opens the window of the problem in row, then checks the project again.
  void LbProblemsDblClick(int row);

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* Label1;           // "No problems found." or the count
  QListWidget* LbProblems;  // one line per problem
  QPushButton* BitBtn1;     // closes the window

  AppState& state_;
  OpenProblem open_;
  std::vector<CheckProblem> problems_;  // as listed
};

}  // namespace quastor
