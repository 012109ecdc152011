#pragma once
// TF_Rec_Info ("Receive Frames Info"): to which DeviceNet byte each byte of each received frame
// goes, kept in Receive_Info.xml; OK refuses two frame bytes going to one DeviceNet byte.

#include "j1939/UFrameInfo.h"

namespace quastor {

class TF_Rec_Info : public FrameInfoDialog {
  Q_OBJECT

 public:
  TF_Rec_Info(const AppState& state, UiServices& services, QWidget* parent = nullptr);
};

}  // namespace quastor
