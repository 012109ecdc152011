#pragma once
// The look of the table editors: Verdana 8 pt, dark grey text on a warm light background, and
// the light blue that marks columns of their own kind (the other network's side, the cells
// that identify a frame).

#include <QColor>

class QWidget;

namespace quastor {

inline const QColor kEditorText(0x33, 0x33, 0x33);
inline const QColor kEditorBackground(0xF8, 0xF7, 0xED);
inline const QColor kMarkedColumnColour(0xE0, 0xFA, 0xFE);

void ApplyEditorLook(QWidget* window);

}  // namespace quastor
