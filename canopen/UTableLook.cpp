#include "canopen/UTableLook.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace quastor {

void ApplyTableLook(QWidget* window) {
  QFont font(QStringLiteral("Verdana"));
  font.setPointSize(8);
  window->setFont(font);
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, kTableBackground);
  palette.setColor(QPalette::WindowText, kTableText);
  palette.setColor(QPalette::Text, kTableText);
  palette.setColor(QPalette::ButtonText, kTableText);
  window->setPalette(palette);
  window->setAutoFillBackground(true);
}

}  // namespace quastor
