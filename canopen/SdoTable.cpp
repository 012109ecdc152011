#include "canopen/SdoTable.h"

#include <cstdint>
#include <iterator>
#include <vector>

#include "canopen/CanopenTexts.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
#include "canopen/TableFields.h"
#include "canopen/TableFile.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;

constexpr int kSideBit = 1;
constexpr int kRwBit = 16;
static_assert(kSdoConfBits == (kSideBit | kRwBit));

const GridLayout kLayout{texts::kSdoRowCount, texts::kSdoColumnCount, texts::kSdoPageA,
                         texts::kSdoPageB};

Side SideOf(std::int32_t conf) {
  return (conf & kSideBit) != 0 ? Side::kB : Side::kA;
}

const char* RwCell(std::int32_t conf) {
  return (conf & kRwBit) != 0 ? "1" : "0";
}

// The "conf" code of a row: the side bit, plus 16 when the RW cell is exactly "1".
std::string ConfCode(Side side, const std::string& rw_cell) {
  return std::to_string((side == Side::kB ? kSideBit : 0) + (rw_cell == "1" ? kRwBit : 0));
}

Result<PlacedRow> FromFile(const TableRecord& record) {
  const Result<std::int32_t> conf = record.Number(texts::kSdoAttributes[0]);
  if (!conf)
    return conf.failure();
  PlacedRow placed{SideOf(*conf), {RwCell(*conf)}};
  // Columns 2 to 7 are required; a missing "mnemonico" leaves column 8 empty.
  for (int k = 1; k < texts::kSdoColumnCount - 1; ++k) {
    Result<std::string> text = record.Text(texts::kSdoAttributes[k]);
    if (!text)
      return text.failure();
    placed.row.push_back(std::move(text.value()));
  }
  placed.row.push_back(record.OptionalText(texts::kSdoAttributes[7]).value_or(""));
  static const std::vector<std::string> kKnown = FieldAttributes(SdoFields());
  placed.kept = record.Others(kKnown);
  return placed;
}

Result<PlacedRow> FromSheet(const WorkbookSheet& sheet, const SheetRecord& record) {
  const Result<std::int32_t> conf = SheetNumber(sheet, record, 0, texts::kSdoAttributes[0]);
  if (!conf)
    return conf.failure();
  PlacedRow placed{SideOf(*conf), record.fields};
  placed.row[0] = RwCell(*conf);
  return placed;
}

std::vector<std::string> HeaderTexts() {
  return {std::begin(texts::kSdoHeaderTexts), std::end(texts::kSdoHeaderTexts)};
}

}  // namespace

SideGrids EmptySdoGrids() {
  return {EmptyGrid(kLayout.rows, kLayout.columns), EmptyGrid(kLayout.rows, kLayout.columns)};
}

GridLoad LoadSdoTable(const std::filesystem::path& file, TableReading reading) {
  return LoadGridTable(file, kLayout, FromFile, nullptr, reading);
}

std::string SdoTableText(const SideGrids& grids) {
  TableFileWriter writer(texts::kSdoTable,
                         {std::begin(texts::kSdoAttributes), std::end(texts::kSdoAttributes)});
  for (const Side side : kBothSides) {
    const GridRows& rows = grids.of(side);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const GridRow& row = rows[r];
      if (RowHoldsNothing(SdoFields(), row))
        continue;
      writer.Add(
          {ConfCode(side, CellText(row, 0)), CellText(row, 1), CellText(row, 2), CellText(row, 3),
           CellText(row, 4), CellText(row, 5), CellText(row, 6), CellText(row, 7)},
          grids.Kept(side, r));
    }
  }
  return writer.Finish();
}

Status SaveSdoTable(const std::filesystem::path& file, const SideGrids& grids) {
  return WriteXmlFileKeepingEncoding(file, SdoTableText(grids));
}

Result<GridImport> ImportSdoSheet(const WorkbookSheet& sheet) {
  return ImportGridSheet(
      sheet, kLayout,
      GridCsvShape({std::begin(texts::kSdoAttributes), std::end(texts::kSdoAttributes)},
                   HeaderTexts(), 0, ConfCode),
      FromSheet);
}

Result<GridImport> ImportSdoWorkbook(const std::filesystem::path& workbook) {
  const Result<WorkbookSheet> sheet = ReadTableSheet(workbook, texts::kSdoTable);
  if (!sheet)
    return sheet.failure();
  return ImportSdoSheet(*sheet);
}

std::string SdoCsvText(const SideGrids& grids) {
  return GridCsvText(HeaderTexts(), grids, kLayout.rows, 0, ConfCode);
}

Status ExportSdoCsv(const std::filesystem::path& project_dir, const SideGrids& grids) {
  return WriteCsvFile(project_dir, texts::kSdoTable, SdoCsvText(grids));
}

}  // namespace quastor
