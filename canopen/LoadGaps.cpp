#include "canopen/LoadGaps.h"

#include "canopen/CanopenTexts.h"
#include "platform/Text.h"

namespace quastor {

namespace texts = canopen_texts;

void NoteFileUnread(LoadReport& report, const std::string& source, const std::string& reason) {
  report.failures.push_back({source, 0, reason});
  report.gaps.push_back(FormatText(texts::kFileUnread, {source, reason}));
}

void NoteReadingStopped(LoadReport& report, const std::string& source, std::size_t record,
                        std::size_t count, const std::string& reason) {
  report.notRead = count - record + 1;
  report.failures.push_back({source, record, reason});
  report.gaps.push_back(FormatText(
      texts::kReadingStopped, {source, std::to_string(record), std::to_string(count), reason,
                               Counted(report.notRead, texts::kRecordIs, texts::kRecordsAre)}));
}

void NoteRecordUnread(LoadReport& report, const std::string& source, std::size_t record,
                      const std::string& reason) {
  ++report.notRead;
  report.failures.push_back({source, record, reason});
  report.gaps.push_back(FormatText(texts::kRecordUnread, {std::to_string(record), source, reason}));
}

void NoteNotShown(LoadReport& report, const SideFiller& filler, const std::string& source,
                  const char* page_a, const char* page_b) {
  for (const Side side : kBothSides) {
    const std::size_t count = filler.NotShown(side);
    report.notShown[static_cast<std::size_t>(side)] = count;
    if (count == 0)
      continue;
    report.gaps.push_back(FormatText(texts::kRecordsNotShown,
                                     {source, side == Side::kA ? page_a : page_b,
                                      std::to_string(filler.rows()), std::to_string(count)}));
  }
}

std::string SheetSource(const std::string& sheet_name) {
  return FormatText(texts::kSheetSource, {sheet_name});
}

}  // namespace quastor
