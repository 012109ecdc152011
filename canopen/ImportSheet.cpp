#include "canopen/ImportSheet.h"

#include <utility>

#include "canopen/CanopenTexts.h"
#include "platform/IntegerText.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor {

namespace texts = canopen_texts;

Result<WorkbookSheet> ReadTableSheet(const std::filesystem::path& workbook,
                                     const std::string& table_name) {
  Result<std::optional<WorkbookSheet>> read = ReadWorkbookSheet(workbook, table_name);
  if (!read)
    return read.failure();
  if (!read.value())
    return Failure{FormatText(texts::kNoSheet, {Utf8FromPath(workbook), table_name})};
  return std::move(*read.value());
}

Result<std::vector<SheetRecord>> SheetRecords(const WorkbookSheet& sheet, std::size_t field_count) {
  if (sheet.columnCount < field_count) {
    return Failure{FormatText(texts::kTooFewColumns, {sheet.name, std::to_string(sheet.columnCount),
                                                      std::to_string(field_count)})};
  }
  std::vector<SheetRecord> records;
  records.reserve(sheet.rows.size());
  for (std::size_t i = 0; i < sheet.rows.size(); ++i) {
    const std::vector<WorkbookCell>& cells = sheet.rows[i];
    SheetRecord record;
    record.sheetRow = i + 2;
    record.fields.resize(field_count);
    for (std::size_t k = 0; k < field_count && k < cells.size(); ++k) {
      if (cells[k])
        record.fields[k] = *cells[k];
    }
    records.push_back(std::move(record));
  }
  return records;
}

Failure SheetCellFailure(const WorkbookSheet& sheet, const SheetRecord& record, std::size_t field,
                         const std::string& field_name, const std::string& reason) {
  return Failure{FormatText(texts::kSheetCellError, {std::to_string(record.sheetRow), sheet.name,
                                                     ColumnLetters(field), field_name, reason})};
}

Result<std::int32_t> SheetNumber(const WorkbookSheet& sheet, const SheetRecord& record,
                                 std::size_t field, const std::string& field_name) {
  if (record.fields[field].empty())
    return SheetCellFailure(sheet, record, field, field_name, texts::kEmptyCell);
  const Result<std::int32_t> value = StrictInteger(record.fields[field]);
  if (!value)
    return SheetCellFailure(sheet, record, field, field_name, value.error());
  return *value;
}

std::string ColumnLetters(std::size_t index) {
  std::string letters;
  for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

}  // namespace quastor
