#include "platform/DoneReport.h"

#include <system_error>

#include "platform/EditorTexts.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = editor_texts;

std::string Number(std::size_t count) {
  return std::to_string(count);
}

}  // namespace

std::string CountText(std::size_t count, const char* one, const char* many) {
  return Number(count) + " " + (count == 1 ? one : many);
}

std::string SavedReport(const std::string& file, std::size_t records) {
  return FormatText(texts::kSaved, {file, CountText(records, texts::kRecord, texts::kRecords)});
}

std::string SavedReport(const std::string& file, const SideCounts& records) {
  return FormatText(texts::kSavedSides,
                    {file, CountText(records.Total(), texts::kRecord, texts::kRecords),
                     Number(records.a), Number(records.b)});
}

std::string ExportedReport(const std::filesystem::path& file, std::size_t rows) {
  return FormatText(texts::kExported,
                    {Utf8FromPath(file), CountText(rows, texts::kRow, texts::kRows)});
}

std::string ImportedReport(const std::filesystem::path& workbook, const std::string& sheet,
                           const SideCounts& rows) {
  return FormatText(texts::kImportedSides,
                    {CountText(rows.Total(), texts::kRow, texts::kRows),
                     Utf8FromPath(workbook.filename()), sheet, Number(rows.a), Number(rows.b)});
}

std::string ReplaceRowsQuestion(std::size_t held, const std::string& table, std::size_t imported,
                                const std::string& sheet) {
  return FormatText(texts::kReplaceRows, {CountText(held, texts::kRow, texts::kRows), table,
                                          CountText(imported, texts::kRow, texts::kRows), sheet});
}

std::string WrittenReport(const std::string& name, std::uintmax_t bytes) {
  return FormatText(texts::kWritten, {name, std::to_string(bytes) + " " +
                                                (bytes == 1 ? texts::kByte : texts::kBytes)});
}

Result<std::string> FileWrittenReport(const std::filesystem::path& file) {
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(file, error);
  if (error)
    return Failure{SystemReason(error.value())};
  return WrittenReport(Utf8FromPath(file.filename()), bytes);
}

}  // namespace quastor
