#include "platform/ui/QuastorDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShowEvent>

#include "platform/ui/Widgets.h"

namespace quastor {

QuastorDialog::QuastorDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {
  setModal(true);
}

void QuastorDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A spontaneous show is the system restoring the window: what the user typed stays.
  if (event->spontaneous())
    return;
  if (centred_)
    CenterOnScreen(this);
  FormShow();
}

void QuastorDialog::closeEvent(QCloseEvent* event) {
  if (IsBusy()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void QuastorDialog::reject() {
  if (!IsBusy())
    QDialog::reject();
}

QuastorDialog::Busy::Busy(QuastorDialog* dialog) : dialog_(dialog) {
  if (dialog_->busy_++ == 0) {
    dialog_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
}

QuastorDialog::Busy::~Busy() {
  if (--dialog_->busy_ == 0) {
    // Input that reached the disabled window meanwhile is dropped here, before it can act.
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    dialog_->setEnabled(true);
    QApplication::restoreOverrideCursor();
  }
}

}  // namespace quastor
