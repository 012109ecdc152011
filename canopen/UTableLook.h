#pragma once
// The look of the CANopen table editors: Verdana 8 pt, dark grey text on a warm light
// background, and the light blue of the columns that name the other network's side.

#include <QColor>

class QWidget;

namespace quastor {

inline const QColor kTableText(0x33, 0x33, 0x33);
inline const QColor kTableBackground(0xF8, 0xF7, 0xED);
inline const QColor kOtherSideColour(0xE0, 0xFA, 0xFE);

void ApplyTableLook(QWidget* window);

}  // namespace quastor
