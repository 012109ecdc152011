#include "canopen/TableFields.h"

#include <cstdint>
#include <limits>

#include "canopen/CanopenTexts.h"
#include "canopen/EmcyTexts.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;
namespace emcy = emcy_texts;

// What the gateway takes: a CANopen object index and subindex, a node ID, an identifier of
// 32 bits (29-bit identifiers and flag bits included, so every integer), a byte.
constexpr FieldRule kIndex = FieldRule::Integer(0, 0xFFFF, true);
constexpr FieldRule kSubindex = FieldRule::Integer(0, 255);
constexpr FieldRule kNodeId = FieldRule::Integer(1, 127);
constexpr FieldRule kIdentifier = FieldRule::Integer(
    std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(), true);
constexpr FieldRule kByte = FieldRule::Integer(0, 255);
constexpr FieldRule kWord = FieldRule::Integer(0, 65535);
// An expedited SDO transfer carries 1 to 4 data bytes; CANopen numbers 512 transmit PDOs.
constexpr FieldRule kSdoBytes = FieldRule::Integer(1, 4);
constexpr FieldRule kTransmitPdo = FieldRule::Integer(1, 512);
// poscomp keeps 12 bits for "Emcy byte 1" and 4 for "Emcy Byte 2": what lies beyond would
// come back as other numbers.
constexpr FieldRule kEmcyByte1 = FieldRule::Integer(0, 4095);
constexpr FieldRule kEmcyByte2 = FieldRule::Integer(0, 15);

}  // namespace

const TableFields& SdoFields() {
  static const TableFields fields = {
      {texts::kSdoAttributes[0], texts::kSdoColumnTitles[1], FieldRule::Flag()},
      {texts::kSdoAttributes[1], texts::kSdoColumnTitles[2], kIndex},
      {texts::kSdoAttributes[2], texts::kSdoColumnTitles[3], kSubindex},
      {texts::kSdoAttributes[3], texts::kSdoColumnTitles[4], kNodeId},
      {texts::kSdoAttributes[4], texts::kSdoColumnTitles[5], kIndex},
      {texts::kSdoAttributes[5], texts::kSdoColumnTitles[6], kSubindex},
      {texts::kSdoAttributes[6], texts::kSdoColumnTitles[7], kSdoBytes},
      {texts::kSdoAttributes[7], texts::kSdoColumnTitles[8], FieldRule::Text()},
  };
  return fields;
}

// Only the cobid is the entry's key; the other cells may stay empty until the PDO is set up.
const TableFields& PdoFields() {
  static const TableFields fields = {
      {texts::kPdoAttributes[0], texts::kPdoColumnTitles[1], kIdentifier},
      {texts::kPdoAttributes[1], texts::kPdoColumnTitles[2], kNodeId.OrEmpty()},
      {texts::kPdoAttributes[2], texts::kPdoColumnTitles[3], FieldRule::Flag()},
      {texts::kPdoAttributes[3], texts::kPdoColumnTitles[4], kByte.OrEmpty()},
      {texts::kPdoAttributes[4], texts::kPdoColumnTitles[5], kTransmitPdo.OrEmpty()},
  };
  return fields;
}

const TableFields& StoredPdoFields(Side side) {
  static const TableFields fields[2] = {
      {{texts::kStoredPdoAttributes[0], texts::kIndexLabelA, kIndex},
       {texts::kStoredPdoAttributes[1], texts::kSubindexLabelA, kSubindex}},
      {{texts::kStoredPdoAttributes[0], texts::kIndexLabelB, kIndex},
       {texts::kStoredPdoAttributes[1], texts::kSubindexLabelB, kSubindex}}};
  return fields[static_cast<int>(side)];
}

