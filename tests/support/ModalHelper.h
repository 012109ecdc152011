#pragma once
// Acting on a modal dialog that a handler is about to show with exec().

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace quastor::test {

// Runs action on the active modal widget as soon as it is shown. When none is shown within
// the deadline the test fails and the action is dropped, so that it cannot act on a later
// test's dialog.
// besides: a modal window already up, which the action waits to see covered by another one.
inline void WhenModalShown(std::function<void(QWidget*)> action,
                           std::chrono::milliseconds deadline = std::chrono::seconds(10),
                           QWidget* besides = nullptr) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  const auto until = std::chrono::steady_clock::now() + deadline;
  QObject::connect(timer, &QTimer::timeout, [timer, action, until, besides] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != besides) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    } else if (std::chrono::steady_clock::now() > until) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal window was shown";
    }
  });
  timer->start();
}

// Waits until window is the application's active window. QTest::qWaitForWindowActive does not
// do for a dialog over another window: it counts a transient window as active while its
// parent is, before the dialog's own activation has arrived, which then moves the focus.
inline bool WaitUntilActive(QWidget* window) {
  window->activateWindow();
  return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 5000);
}

// While it lives, closes (rejects) every modal dialog that is shown and notes its name.
class ModalCloser {
 public:
  ModalCloser() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      // Rejecting hides the dialog at once, so each showing is seen once.
      if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        shown.push_back(modal->objectName().toStdString());
        modal->reject();
      }
    });
    timer_.start();
  }
  std::vector<std::string> shown;

 private:
  QTimer timer_;
};

}  // namespace quastor::test
