#include "canopen/EmcyRulesFiles.h"

#include <cstdint>
#include <iterator>
#include <utility>

#include "canopen/CanopenTexts.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
#include "canopen/KeyOrder.h"
#include "canopen/TableFile.h"
#include "platform/CsvText.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = emcy_texts;
namespace canopen = canopen_texts;

const std::vector<std::string>& Attributes() {
  static const std::vector<std::string> attributes(std::begin(texts::kRuleAttributes),
                                                   std::end(texts::kRuleAttributes));
  return attributes;
}

void Place(EmcyModel& model, TClEmcy rule, std::int32_t bypass_set) {
  const BypassSet packed = UnpackBypassSet(bypass_set);
  rule.enable = packed.enable;
  rule.alias_pos = packed.alias_pos;
  model.page(packed.side).rules.push_back(std::move(rule));
}

// A record is placed only after all twelve attributes have been read.
Status ReadRule(EmcyModel& model, const TableRecord& record) {
  TClEmcy rule;
  for (int k = 0; k < texts::kRuleTextCount; ++k) {
    Result<std::string> text = record.Text(texts::kRuleAttributes[k]);
    if (!text)
      return text.failure();
    rule.*kRuleTexts[k] = text->empty() ? "0" : std::move(text.value());
  }
  const Result<std::int32_t> bypass_set =
      record.Number(texts::kRuleAttributes[texts::kBypassSetField]);
  if (!bypass_set)
    return bypass_set.failure();
  rule.kept = record.Others(Attributes());
  Place(model, std::move(rule), *bypass_set);
  return Status::Ok();
}

// The twelve values of a rule in file order.
template <class Emit>
void RuleValues(const TClEmcy& r, Side side, Emit emit) {
  const std::string bypass_set = std::to_string(PackBypassSet(r, side));
  emit({r.id_dev, r.mask_eq_ec, r.mask_eq_er, r.mask_eq_m1, r.mask_eq_m2, r.mask_eq_m3,
        r.enmask_eq_ec, r.enmask_eq_er, r.enmask_eq_m1, r.enmask_eq_m2, r.enmask_eq_m3,
        bypass_set});
}

}  // namespace

EmcyRulesLoad LoadEmcyRules(const std::filesystem::path& file, TableReading reading) {
  EmcyRulesLoad load;
  TableFileRead read = ReadTableFile(
      file, [&](const TableRecord& record) { return ReadRule(load.model, record); }, reading);
  load.found = read.found;
  load.report = std::move(read.report);
  if (!read.found)
    load.messages.push_back({false, canopen::kFileNotFound});
  if (!read.complete) {
    load.messages.push_back({false, canopen::kErrorReading});
    TellGaps(load.messages, load.report);
    return load;
  }
  ChooseFirstRules(load.model);
  return load;
}

Result<std::string> EmcyRulesFileText(const EmcyModel& model) {
  TableFileWriter writer(canopen::kEmcyTable, Attributes(),
                         model.pageA.rules.size() + model.pageB.rules.size());
  for (const Side side : kBothSides) {
    const std::vector<TClEmcy>& rules = model.page(side).rules;
    const Result<std::vector<std::size_t>> order =
        KeyOrder(rules.size(), 1,
                 [&](std::size_t r, std::size_t) { return std::string_view(rules[r].id_dev); });
    if (!order)
      return order.failure();
    for (const std::size_t r : *order)
      RuleValues(rules[r], side, [&](std::initializer_list<std::string_view> values) {
        writer.Add(values, rules[r].kept);
      });
  }
  return writer.Finish();
}

Status SaveEmcyRules(const std::filesystem::path& file, const EmcyModel& model) {
  const Result<std::string> text = EmcyRulesFileText(model);
  if (!text)
    return text.failure();
  return WriteXmlFileKeepingEncoding(file, *text);
}

Result<EmcyModel> ImportEmcyRulesSheet(const WorkbookSheet& sheet) {
  const Result<std::vector<SheetRecord>> records =
      SheetRecords(sheet, {{std::begin(texts::kRuleAttributes), std::end(texts::kRuleAttributes)},
                           texts::kBypassSetField,
                           {},
                           {}});
  if (!records)
    return records.failure();
  EmcyModel model;
  for (const SheetRecord& record : *records) {
    const Result<std::int32_t> bypass_set = SheetNumber(
        sheet, record, texts::kBypassSetField, texts::kRuleAttributes[texts::kBypassSetField]);
    if (!bypass_set)
      return bypass_set.failure();
    TClEmcy rule;
    for (int k = 0; k < texts::kRuleTextCount; ++k)
      rule.*kRuleTexts[k] = record.fields[k];
    Place(model, std::move(rule), *bypass_set);
  }
  ChooseFirstRules(model);
  return model;
}

Result<EmcyModel> ImportEmcyRulesWorkbook(const std::filesystem::path& workbook) {
  const Result<WorkbookSheet> sheet = ReadTableSheet(workbook, canopen::kEmcyTable);
  if (!sheet)
    return sheet.failure();
  return ImportEmcyRulesSheet(*sheet);
}

std::string EmcyRulesCsvText(const EmcyModel& model) {
  std::string text;
  for (const Side side : kBothSides) {
    for (const TClEmcy& rule : model.page(side).rules) {
      RuleValues(rule, side, [&](std::initializer_list<std::string_view> values) {
        for (const std::string_view value : values)
          AppendCsvCell(text, value);
        EndCsvLine(text);
      });
    }
  }
  return text;
}

Status ExportEmcyRulesCsv(const std::filesystem::path& project_dir, const EmcyModel& model) {
  return WriteCsvFile(project_dir, canopen::kEmcyTable, EmcyRulesCsvText(model));
}

}  // namespace quastor
