#include "platform/ui/ClickLabel.h"

namespace quastor {

ClickLabel* NewWebLinkLabel(const QString& text, QWidget* parent) {
  auto* label = new ClickLabel(text, parent);
  label->setCursor(Qt::PointingHandCursor);
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  label->setStyleSheet("color: #1a4fa0;");
  return label;
}

}  // namespace quastor
