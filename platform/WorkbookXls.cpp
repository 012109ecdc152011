// Legacy .xls workbooks through FreeXL. Every FreeXL call's result code is checked: a damaged
// or hostile file ends in a failure with FreeXL's reason, never in reading past its data.

#include "platform/WorkbookXls.h"

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/Text.h"
#include "platform/WorkbookReaders.h"
#include "platform/WorkbookXlsFormulas.h"

namespace quastor::workbook {

namespace {

// FreeXL's result codes in words.
std::string XlsReason(int code) {
  struct Reason {
    int code;
    const char* text;
  };
  static constexpr Reason kReasons[] = {
      {FREEXL_INVALID_CFBF_HEADER, "no OLE2 compound file header"},
      {FREEXL_CFBF_READ_ERROR, "the compound file ends early"},
      {FREEXL_CFBF_SEEK_ERROR, "the compound file ends early"},
      {FREEXL_CFBF_INVALID_SIGNATURE, "no OLE2 compound file signature"},
      {FREEXL_CFBF_INVALID_SECTOR_SIZE, "invalid sector size"},
      {FREEXL_CFBF_EMPTY_FAT_CHAIN, "empty sector chain"},
      {FREEXL_CFBF_ILLEGAL_FAT_ENTRY, "invalid sector chain"},
      {FREEXL_BIFF_INVALID_BOF, "invalid record structure"},
      {FREEXL_BIFF_INVALID_SST, "invalid string table"},
      {FREEXL_BIFF_ILLEGAL_SST_INDEX, "invalid string reference"},
      {FREEXL_BIFF_WORKBOOK_NOT_FOUND, "no workbook stream"},
      {FREEXL_BIFF_ILLEGAL_SHEET_INDEX, "invalid sheet"},
      {FREEXL_INVALID_CHARACTER, "invalid characters"},
      {FREEXL_UNSUPPORTED_CHARSET, "unsupported character set"},
      {FREEXL_ILLEGAL_CELL_ROW_COL, "invalid cell position"},
      {FREEXL_ILLEGAL_RK_VALUE, "invalid number"},
      {FREEXL_INVALID_MINI_STREAM, "invalid mini stream"},
      {FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY, "invalid mini stream chain"},
      {FREEXL_CRAFTED_FILE, "inconsistent structure"},
  };
  if (code == FREEXL_FILE_NOT_FOUND)
    return "the file cannot be opened";
  if (code == FREEXL_INSUFFICIENT_MEMORY)
    return "not enough memory";
  for (const Reason& reason : kReasons) {
    if (reason.code == code)
      return FormatText(kWorkbookDamaged, {reason.text});
  }
  return FormatText(kWorkbookDamaged, {"FreeXL error " + std::to_string(code)});
}

struct HandleCloser {
  void operator()(const void* handle) const { freexl_close(handle); }
};
using Handle = std::unique_ptr<const void, HandleCloser>;

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i)
    value = (value << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

// FreeXL 1.0.6 converts the name of every entry in the first sector of the directory with the
// length the entry states, up to 65535 bytes, reading past the 64 bytes a name can hold. Such a
// length never occurs in a sound compound file; a file that states one is refused here, before
// FreeXL reads it. Files that FreeXL refuses by itself (no signature, a sector size other than
// 512 or 4096, a directory outside the file) pass on to it.
bool DirectoryNamesFit(std::string_view bytes) {
  static constexpr std::string_view kSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  constexpr std::size_t kHeaderBytes = 512;
  constexpr std::size_t kEntryBytes = 128;
  constexpr std::uint32_t kNameBytes = 64;
  if (bytes.size() < kHeaderBytes || bytes.substr(0, 8) != kSignature)
    return true;
  const std::uint32_t shift = LittleEndian(bytes, 0x1E, 2);
  if (shift != 9 && shift != 12)
    return true;
  const std::uint64_t sectorBytes = std::uint64_t{1} << shift;
  const std::uint64_t first = (std::uint64_t{LittleEndian(bytes, 0x30, 4)} + 1) * sectorBytes;
  if (first + sectorBytes > bytes.size())
    return true;
  for (std::uint64_t entry = first; entry < first + sectorBytes; entry += kEntryBytes) {
    if (LittleEndian(bytes, static_cast<std::size_t>(entry) + 0x40, 2) > kNameBytes)
      return false;
  }
  return true;
}

// Opens the file (whose bytes are given) fully (cells) or for its sheet list only.
Result<Handle> Open(const std::filesystem::path& file, std::string_view bytes, bool cells) {
  if (!DirectoryNamesFit(bytes))
    return Failure{FormatText(kWorkbookDamaged, {"invalid directory entry"})};
  const void* raw = nullptr;
  const std::string path = file.string();
  const int code = cells ? freexl_open(path.c_str(), &raw) : freexl_open_info(path.c_str(), &raw);
  Handle handle(raw);  // FreeXL wants the handle closed even when opening failed
  if (code != FREEXL_OK)
    return Failure{XlsReason(code)};
  // FreeXL 1.0.6 refuses some files (an empty string in the string table, for one) with
  // success and no handle.
  if (handle == nullptr)
    return Failure{FormatText(kWorkbookDamaged, {"FreeXL cannot read its structure"})};
  unsigned int password = 0;
  if (freexl_get_info(handle.get(), FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
      password == FREEXL_BIFF_OBFUSCATED)
    return Failure{kWorkbookEncrypted};
  return Result<Handle>(std::move(handle));
}

Result<std::vector<std::string>> Names(const void* handle) {
  unsigned int count = 0;
  int code = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &count);
  if (code != FREEXL_OK)
    return Failure{XlsReason(code)};
  std::vector<std::string> names;
  for (unsigned int i = 0; i < count && i <= 0xFFFF; ++i) {
    const char* name = nullptr;
    code = freexl_get_worksheet_name(handle, static_cast<unsigned short>(i), &name);
    if (code != FREEXL_OK)
      return Failure{XlsReason(code)};
    names.emplace_back(name != nullptr ? name : "");
  }
  return names;
}

}  // namespace

CellValue XlsCellValue(const FreeXL_CellValue& cell) {
  switch (cell.type) {
    case FREEXL_CELL_INT:
      return static_cast<double>(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
      return cell.value.double_value;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_TIME:
      // Dates and times come as ISO texts already.
      return std::string(cell.value.text_value != nullptr ? cell.value.text_value : "");
    case FREEXL_CELL_DATETIME: {
      // A date at midnight reads as the date alone, as from the other formats.
      std::string text = cell.value.text_value != nullptr ? cell.value.text_value : "";
      static constexpr std::string_view kMidnight = " 00:00:00";
      if (text.size() > kMidnight.size() &&
          std::string_view(text).substr(text.size() - kMidnight.size()) == kMidnight)
        text.resize(text.size() - kMidnight.size());
      return text;
    }
    default:
      return std::monostate{};
  }
}

bool ReadersAvailable() {
  return true;
}

namespace {

// The reading of a file that FreeXL refused from its records alone, or FreeXL's failure when
// the records do not make a BIFF8 workbook either.
std::optional<XlsRecordsReading> FromRecords(std::string_view bytes, const std::string& name) {
  if (!DirectoryNamesFit(bytes))
    return std::nullopt;
  std::optional<XlsRecordsReading> reading = XlsRecordCells(bytes, name);
  if (!reading || reading->sheetNames.empty())
    return std::nullopt;
  return reading;
}

}  // namespace

Result<std::vector<std::string>> XlsSheetNames(const std::filesystem::path& file,
                                               std::string_view bytes) {
  Result<Handle> handle = Open(file, bytes, false);
  if (!handle) {
    if (const auto reading = FromRecords(bytes, ""))
      return reading->encrypted ? Result<std::vector<std::string>>(Failure{kWorkbookEncrypted})
                                : reading->sheetNames;
    return Failure{handle.error()};
  }
  return Names(handle->get());
}

Result<std::optional<WorkbookSheet>> XlsSheet(const std::filesystem::path& file,
                                              std::string_view bytes, const std::string& name) {
  Result<Handle> opened = Open(file, bytes, true);
  if (!opened) {
    // FreeXL 1.0.6 refuses, as damaged, a text split over CONTINUE records; the records read.
    const auto reading = FromRecords(bytes, name);
    if (!reading)
      return Failure{opened.error()};
    if (reading->encrypted)
      return Failure{kWorkbookEncrypted};
    if (!reading->sheetName)
      return std::optional<WorkbookSheet>();
    SheetBuilder builder;
    for (FormulaResult cell : reading->cells)
      builder.Put(cell.row, cell.column, std::move(cell.value));
    Result<WorkbookSheet> sheet = builder.Finish(*reading->sheetName);
    if (!sheet)
      return Failure{sheet.error()};
    return std::optional<WorkbookSheet>(std::move(sheet.value()));
  }
  const void* handle = opened->get();
  Result<std::vector<std::string>> names = Names(handle);
  if (!names)
    return Failure{names.error()};
  std::size_t index = 0;
  while (index < names->size() && !SameSheetName((*names)[index], name))
    ++index;
  if (index == names->size())
    return std::optional<WorkbookSheet>();

  int code = freexl_select_active_worksheet(handle, static_cast<unsigned short>(index));
  if (code != FREEXL_OK)
    return Failure{XlsReason(code)};
  unsigned int rows = 0;
  unsigned short columns = 0;
  code = freexl_worksheet_dimensions(handle, &rows, &columns);
  if (code != FREEXL_OK)
    return Failure{XlsReason(code)};
  const std::string& sheetName = (*names)[index];
  if (rows > kWorkbookMaxRows || columns > kWorkbookMaxColumns)
    return Failure{FormatText(kWorkbookTooLarge, {sheetName})};

  SheetBuilder builder;
  for (unsigned int r = 0; r < rows && !builder.TooLarge(); ++r) {
    for (unsigned short c = 0; c < columns; ++c) {
      FreeXL_CellValue cell;
      code = freexl_get_cell_value(handle, r, c, &cell);
      if (code != FREEXL_OK)
        return Failure{XlsReason(code)};
      if (cell.type != FREEXL_CELL_NULL)
        builder.Set(r, c, CellText(XlsCellValue(cell)));
    }
  }
  // FreeXL leaves formula cells empty, or reads their result as a wrong number (a text
  // result of a file that LibreOffice wrote as 0), and tells no error: the results stored with
  // the formulas, and the boolean and error cells, replace what it gave.
  for (FormulaResult& formula : XlsFormulaResults(bytes, sheetName))
    builder.Put(formula.row, formula.column, std::move(formula.value));
  Result<WorkbookSheet> sheet = builder.Finish(sheetName);
  if (!sheet)
    return Failure{sheet.error()};
  return std::optional<WorkbookSheet>(std::move(sheet.value()));
}

}  // namespace quastor::workbook
