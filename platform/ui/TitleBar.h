#pragma once
// The coloured bar at the top of the main window and its small white buttons, painted
// directly rather than through style sheets, which would cost the start-up several
// milliseconds.

#include <QFrame>
#include <QPushButton>

namespace quastor {

// A horizontal bar filled with the product's blue gradient.
class TitleBar : public QFrame {
 public:
  using QFrame::QFrame;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A flat button with white text and a thin white frame, lit while the pointer is over it.
class BarButton : public QPushButton {
 public:
  BarButton(const QString& text, const QString& tip, QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quastor
