#include "j1939/USetVar.h"

namespace quastor {

TFSetVar::TFSetVar(const AppState& state, UiServices& services, QWidget* parent)
    : FrameListDialog(state, services, FrameDirection::kReceive,
                      {"TFSetVar", QSize(636, 532), 21, true, "bitbtn1", "bitbtn2"}, parent),
      bitbtn1(okButton_),
      bitbtn2(cancelButton_) {}

}  // namespace quastor
