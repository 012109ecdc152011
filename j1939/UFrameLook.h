#pragma once
// The look of the J1939 frame tables: Verdana 8 pt, dark grey text on the application's pale
// background, and the pale cyan of the cells that identify a frame.

#include <QColor>

class QWidget;

namespace quastor {

inline const QColor kFrameText(0x33, 0x33, 0x33);
inline const QColor kFrameBackground(248, 247, 237);
inline const QColor kFrameFieldColour(224, 250, 254);

void ApplyFrameLook(QWidget* window);

}  // namespace quastor
