#include "canopen/UWordImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace quastor {
namespace {

const QColor kFolderBody(0xF2, 0xC9, 0x4C);
const QColor kFolderFlap(0xFB, 0xE3, 0x8E);
const QColor kFolderEdge(0x9A, 0x74, 0x12);
const QColor kMark(0x1F, 0x3A, 0x6E);
const QColor kRegisterBody(0xD6, 0xE4, 0xF5);
const QColor kRegisterOpen(0xFF, 0xF2, 0xC2);
const QColor kRegisterEdge(0x3E, 0x5C, 0x8A);
const QColor kBitOn(0xD9, 0x4A, 0x2B);

QPixmap Blank() {
  QPixmap pixmap(kNodeImageSize, kNodeImageSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// The folder's back with its tab.
void FolderBack(QPainter& p) {
  QPainterPath back;
  back.moveTo(1.5, 3.5);
  back.lineTo(6.5, 3.5);
  back.lineTo(8.0, 5.0);
  back.lineTo(14.5, 5.0);
  back.lineTo(14.5, 13.5);
  back.lineTo(1.5, 13.5);
  back.closeSubpath();
  p.setPen(QPen(kFolderEdge, 1.0));
  p.setBrush(kFolderBody);
  p.drawPath(back);
}

QPixmap ClosedFolder() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  FolderBack(p);
  // The mark W, drawn as a line so that it stays sharp at this size.
  p.setPen(QPen(kMark, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(4.0, 7.0), QPointF(5.8, 12.0), QPointF(8.0, 8.5),
                            QPointF(10.2, 12.0), QPointF(12.0, 7.0)}));
  return pixmap;
}

QPixmap OpenFolder() {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  FolderBack(p);
  // The front flap swung down and out.
  p.setPen(QPen(kFolderEdge, 1.0));
  p.setBrush(kFolderFlap);
  p.drawPolygon(
      QPolygonF({QPointF(3.5, 7.5), QPointF(15.5, 7.5), QPointF(13.0, 13.5), QPointF(1.5, 13.5)}));
  return pixmap;
}

// A register: a row of four bit cells in a frame; open, its ground lit and one bit set.
QPixmap Register(bool open) {
  QPixmap pixmap = Blank();
  QPainter p(&pixmap);
  p.setPen(QPen(kRegisterEdge, 1.0));
  p.setBrush(open ? kRegisterOpen : kRegisterBody);
  p.drawRect(QRectF(1.5, 4.5, 13.0, 7.0));
  for (int cell = 1; cell < 4; ++cell) {
    const double x = 1.5 + cell * 3.25;
    p.drawLine(QPointF(x, 4.5), QPointF(x, 11.5));
  }
  if (open) {
    p.fillRect(QRectF(5.25, 6.0, 2.5, 4.5), kBitOn);
  } else {
    // The closed register's pins: it reads as a small part of a word.
    p.drawLine(QPointF(4.0, 12.0), QPointF(4.0, 14.0));
    p.drawLine(QPointF(12.0, 12.0), QPointF(12.0, 14.0));
  }
  return pixmap;
}

}  // namespace

std::array<QPixmap, 4> DrawNodeImages() {
  return {ClosedFolder(), OpenFolder(), Register(false), Register(true)};
}

QIcon NodeIcon(const std::array<QPixmap, 4>& images, const WordNode& node) {
  QIcon icon;
  icon.addPixmap(images[static_cast<std::size_t>(node.image)], QIcon::Normal);
  icon.addPixmap(images[static_cast<std::size_t>(node.selectedImage)], QIcon::Selected);
  return icon;
}

}  // namespace quastor
