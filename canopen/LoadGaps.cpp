#include "canopen/LoadGaps.h"

#include "canopen/CanopenTexts.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;

std::string Joined(const std::vector<std::string>& sentences) {
  std::string text;
  for (const std::string& sentence : sentences) {
    if (!text.empty())
      text += '\n';
    text += sentence;
  }
  return text;
}

}  // namespace

void NoteFileUnread(LoadGaps& gaps, const std::string& source, const std::string& reason) {
  gaps.fileUnread = true;
  gaps.unreadReason = reason;
  gaps.details.push_back(FormatText(texts::kFileUnread, {source, reason}));
}

void NoteReadingStopped(LoadGaps& gaps, const std::string& source, std::size_t record,
                        std::size_t count, const std::string& reason) {
  gaps.recordsNotRead = count - record + 1;
  gaps.failures.push_back({record, reason});
  gaps.details.push_back(
      FormatText(texts::kReadingStopped,
                 {source, std::to_string(record), std::to_string(count), reason,
                  Counted(gaps.recordsNotRead, texts::kRecordIs, texts::kRecordsAre)}));
}

void NoteRecordUnread(LoadGaps& gaps, const std::string& source, std::size_t record,
                      const std::string& reason) {
  ++gaps.recordsNotRead;
  gaps.failures.push_back({record, reason});
  gaps.details.push_back(
      FormatText(texts::kRecordUnread, {std::to_string(record), source, reason}));
}

void NoteNotShown(LoadGaps& gaps, const SideFiller& filler, const std::string& source,
                  const char* page_a, const char* page_b) {
  gaps.notShownA = filler.NotShown(Side::kA);
  gaps.notShownB = filler.NotShown(Side::kB);
  for (const Side side : kBothSides) {
    const std::size_t count = filler.NotShown(side);
    if (count == 0)
      continue;
    gaps.details.push_back(FormatText(texts::kRecordsNotShown,
                                      {source, side == Side::kA ? page_a : page_b,
                                       std::to_string(filler.rows()), std::to_string(count)}));
  }
}

std::string SheetSource(const std::string& sheet_name) {
  return FormatText(texts::kSheetSource, {sheet_name});
}

std::string OverwriteQuestion(const LoadGaps& gaps, const std::string& file_name) {
  return FormatText(texts::kOverwriteQuestion, {Joined(gaps.details), file_name});
}

}  // namespace quastor