const TableFields& EmcyRuleFields() {
  static const TableFields fields = [] {
    // The ranges the labels show: the error code and the 16-bit manufacturer parts are words,
    // the error register and Manu3 bytes, the ID a node ID.
    const FieldRule rules[emcy::kRuleTextCount] = {kNodeId, kWord, kByte, kWord, kWord, kByte,
                                                   kWord,   kByte, kWord, kWord, kByte};
    TableFields list;
    for (int k = 0; k < emcy::kRuleTextCount; ++k)
      list.push_back({emcy::kRuleAttributes[k], emcy::kRuleLabels[k], rules[k]});
    return list;
  }();
  return fields;
}

const TableFields& EmcyWordFields(Side side) {
  static const TableFields fields[2] = {
      {{emcy::kIndexAttribute, emcy::kWordLabelsA[0], kIndex},
       {emcy::kSubindexAttribute, emcy::kWordLabelsA[1], kSubindex},
       {emcy::kDevidAttribute, emcy::kWordLabelsA[2], kNodeId}},
      {{emcy::kIndexAttribute, emcy::kWordLabelsB[0], kIndex},
       {emcy::kSubindexAttribute, emcy::kWordLabelsB[1], kSubindex},
       {emcy::kDevidAttribute, emcy::kWordLabelsB[2], kNodeId}}};
  return fields[static_cast<int>(side)];
}

const TableFields& EmcyBitFields(Side side) {
  // A bit not yet defined holds empty mask bytes.
  static const TableFields fields[2] = {
      {{emcy::kBitSuffixes[0], emcy::kMaskByte1, FieldRule(kByte).OrEmpty()},
       {emcy::kBitSuffixes[1], emcy::kMaskByte2A, FieldRule(kByte).OrEmpty()},
       {emcy::kBitSuffixes[2], emcy::kEmcyByte1, kEmcyByte1},
       {emcy::kBitSuffixes[2], emcy::kEmcyByte2, kEmcyByte2}},
      {{emcy::kBitSuffixes[0], emcy::kMaskByte1, FieldRule(kByte).OrEmpty()},
       {emcy::kBitSuffixes[1], emcy::kMaskByte2B, FieldRule(kByte).OrEmpty()},
       {emcy::kBitSuffixes[2], emcy::kEmcyByte1, kEmcyByte1},
       {emcy::kBitSuffixes[2], emcy::kEmcyByte2, kEmcyByte2}}};
  return fields[static_cast<int>(side)];
}

std::vector<std::string> FieldAttributes(const TableFields& fields) {
  std::vector<std::string> names;
  for (const TableField& field : fields)
    names.push_back(field.attribute);
  return names;
}

bool RowHoldsNothing(const TableFields& fields, const GridRow& row) {
  for (std::size_t c = 0; c < fields.size(); ++c) {
    if (!FieldHoldsNothing(fields[c].rule, CellText(row, c)))
      return false;
  }
  return true;
}

std::vector<CellProblem> GridProblems(const TableFields& fields, const SideGrids& grids) {
  std::vector<CellProblem> problems;
  for (const Side side : kBothSides) {
    const GridRows& rows = grids.of(side);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (RowHoldsNothing(fields, rows[r]))
        continue;
      for (std::size_t c = 0; c < fields.size(); ++c) {
        if (std::optional<std::string> reason = FieldProblem(fields[c].rule, CellText(rows[r], c)))
          problems.push_back({side, r, c, std::move(*reason)});
      }
    }
  }
  return problems;
}

std::string CellProblemMessage(const TableFields& fields, const CellProblem& problem,
                               const char* page) {
  return FormatText(texts::kCellRefused, {std::to_string(problem.row), page,
                                          fields[problem.column].title, problem.reason});
}

std::optional<FieldFault> FirstFieldFault(const TableFields& fields,
                                          const std::vector<std::string>& values) {
  for (std::size_t f = 0; f < fields.size() && f < values.size(); ++f) {
    if (std::optional<std::string> reason = FieldProblem(fields[f].rule, values[f]))
      return FieldFault{f, std::move(*reason)};
  }
  return std::nullopt;
}

std::string FieldRefusedMessage(const TableFields& fields, const FieldFault& fault) {
  return FormatText(texts::kFieldRefused, {fields[fault.field].title, fault.reason});
}

}  // namespace quastor
