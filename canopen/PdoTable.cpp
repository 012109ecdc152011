#include "canopen/PdoTable.h"

#include <cstdint>
#include <iterator>

#include "canopen/CanopenTexts.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
#include "canopen/KeyOrder.h"
#include "canopen/TableFields.h"
#include "canopen/TableFile.h"
#include "platform/Text.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;

constexpr std::size_t kCobid = 0;
constexpr std::size_t kFlags = 2;  // en_bypass in the file, the side and translation code elsewhere
constexpr int kTranslateBit = 1;
constexpr int kSideBit = 2;
static_assert(kPdoFlagBits == (kTranslateBit | kSideBit));

const GridLayout kLayout{texts::kPdoRowCount, texts::kPdoColumnCount, texts::kPdoPageA,
                         texts::kPdoPageB};

const char* TranslateCell(std::int32_t flags) {
  return (flags & kTranslateBit) != 0 ? "1" : "0";
}

Result<PlacedRow> FromFile(const TableRecord& record) {
  const Result<std::int32_t> flags = record.Number(texts::kPdoAttributes[kFlags]);
  if (!flags)
    return flags.failure();
  // In the file a set side bit means CAN A.
  PlacedRow placed{(*flags & kSideBit) != 0 ? Side::kA : Side::kB, {}};
  for (std::size_t k = 0; k < kLayout.columns; ++k) {
    if (k == kFlags) {
      placed.row.push_back(TranslateCell(*flags));
      continue;
    }
    Result<std::string> text = record.Text(texts::kPdoAttributes[k]);
    if (!text)
      return text.failure();
    placed.row.push_back(std::move(text.value()));
  }
  static const std::vector<std::string> kKnown = FieldAttributes(PdoFields());
  placed.kept = record.Others(kKnown);
  return placed;
}

Result<PlacedRow> FromSheet(const WorkbookSheet& sheet, const SheetRecord& record) {
  const Result<std::int32_t> flags =
      SheetNumber(sheet, record, kFlags, texts::kPdoAttributes[kFlags]);
  if (!flags)
    return flags.failure();
  // In sheets and CSV files a set side bit means CAN B.
  PlacedRow placed{(*flags & kSideBit) != 0 ? Side::kB : Side::kA, record.fields};
  placed.row[kFlags] = TranslateCell(*flags);
  return placed;
}

const char* Page(Side side) {
  return side == Side::kA ? texts::kPdoPageA : texts::kPdoPageB;
}

// The rows that OK writes: those above the first empty cobid. Any filled row from there
// down is refused, since the table ends at that cobid and the row would be lost.
Result<std::size_t> EntryCount(Side side, const GridRows& rows) {
  std::size_t count = 0;
  while (count < rows.size() && !CellText(rows[count], kCobid).empty())
    ++count;
  for (std::size_t r = count; r < rows.size(); ++r) {
    if (RowHoldsNothing(PdoFields(), rows[r]))
      continue;
    if (r == count)
      return Failure{FormatText(texts::kCobidEmpty, {std::to_string(r), Page(side)})};
    return Failure{
        FormatText(texts::kCobidGap, {std::to_string(r), Page(side), std::to_string(count)})};
  }
  return count;
}

std::string FileFlags(Side side, const std::string& cell) {
  const int translate = cell == "1" ? kTranslateBit : 0;
  return std::to_string((side == Side::kA ? kSideBit : 0) + translate);
}

std::string ExchangeFlags(Side side, const std::string& cell) {
  return std::string(side == Side::kA ? "0" : "1") + (cell == "1" ? "1" : "0");
}

}  // namespace

Result<std::vector<std::size_t>> PdoWriteOrder(Side side, const GridRows& rows) {
  const Result<std::size_t> count = EntryCount(side, rows);
  if (!count)
    return count.failure();
  return KeyOrder(*count, 1, [&](std::size_t r, std::size_t) {
    return std::string_view(CellText(rows[r], kCobid));
  });
}

SideGrids EmptyPdoGrids() {
  return {EmptyGrid(kLayout.rows, kLayout.columns), EmptyGrid(kLayout.rows, kLayout.columns)};
}

GridLoad LoadPdoTable(const std::filesystem::path& file, TableReading reading) {
  return LoadGridTable(file, kLayout, FromFile, texts::kFileNotFound, reading);
}

Result<std::string> PdoTableText(const SideGrids& grids) {
  TableFileWriter writer(texts::kPdoTable,
                         {std::begin(texts::kPdoAttributes), std::end(texts::kPdoAttributes)},
                         grids.a.size() + grids.b.size());
  for (const Side side : kBothSides) {
    const GridRows& rows = grids.of(side);
    const Result<std::vector<std::size_t>> order = PdoWriteOrder(side, rows);
    if (!order)
      return order.failure();
    for (const std::size_t r : *order) {
      const GridRow& row = rows[r];
      writer.Add({CellText(row, 0), CellText(row, 1), FileFlags(side, CellText(row, kFlags)),
                  CellText(row, 3), CellText(row, 4)},
                 grids.Kept(side, r));
    }
  }
  return writer.Finish();
}

Status SavePdoTable(const std::filesystem::path& file, const SideGrids& grids) {
  const Result<std::string> text = PdoTableText(grids);
  if (!text)
    return text.failure();
  return WriteXmlFileKeepingEncoding(file, *text);
}

Result<GridImport> ImportPdoSheet(const WorkbookSheet& sheet) {
  const std::vector<std::string> attributes = {std::begin(texts::kPdoAttributes),
                                               std::end(texts::kPdoAttributes)};
  return ImportGridSheet(sheet, kLayout,
                         GridCsvShape(attributes, attributes, kFlags, ExchangeFlags), FromSheet);
}

Result<GridImport> ImportPdoWorkbook(const std::filesystem::path& workbook) {
  const Result<WorkbookSheet> sheet = ReadTableSheet(workbook, texts::kPdoTable);
  if (!sheet)
    return sheet.failure();
  return ImportPdoSheet(*sheet);
}

std::string PdoCsvText(const SideGrids& grids) {
  return GridCsvText({std::begin(texts::kPdoAttributes), std::end(texts::kPdoAttributes)}, grids,
                     kLayout.rows, kFlags, ExchangeFlags);
}

Status ExportPdoCsv(const std::filesystem::path& project_dir, const SideGrids& grids) {
  return WriteCsvFile(project_dir, texts::kPdoTable, PdoCsvText(grids));
}

}  // namespace quastor
