#pragma once
// TFHelp: shows the help file of the application directory, at the section of the window that
// asked for it. It is no modal window: the window it is shown over stays usable beside it.

#include <string>

#include "platform/ui/QuastorDialog.h"

class QTextEdit;

namespace quastor {

struct AppState;
struct UiServices;

class TFHelp : public QuastorDialog {
  Q_OBJECT

 public:
  TFHelp(const AppState& state, UiServices& services, QWidget* parent = nullptr);

  // Shows the help (read again from its file) at the section of the window with this caption,
  // or at its start when it has none, in front of the other windows.
  void ShowSection(const std::string& caption);

 protected:
  void FormShow() override;

 private:
  QTextEdit* RichEdit1;

  const AppState& state_;
  UiServices& services_;
  std::string caption_;  // whose section the showing goes to
};

}  // namespace quastor
