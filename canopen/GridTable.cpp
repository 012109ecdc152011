#include "canopen/GridTable.h"

#include <utility>

#include "canopen/CanopenTexts.h"

namespace quastor {

namespace texts = canopen_texts;

GridLoad LoadGridTable(const std::filesystem::path& file, const GridLayout& layout,
                       const FileRowStep& step, const char* missing_message, TableReading reading) {
  SideFiller filler(layout.rows, layout.columns);
  GridLoad load;
  TableFileRead read = ReadTableFile(
      file,
      [&](const TableRecord& record) -> Status {
        Result<PlacedRow> placed = step(record);
        if (!placed)
          return placed.failure();
        PlacedRow& row = placed.value();
        if (filler.Place(row.side, std::move(row.row), std::move(row.kept)))
          load.records[static_cast<int>(row.side)].push_back(record.number());
        return Status::Ok();
      },
      reading);
  load.found = read.found;
  load.gaps = std::move(read.gaps);
  if (!read.found && missing_message != nullptr)
    load.messages.push_back(missing_message);
  if (!read.complete)
    load.messages.push_back(texts::kErrorReading);
  const std::size_t reading_details = load.gaps.details.size();
  NoteNotShown(load.gaps, filler, SourceName(file), layout.pageA, layout.pageB);
  load.messages.insert(load.messages.end(), load.gaps.details.begin() + reading_details,
                       load.gaps.details.end());
  load.grids = filler.TakeGrids();
  return load;
}

Result<GridImport> ImportGridSheet(const WorkbookSheet& sheet, const GridLayout& layout,
                                   const SheetShape& shape, const SheetRowStep& step) {
  const Result<std::vector<SheetRecord>> records = SheetRecords(sheet, shape);
  if (!records)
    return records.failure();
  SideFiller filler(layout.rows, layout.columns);
  for (const SheetRecord& record : *records) {
    Result<PlacedRow> placed = step(sheet, record);
    if (!placed)
      return placed.failure();
    filler.Place(placed->side, std::move(placed.value().row));
  }
  GridImport import;
  NoteNotShown(import.gaps, filler, SheetSource(sheet.name), layout.pageA, layout.pageB);
  import.grids = filler.TakeGrids();
  return import;
}

}  // namespace quastor
