#include "j1939/USetPdo.h"

namespace quastor {

TFSetPdo::TFSetPdo(const AppState& state, UiServices& services, QWidget* parent)
    : FrameListDialog(state, services, FrameDirection::kSend,
                      {"TFSetPdo", QSize(616, 537), 20, false, "LbButton4", "LbButton3"}, parent),
      LbButton4(okButton_),
      LbButton3(cancelButton_) {}

}  // namespace quastor
