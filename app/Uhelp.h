#pragma once
// TFHelp: shows the help file of the application directory.

#include "platform/ui/QuastorDialog.h"

class QTextEdit;

namespace quastor {

struct AppState;
struct UiServices;

class TFHelp : public QuastorDialog {
  Q_OBJECT

 public:
  TFHelp(const AppState& state, UiServices& services, QWidget* parent = nullptr);

  QTextEdit* RichEdit1;

 protected:
  void FormShow() override;

 private:
  const AppState& state_;
  UiServices& services_;
};

}  // namespace quastor
