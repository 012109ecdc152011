#include "j1939/UFrameLook.h"

#include <QPalette>
#include <QWidget>

namespace quastor {

void ApplyFrameLook(QWidget* window) {
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, kFrameBackground);
  palette.setColor(QPalette::WindowText, kFrameText);
  palette.setColor(QPalette::Text, kFrameText);
  palette.setColor(QPalette::ButtonText, kFrameText);
  window->setPalette(palette);
  window->setAutoFillBackground(true);
}

}  // namespace quastor
