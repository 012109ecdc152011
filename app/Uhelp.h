#pragma once
// TFHelp: shows the help file of the application directory.

#include <QDialog>

class QTextEdit;

namespace quastor {

struct AppState;
struct UiServices;

class TFHelp : public QDialog {
  Q_OBJECT

 public:
  TFHelp(const AppState& state, UiServices& services, QWidget* parent = nullptr);

  QTextEdit* RichEdit1;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();

  const AppState& state_;
  UiServices& services_;
};

}  // namespace quastor
