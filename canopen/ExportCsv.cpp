#include "canopen/ExportCsv.h"

#include "platform/CsvText.h"
#include "platform/FileWriting.h"
#include "platform/TextCodec.h"

namespace quastor {

std::string GridCsvText(const std::vector<std::string>& header_texts, const SideGrids& grids,
                        std::size_t row_count, std::size_t flags_column, const FlagsCode& code) {
  std::string text;
  auto line = [&](Side side, const GridRow& row) {
    for (std::size_t column = 0; column < header_texts.size(); ++column) {
      const std::string& cell = CellText(row, column);
      AppendCsvCell(text, column == flags_column ? code(side, cell) : cell);
    }
    EndCsvLine(text);
  };
  const GridRow empty_row;
  for (const Side side : kBothSides) {
    line(side, header_texts);
    const GridRows& rows = grids.of(side);
    for (std::size_t r = 0; r < row_count; ++r)
      line(side, r < rows.size() ? rows[r] : empty_row);
  }
  return text;
}

SheetShape GridCsvShape(std::vector<std::string> field_names,
                        const std::vector<std::string>& header_texts, std::size_t flags_column,
                        const FlagsCode& code) {
  SheetShape shape{std::move(field_names), flags_column, header_texts, {}};
  for (const Side side : kBothSides)
    shape.emptyRowCodes.push_back(code(side, std::string()));
  return shape;
}

std::filesystem::path CsvPath(const std::filesystem::path& project_dir,
                              const std::string& table_name) {
  return project_dir / (table_name + ".csv");
}

Status WriteCsvFile(const std::filesystem::path& project_dir, const std::string& table_name,
                    const std::string& text) {
  return WriteFileOrCannotCreate(CsvPath(project_dir, table_name),
                                 EncodeText(text, TextEncoding::kLocal));
}

}  // namespace quastor
