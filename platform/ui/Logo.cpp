#include "platform/ui/Logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quastor {

QPixmap MakerLogo(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient fill(0, 0, 0, size);
  fill.setColorAt(0, QColor(0x2b, 0x6c, 0xc4));
  fill.setColorAt(1, QColor(0x14, 0x3d, 0x7a));
  painter.setBrush(fill);
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 6.0, size / 6.0);
  // A "V" of two strokes over a short bar: the gateway joining two networks.
  QPen pen(Qt::white, size / 9.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(pen);
  QPainterPath mark;
  mark.moveTo(size * 0.25, size * 0.25);
  mark.lineTo(size * 0.5, size * 0.68);
  mark.lineTo(size * 0.75, size * 0.25);
  painter.drawPath(mark);
  painter.setPen(QPen(QColor(0xf2, 0xa9, 0x00), size / 14.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(size * 0.3, size * 0.8), QPointF(size * 0.7, size * 0.8));
  return pixmap;
}

}  // namespace quastor
