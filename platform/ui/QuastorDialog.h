#pragma once
// The base of every modal window: runs the window's show step each time the program shows it
// (not when the system merely restores it), can centre it on its screen, and holds it still
// while a long run or an external program has it busy.

#include <QDialog>

namespace quastor {

class QuastorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit QuastorDialog(QWidget* parent = nullptr,
                         Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint |
                                                 Qt::WindowTitleHint);

  bool IsBusy() const { return busy_ > 0; }

  // While one lives, the dialog takes no input (clicks and keys that arrive are dropped, not
  // replayed afterwards), cannot be closed, and shows the wait cursor; it keeps painting.
  class Busy {
   public:
    explicit Busy(QuastorDialog* dialog);
    ~Busy();
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

   private:
    QuastorDialog* dialog_;
  };

 public slots:
  void reject() override;

 protected:
  // The window's own show step: resets its controls and loads what it shows.
  virtual void FormShow() {}
  void SetCentredOnShow(bool centred) { centred_ = centred; }

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  int busy_ = 0;
  bool centred_ = true;
};

}  // namespace quastor
