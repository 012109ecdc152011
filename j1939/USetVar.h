#pragma once
// TFSetVar ("Receive Frames"): the frames the gateway receives, kept in Receive_Frame.xml;
// the "Cancel Data" column is a check box.

#include "j1939/UFrameList.h"

namespace quastor {

class TFSetVar : public FrameListDialog {
  Q_OBJECT

 public:
  TFSetVar(const AppState& state, UiServices& services, QWidget* parent = nullptr);

 private:
  QPushButton* bitbtn1;  // OK
  QPushButton* bitbtn2;  // Cancel
};

}  // namespace quastor
