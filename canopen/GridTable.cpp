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
  load.report = std::move(read.report);
  if (!read.found && missing_message != nullptr)
    load.messages.push_back({false, missing_message});
  if (!read.complete)
    load.messages.push_back({false, texts::kErrorReading});
  const std::size_t reading_gaps = load.report.gaps.size();
  NoteNotShown(load.report, filler, SourceName(file), layout.pageA, layout.pageB);
  TellGaps(load.messages, load.report, reading_gaps);
  load.model = filler.TakeGrids();
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
  import.found = true;
  NoteNotShown(import.report, filler, SheetSource(sheet.name), layout.pageA, layout.pageB);
  import.model = filler.TakeGrids();
  return import;
}

}  // namespace quastor
