#pragma once
// The sentences with which a table editor's load or import reports what it could not show:
// records after a reading error, records beyond a grid's rows, records that name no PDO. The
// window shows the load's messages as the system always did; before OK rewrites the file it
// asks the overwrite question, so that a partial load never silently turns into a shorter
// file. The command-line tool refuses instead.

#include <cstddef>
#include <string>

#include "canopen/SideGrids.h"
#include "platform/LoadReport.h"

namespace quastor {

// The file (source: its name) did not parse; reason is the parser's message.
void NoteFileUnread(LoadReport& report, const std::string& source, const std::string& reason);

// Reading stopped at record (1-based) of count, for reason.
void NoteReadingStopped(LoadReport& report, const std::string& source, std::size_t record,
                        std::size_t count, const std::string& reason);

// Record (1-based) could not be read, for reason, and the reading went on with the next one.
void NoteRecordUnread(LoadReport& report, const std::string& source, std::size_t record,
                      const std::string& reason);

// The records beyond the rows of each side's page.
void NoteNotShown(LoadReport& report, const SideFiller& filler, const std::string& source,
                  const char* page_a, const char* page_b);

// The sheet as the gap texts name it: sheet "name".
std::string SheetSource(const std::string& sheet_name);

}  // namespace quastor
