#pragma once
// Inside the workbook adapter: the receiving side of liborcus' .xlsx and .ods filters. The
// filters push sheets, shared strings and cells into an import factory; this one keeps the
// names of all sheets and the cells of the one sheet asked for, and discards everything else
// (styles, views, tables). It also resolves the cell and range addresses the filters meet.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <orcus/spreadsheet/import_interface.hpp>

#include "platform/WorkbookCells.h"
#include "platform/WorkbookOrcusStyles.h"

namespace quastor::workbook {

namespace iface = orcus::spreadsheet::iface;
using orcus::spreadsheet::col_t;
using orcus::spreadsheet::row_t;

// Strings of the workbook in the order of their ids.
class OrcusStrings final : public iface::import_shared_strings {
 public:
  // For each id, whether the workbook's string is empty (see platform/WorkbookXlsxStrings.h):
  // such a string is kept as "" whatever text the filter hands over for it.
  void SetEmpty(std::vector<bool> empty) { empty_ = std::move(empty); }

  std::size_t append(std::string_view s) override;
  std::size_t add(std::string_view s) override { return append(s); }
  void set_segment_font(std::size_t) override {}
  void set_segment_bold(bool) override {}
  void set_segment_italic(bool) override {}
  void set_segment_font_name(std::string_view) override {}
  void set_segment_font_size(double) override {}
  void set_segment_font_color(orcus::spreadsheet::color_elem_t, orcus::spreadsheet::color_elem_t,
                              orcus::spreadsheet::color_elem_t,
                              orcus::spreadsheet::color_elem_t) override {}
  void append_segment(std::string_view s) override { segments_.append(s); }
  std::size_t commit_segments() override;

  // The string of id, or nothing for an id the workbook did not define.
  const std::string* Find(std::size_t id) const;
  std::size_t size() const { return strings_.size(); }

 private:
  std::size_t Store(std::string text);

  std::vector<std::string> strings_;
  std::string segments_;
  std::vector<bool> empty_;
};

class OrcusSheet;

// A formula cell: its cached result becomes the cell's value on commit.
class OrcusFormula final : public iface::import_formula {
 public:
  explicit OrcusFormula(OrcusSheet& sheet) : sheet_(sheet) {}
  void set_position(row_t row, col_t col) override;
  void set_formula(orcus::spreadsheet::formula_grammar_t, std::string_view) override {}
  void set_shared_formula_index(std::size_t) override {}
  void set_result_string(std::string_view value) override { result_ = std::string(value); }
  void set_result_value(double value) override { result_ = value; }
  void set_result_bool(bool value) override { result_ = value; }
  void set_result_empty() override { result_ = std::monostate{}; }
  void commit() override;

 private:
  OrcusSheet& sheet_;
  row_t row_ = -1;
  col_t col_ = -1;
  CellValue result_;
};

// One sheet: keeps its cells when it is the sheet asked for, else discards them.
class OrcusSheet final : public iface::import_sheet {
 public:
  OrcusSheet(const OrcusStrings& strings, bool keep)
      : strings_(strings), keep_(keep), formula_(*this) {}

  iface::import_formula* get_formula() override { return &formula_; }
  void set_auto(row_t row, col_t col, std::string_view s) override;
  void set_string(row_t row, col_t col, orcus::spreadsheet::string_id_t id) override;
  void set_value(row_t row, col_t col, double value) override { Put(row, col, value); }
  void set_bool(row_t row, col_t col, bool value) override { Put(row, col, value); }
  void set_date_time(row_t row, col_t col, int year, int month, int day, int hour, int minute,
                     double second) override;
  void set_format(row_t, col_t, std::size_t) override {}
  void set_format(row_t, col_t, row_t, col_t, std::size_t) override {}
  void fill_down_cells(row_t row, col_t col, row_t count) override;
  orcus::spreadsheet::range_size_t get_sheet_size() const override;

  // Stores a cell's value (ignored when the sheet is not kept or the place is negative).
  void Put(row_t row, col_t col, CellValue value);
  // The sheet, once the strings that cells refer to are all known.
  Result<WorkbookSheet> Finish(std::string name);

 private:
  struct PendingString {
    row_t row;
    col_t col;
    std::size_t id;
  };
  const OrcusStrings& strings_;
  bool keep_;
  OrcusFormula formula_;
  SheetBuilder builder_;
  std::vector<PendingString> pending_;  // string cells met before their string
};

// Addresses as both filters write them: "B3", "$B$3", "Sheet1!B3", "[.B3]", "'a b'.B3", and
// ranges of two such ("A1:C7", "[.A1:.C7]"), whole columns ("A:C") or rows ("1:3").
class OrcusResolver final : public iface::import_reference_resolver {
 public:
  orcus::spreadsheet::src_address_t resolve_address(std::string_view address) override;
  orcus::spreadsheet::src_range_t resolve_range(std::string_view range) override;
};

class OrcusSettings final : public iface::import_global_settings {
 public:
  void set_origin_date(int, int, int) override {}
  void set_default_formula_grammar(orcus::spreadsheet::formula_grammar_t grammar) override {
    grammar_ = grammar;
  }
  orcus::spreadsheet::formula_grammar_t get_default_formula_grammar() const override {
    return grammar_;
  }
  void set_character_set(orcus::character_set_t) override {}

 private:
  orcus::spreadsheet::formula_grammar_t grammar_ = orcus::spreadsheet::formula_grammar_t::unknown;
};

// The factory: every sheet's name, and the cells of the first sheet whose name equals wanted
// (no sheet's cells when nothing is wanted).
class OrcusFactory final : public iface::import_factory {
 public:
  explicit OrcusFactory(std::optional<std::string> wanted);
  OrcusStrings& Strings() { return strings_; }

  iface::import_global_settings* get_global_settings() override { return &settings_; }
  iface::import_shared_strings* get_shared_strings() override { return &strings_; }
  iface::import_styles* get_styles() override { return &styles_; }
  iface::import_reference_resolver* get_reference_resolver(
      orcus::spreadsheet::formula_ref_context_t) override {
    return &resolver_;
  }
  iface::import_sheet* append_sheet(orcus::spreadsheet::sheet_t index,
                                    std::string_view name) override;
  iface::import_sheet* get_sheet(std::string_view name) override;
  iface::import_sheet* get_sheet(orcus::spreadsheet::sheet_t index) override;
  void finalize() override {}

  const std::vector<std::string>& Names() const { return names_; }
  // The wanted sheet after the import, or nothing when the workbook has none of that name.
  std::optional<Result<WorkbookSheet>> FinishWanted();

 private:
  iface::import_sheet* SheetAt(std::size_t index);

  std::optional<std::string> wanted_;
  std::vector<std::string> names_;
  std::size_t wantedIndex_ = 0;
  std::unique_ptr<OrcusSheet> kept_;
  OrcusStrings strings_;
  OrcusSheet discarded_{strings_, false};
  OrcusResolver resolver_;
  OrcusSettings settings_;
  OrcusStyles styles_;
};

}  // namespace quastor::workbook
