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

void FrameLoadReport::Gap(std::string sentence) {
  messages.push_back({false, sentence});
  gaps.push_back(std::move(sentence));
}

std::string FrameOverwriteQuestion(const FrameLoadReport& report, const std::string& file_name) {
  std::string sentences;
  for (const std::string& gap : report.gaps) {
    if (!sentences.empty())
      sentences += '\n';
    sentences += gap;
  }
  return FormatText(texts::kOverwriteQuestion, {sentences, file_name});
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

void NoteFrameFileUnread(FrameLoadReport& report, const std::filesystem::path& file,
                         const std::string& message) {
  report.Error(message);
  report.failures.push_back({FrameSourceName(file), 0, message});
}

void NoteFrameReadingStopped(FrameLoadReport& report, const std::filesystem::path& file,
                             std::size_t row, std::size_t count, const FrameRowFailure& failure) {
  report.Error(failure.shown);
  report.failures.push_back({FrameSourceName(file), row, failure.reason});
  report.Gap(
      FormatText(texts::kReadingStopped,
                 {FrameSourceName(file), std::to_string(row), std::to_string(count), failure.reason,
                  Counted(count - row + 1, texts::kRowIs, texts::kRowsAre)}));
}

void NoteFrameRowUnread(FrameLoadReport& report, const std::filesystem::path& file, std::size_t row,
                        const FrameRowFailure& failure) {
  report.Error(failure.shown);
  report.failures.push_back({FrameSourceName(file), row, failure.reason});
  report.Gap(
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
