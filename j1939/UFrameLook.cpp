#include "j1939/UFrameLook.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace quastor {

void ApplyFrameLook(QWidget* window) {
  QFont font(QStringLiteral("Verdana"));
  font.setPointSize(8);
  window->setFont(font);
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, kFrameBackground);
  palette.setColor(QPalette::WindowText, kFrameText);
  palette.setColor(QPalette::Text, kFrameText);
  palette.setColor(QPalette::ButtonText, kFrameText);
  window->setPalette(palette);
  window->setAutoFillBackground(true);
}

}  // namespace quastor
