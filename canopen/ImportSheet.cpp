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

namespace {

// The first field_count cells of a row (the headings row included) as texts.
std::vector<std::string> RowFields(const std::vector<WorkbookCell>& cells,
                                   std::size_t field_count) {
  std::vector<std::string> fields(field_count);
  for (std::size_t k = 0; k < field_count && k < cells.size(); ++k) {
    if (cells[k])
      fields[k] = *cells[k];
  }
  return fields;
}

bool HasUnreadField(const WorkbookSheet& sheet, std::size_t row, std::size_t field_count) {
  for (std::size_t k = 0; k < field_count; ++k) {
    if (FindUnreadCell(sheet, row, k) != nullptr)
      return true;
  }
  return false;
}

bool IsHeadingLine(const std::vector<std::string>& fields, const SheetShape& shape) {
  if (shape.headings.size() != fields.size())
    return false;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k != shape.flagsField && fields[k] != shape.headings[k])
      return false;
  }
  return true;
}

bool HoldsNothing(const std::vector<std::string>& fields, const SheetShape& shape) {
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k != shape.flagsField && !fields[k].empty())
      return false;
  }
  const std::string& flags = fields[shape.flagsField];
  if (flags.empty())
    return true;
  const Result<std::int32_t> code = StrictInteger(flags);
  for (const std::string& empty : shape.emptyRowCodes) {
    const Result<std::int32_t> empty_code = StrictInteger(empty);
    if (code && empty_code && *code == *empty_code)
      return true;
  }
  return false;
}

}  // namespace

Result<std::vector<SheetRecord>> SheetRecords(const WorkbookSheet& sheet, const SheetShape& shape) {
  const std::size_t field_count = shape.fieldNames.size();
  if (sheet.columnCount < field_count) {
    return Failure{FormatText(texts::kTooFewColumns, {sheet.name, std::to_string(sheet.columnCount),
                                                      std::to_string(field_count)})};
  }
  std::vector<SheetRecord> records;
  records.reserve(sheet.rows.size() + 1);
  // Row i of the sheet (0 the headings row) when it is a record.
  auto take = [&](std::size_t row, std::vector<std::string> fields) -> Status {
    const bool unread = HasUnreadField(sheet, row, field_count);
    if (!unread && (IsHeadingLine(fields, shape) || HoldsNothing(fields, shape)))
      return Status::Ok();
    SheetRecord record{row + 1, std::move(fields)};
    for (std::size_t k = 0; unread && k < field_count; ++k) {
      if (const WorkbookUnreadCell* cell = FindUnreadCell(sheet, row, k))
        return SheetCellFailure(sheet, record, k, shape.fieldNames[k], cell->reason);
    }
    records.push_back(std::move(record));
    return Status::Ok();
  };
  // Row 1 holds the headings unless its flags field reads as a number (an exported table
  // without heading line starts with a record).
  std::vector<WorkbookCell> first(sheet.headings.begin(), sheet.headings.end());
  std::vector<std::string> fields = RowFields(first, field_count);
  if (field_count > shape.flagsField && StrictInteger(fields[shape.flagsField]) &&
      FindUnreadCell(sheet, 0, shape.flagsField) == nullptr) {
    if (const Status taken = take(0, std::move(fields)); !taken)
      return taken.failure();
  }
  for (std::size_t i = 0; i < sheet.rows.size(); ++i) {
    if (const Status taken = take(i + 1, RowFields(sheet.rows[i], field_count)); !taken)
      return taken.failure();
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
