#pragma once
// What a table editor's load or import could not show: records after a reading error, records
// beyond a grid's rows, records that name no PDO. The window shows the load's messages as the
// system always did; before OK rewrites the file it asks OverwriteQuestion, so that a partial
// load never silently turns into a shorter file. The command-line tool refuses instead.

#include <cstddef>
#include <string>
#include <vector>

#include "canopen/SideGrids.h"

namespace quastor {

// A record that could not be read: its position (1-based) and why.
struct RecordFailure {
  std::size_t record = 0;
  std::string reason;
};

struct LoadGaps {
  bool fileUnread = false;           // the file did not parse: none of its records is shown
  std::string unreadReason;          // the parser's message when fileUnread
  std::size_t recordsNotRead = 0;    // after a reading error: the failing record and those after it
  std::size_t notShownA = 0;         // records beyond the CAN A grid's rows
  std::size_t notShownB = 0;         // records beyond the CAN B grid's rows
  std::size_t skipped = 0;           // records left out by the editor's own rule
  std::vector<std::string> details;  // one sentence per gap, in the order met
  // The records that could not be read, in file order: the one reading stopped at, or every
  // one when the reading went on past them.
  std::vector<RecordFailure> failures;

  bool Complete() const { return details.empty(); }
};

// The file (source: its name) did not parse; reason is the parser's message.
void NoteFileUnread(LoadGaps& gaps, const std::string& source, const std::string& reason);

// Reading stopped at record (1-based) of count, for reason.
void NoteReadingStopped(LoadGaps& gaps, const std::string& source, std::size_t record,
                        std::size_t count, const std::string& reason);

// Record (1-based) could not be read, for reason, and the reading went on with the next one.
void NoteRecordUnread(LoadGaps& gaps, const std::string& source, std::size_t record,
                      const std::string& reason);

// The records beyond the rows of each side's page.
void NoteNotShown(LoadGaps& gaps, const SideFiller& filler, const std::string& source,
                  const char* page_a, const char* page_b);

// The sheet as the gap texts name it: sheet "name".
std::string SheetSource(const std::string& sheet_name);

// Asked before OK writes file_name without what the gaps did not show.
std::string OverwriteQuestion(const LoadGaps& gaps, const std::string& file_name);

}  // namespace quastor
