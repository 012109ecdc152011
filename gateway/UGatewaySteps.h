#pragma once
// The main window's Step 3 ("GSD File") and the image build of Step 4 ("Update Device").

#include <optional>
#include <string>

class QWidget;

namespace quastor {

struct AppState;
struct UiServices;

// Step 3: asks for the GSD file's name in the project directory and writes the file; a
// refusal or a write failure is shown, a cancel does nothing. Returns what was written, in the
// status line's words, or nothing.
std::optional<std::string> SaveGsdFile(QWidget* parent, const AppState& state,
                                       UiServices& services);

// Step 4 before the update wizard: builds the configuration image from pargen.xml and writes
// bin/bank.bin. Shows any failure and returns, only when the wizard may open, what was written
// in the status line's words.
std::optional<std::string> PrepareDeviceUpdate(const AppState& state, UiServices& services);

}  // namespace quastor
