#include "tools/UXmlImages.h"

#include <QPainter>
#include <QPainterPath>

#include "tools/XmlTree.h"

namespace quastor {
namespace {

constexpr int kSize = 16;

struct Look {
  QColor fill;
  const char* glyph;  // drawn in white on the fill
};

Look LookOf(XmlNodeKind kind) {
  switch (kind) {
    case XmlNodeKind::kDocument:
      return {QColor(0xF4, 0xF4, 0xEE), ""};
    case XmlNodeKind::kElement:
      return {QColor(0x2F, 0x6F, 0xB5), "<>"};
    case XmlNodeKind::kAttribute:
      return {QColor(0x3A, 0x8F, 0x3A), "="};
    case XmlNodeKind::kProcessingInstruction:
      return {QColor(0xD9, 0x82, 0x2B), "?"};
    case XmlNodeKind::kDeclaration:
      return {QColor(0x6B, 0x6B, 0x7A), "x"};
  }
  return {Qt::gray, ""};
}

// A sheet of paper with a folded corner and three lines of text.
void DrawDocument(QPainter& painter, bool selected) {
  QPainterPath page;
  page.moveTo(2.5, 0.5);
  page.lineTo(10.5, 0.5);
  page.lineTo(13.5, 3.5);
  page.lineTo(13.5, 15.5);
  page.lineTo(2.5, 15.5);
  page.closeSubpath();
  painter.setPen(QPen(selected ? Qt::white : QColor(0x70, 0x70, 0x70), 1));
  painter.setBrush(selected ? QColor(0xDD, 0xE8, 0xF7) : LookOf(XmlNodeKind::kDocument).fill);
  painter.drawPath(page);
  painter.setPen(QPen(QColor(0x2F, 0x6F, 0xB5), 1));
  for (const int y : {6, 9, 12})
    painter.drawLine(QPointF(4.5, y + 0.5), QPointF(11.5, y + 0.5));
}

// A rounded badge in the kind's colour with its glyph.
void DrawBadge(QPainter& painter, const Look& look, bool selected) {
  painter.setPen(selected ? QPen(Qt::white, 1.5) : QPen(look.fill.darker(140), 1));
  painter.setBrush(selected ? look.fill.lighter(125) : look.fill);
  painter.drawRoundedRect(QRectF(1, 1, kSize - 2, kSize - 2), 3.5, 3.5);
  QFont font = painter.font();
  font.setPixelSize(11);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, kSize, kSize - 1), Qt::AlignCenter, QString::fromLatin1(look.glyph));
}

}  // namespace

QPixmap XmlImage(int index) {
  QPixmap image(kSize, kSize);
  image.fill(Qt::transparent);
  const auto kind = static_cast<XmlNodeKind>(index / 2);
  const bool selected = index % 2 == 1;
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  if (kind == XmlNodeKind::kDocument)
    DrawDocument(painter, selected);
  else
    DrawBadge(painter, LookOf(kind), selected);
  return image;
}

QIcon XmlKindIcon(XmlNodeKind kind) {
  QIcon icon;
  icon.addPixmap(XmlImage(ImageIndex(kind)), QIcon::Normal);
  icon.addPixmap(XmlImage(ImageIndex(kind) + 1), QIcon::Selected);
  return icon;
}

}  // namespace quastor
