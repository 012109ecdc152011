#pragma once
// Acting on a modal dialog that a handler is about to show with exec().

#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace quastor::test {

// Runs action on the active modal widget as soon as it is shown.
inline void WhenModalShown(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    }
  });
  timer->start();
}

}  // namespace quastor::test
