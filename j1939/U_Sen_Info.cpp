#include "j1939/U_Sen_Info.h"

namespace quastor {

TF_Sen_Info::TF_Sen_Info(const AppState& state, UiServices& services, QWidget* parent)
    : FrameInfoDialog(state, services, FrameDirection::kSend, "TF_Sen_Info", QSize(653, 448),
                      parent) {}

}  // namespace quastor
