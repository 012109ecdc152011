#pragma once
// TFSetPdo ("Send Frames"): the frames the gateway sends, with their priority, kept in
// Send_Frame.xml.

#include "j1939/UFrameList.h"

namespace quastor {

class TFSetPdo : public FrameListDialog {
  Q_OBJECT

 public:
  TFSetPdo(const AppState& state, UiServices& services, QWidget* parent = nullptr);

 private:
  QPushButton* LbButton4;  // OK
  QPushButton* LbButton3;  // Cancel
};

}  // namespace quastor
