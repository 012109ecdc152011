#pragma once
// TF_Sen_Info ("Send Frames Info"): which DeviceNet byte each byte of each sent frame is taken
// from, kept in Send_Info.xml.

#include "j1939/UFrameInfo.h"

namespace quastor {

class TF_Sen_Info : public FrameInfoDialog {
  Q_OBJECT

 public:
  TF_Sen_Info(const AppState& state, UiServices& services, QWidget* parent = nullptr);
};

}  // namespace quastor
