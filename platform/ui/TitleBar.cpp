#include "platform/ui/TitleBar.h"

#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionButton>

namespace quastor {
namespace {

const QColor kDarkBlue(0x14, 0x3d, 0x7a);
const QColor kLightBlue(0x2b, 0x6c, 0xc4);

}  // namespace

void TitleBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QLinearGradient gradient(rect().topLeft(), rect().topRight());
  gradient.setColorAt(0, kDarkBlue);
  gradient.setColorAt(1, kLightBlue);
  painter.fillRect(rect(), gradient);
}

BarButton::BarButton(const QString& text, const QString& tip, QWidget* parent)
    : QPushButton(text, parent) {
  setToolTip(tip);
  setFlat(true);
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
}

QSize BarButton::sizeHint() const {
  const QFontMetrics metrics = fontMetrics();
  int width = metrics.horizontalAdvance(text()) + 16;
  if (menu() != nullptr)
    width += 10;  // the arrow
  return QSize(width, metrics.height() + 6);
}

void BarButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const bool lit = underMouse() || isDown() || hasFocus();
  painter.setPen(QColor(255, 255, 255, 90));
  painter.setBrush(lit ? QColor(255, 255, 255, 40) : Qt::transparent);
  painter.drawRoundedRect(frame, 3, 3);
  painter.setPen(Qt::white);
  QRect text_area = rect();
  if (menu() != nullptr) {
    text_area.setRight(text_area.right() - 10);
    const QPointF tip(rect().right() - 9, rect().center().y() + 2);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({tip + QPointF(-3, -3), tip + QPointF(3, -3), tip}));
  }
  painter.drawText(text_area, Qt::AlignCenter, text());
}

}  // namespace quastor
