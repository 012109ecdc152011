#include "platform/ui/EditorLook.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace quastor {

void ApplyEditorLook(QWidget* window) {
  QFont font(QStringLiteral("Verdana"));
  font.setPointSize(8);
  window->setFont(font);
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, kEditorBackground);
  palette.setColor(QPalette::WindowText, kEditorText);
  palette.setColor(QPalette::Text, kEditorText);
  palette.setColor(QPalette::ButtonText, kEditorText);
  window->setPalette(palette);
  window->setAutoFillBackground(true);
}

}  // namespace quastor
