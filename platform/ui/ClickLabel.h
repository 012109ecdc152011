#pragma once
// A label that reacts to a left click, for the web links and the logo.

#include <QLabel>
#include <QMouseEvent>

namespace quastor {

class ClickLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
      emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
  }
};

// A label styled as a web link, with a hand cursor.
ClickLabel* NewWebLinkLabel(const QString& text, QWidget* parent);

}  // namespace quastor
