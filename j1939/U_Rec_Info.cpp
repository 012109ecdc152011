#include "j1939/U_Rec_Info.h"

namespace quastor {

TF_Rec_Info::TF_Rec_Info(const AppState& state, UiServices& services, QWidget* parent)
    : FrameInfoDialog(state, services, FrameDirection::kReceive, "TF_Rec_Info", QSize(654, 449),
                      parent) {}

}  // namespace quastor
