#pragma once
// What a table editor's load or import could not read or show, in any subsystem: the sentences
// that name each gap (told at load, and asked about before OK rewrites the file, so that a
// partial load never silently turns into a shorter file), the records or rows that could not
// be read, and the counts behind the sentences.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace quastor {

// A message a load shows, in order: an error box, else a plain message.
struct LoadMessage {
  bool error = false;
  std::string text;
};

// The texts of messages, in order.
std::vector<std::string> MessageTexts(const std::vector<LoadMessage>& messages);

// What could not be read: the file as a whole (position 0), or a record or row of it (from 1).
struct LoadFailure {
  std::string source;  // the file's name, or the sheet
  std::size_t position = 0;
  std::string reason;
};

struct LoadReport {
  std::vector<std::string> gaps;      // what is not shown, one sentence per gap, in the order met
  std::vector<LoadFailure> failures;  // what could not be read, in the order met
  std::size_t notRead = 0;            // records (rows) not read: after a stop, the failing one
                                      // and those after it
  std::size_t skipped = 0;            // records left out by the table's own rule
  std::array<std::size_t, 2> notShown{};  // per page of the editor, records beyond its rows

  bool Complete() const { return gaps.empty(); }
  // Whether some file did not load at all.
  bool FileUnread() const;
};

// A gap that the load also tells at once, as a plain message.
void TellGap(std::vector<LoadMessage>& messages, LoadReport& report, std::string sentence);
// Tells the report's gaps from the first'th on, as plain messages.
void TellGaps(std::vector<LoadMessage>& messages, const LoadReport& report, std::size_t first = 0);

// Asked before OK writes file_name without what the report's gaps name: question holds "%s" for
// the gaps' sentences, one a line, then "%s" for the file.
std::string OverwriteQuestion(const LoadReport& report, const char* question,
                              const std::string& file_name);

}  // namespace quastor
