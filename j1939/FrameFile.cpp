#include "j1939/FrameFile.h"

#include "j1939/J1939Texts.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor {

namespace texts = j1939_texts;

const std::filesystem::path& FrameListFile(const ProjectFileSet& files, FrameDirection direction) {
  return direction == FrameDirection::kReceive ? files.receiveFrame : files.sendFrame;
}

const std::filesystem::path& FrameInfoFile(const ProjectFileSet& files, FrameDirection direction) {
  return direction == FrameDirection::kReceive ? files.receiveInfo : files.sendInfo;
}

std::string FrameSourceName(const std::filesystem::path& file) {
  return Utf8FromPath(file.filename());
}

FrameRowFailure MissingAttribute(const std::string& name) {
  return {FormatText(texts::kConversionError, {texts::kNullType, texts::kStringType}),
          FormatText(texts::kAttributeMissing, {name})};
}

FrameRowFailure RowNotAnElement() {
  return {FormatText(texts::kConversionError, {texts::kNullType, texts::kStringType}),
          texts::kNotAnElement};
}

FrameRowFailure RowOutOfRange(const std::filesystem::path& file, std::size_t row,
                              std::string reason) {
  return {FormatText(texts::kRowError, {FrameSourceName(file), std::to_string(row), reason}),
          reason};
}

void NoteFrameFileUnread(std::vector<LoadMessage>& messages, LoadReport& report,
                         const std::filesystem::path& file, const std::string& message) {
  messages.push_back({true, message});
  report.failures.push_back({FrameSourceName(file), 0, message});
}

void NoteFrameReadingStopped(std::vector<LoadMessage>& messages, LoadReport& report,
                             const std::filesystem::path& file, std::size_t row, std::size_t count,
                             const FrameRowFailure& failure) {
  messages.push_back({true, failure.shown});
  report.failures.push_back({FrameSourceName(file), row, failure.reason});
  report.notRead += count - row + 1;
  TellGap(messages, report,
          FormatText(texts::kReadingStopped,
                     {FrameSourceName(file), std::to_string(row), std::to_string(count),
                      failure.reason, Counted(count - row + 1, texts::kRowIs, texts::kRowsAre)}));
}

void NoteFrameRowUnread(std::vector<LoadMessage>& messages, LoadReport& report,
                        const std::filesystem::path& file, std::size_t row,
                        const FrameRowFailure& failure) {
  messages.push_back({true, failure.shown});
  report.failures.push_back({FrameSourceName(file), row, failure.reason});
  ++report.notRead;
  TellGap(
      messages, report,
      FormatText(texts::kRowUnread, {std::to_string(row), FrameSourceName(file), failure.reason}));
}

Status RefuseUnreadable(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error))
    return Status::Ok();
  XmlDocument document;
  return document.Load(file);
}

}  // namespace quastor
