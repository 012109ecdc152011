#include "platform/ui/ClickLabel.h"

namespace quastor {

ClickLabel* NewWebLinkLabel(const QString& text, QWidget* parent) {
  auto* label = new ClickLabel(text, parent);
  label->setCursor(Qt::PointingHandCursor);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0x1a, 0x4f, 0xa0));
  label->setPalette(palette);
  return label;
}

}  // namespace quastor
