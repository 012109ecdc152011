#pragma once
// What OK, Import and Export do alike in every CANopen table editor: ask before OK writes a
// file that was not shown whole, show why a save or an export failed, choose a workbook.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/LoadReport.h"
#include "platform/Result.h"

class QWidget;

namespace quastor {

struct AppState;
class ReadStamps;
struct UiServices;

// OK: asks first when another program changed the file since the window read it (stamps) and
// when gaps is not complete (No keeps the file), then saves; a failure is shown. True when the
// file was written, and gaps are then cleared.
bool ConfirmAndSave(UiServices& services, const ReadStamps& stamps, LoadReport& gaps,
                    const std::string& file_name, const std::function<Status()>& save);

// Import: the workbook the user chooses in the project directory, or nothing.
std::optional<std::filesystem::path> ChooseWorkbook(QWidget* parent, UiServices& services,
                                                    const AppState& state);

// Shows a failure of an export or an import; true when there was none.
bool ShowFailure(UiServices& services, const Status& status);

}  // namespace quastor
