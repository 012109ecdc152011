#include "canopen/EmcyRules.h"

namespace quastor {
namespace {

namespace texts = emcy_texts;

constexpr std::int32_t kEnableBit = 1;
constexpr std::int32_t kSideBit = 32;
constexpr int kAliasMask = 15;
static_assert(kBypassSetBits == (kEnableBit | kAliasMask << 1 | kSideBit));

// The rule the fields build; with kAliasKept the selected rule's alias_pos stays.
TClEmcy RuleOf(const EmcyPage& page, const RuleFields& fields) {
  TClEmcy rule;
  for (int k = 0; k < texts::kRuleTextCount; ++k) {
    const std::string& text = fields.texts[k];
    rule.*kRuleTexts[k] = text.empty() ? "0" : text;
  }
  rule.enable = fields.enable;
  if (fields.alias_pos != kAliasKept)
    rule.alias_pos = fields.alias_pos & kAliasMask;
  else if (page.selected && *page.selected < page.rules.size())
    rule.alias_pos = page.rules[*page.selected].alias_pos;
  return rule;
}

}  // namespace

std::int32_t PackBypassSet(const TClEmcy& rule, Side side) {
  return (rule.alias_pos & kAliasMask) * 2 + (rule.enable ? kEnableBit : 0) +
         (side == Side::kB ? kSideBit : 0);
}

BypassSet UnpackBypassSet(std::int32_t value) {
  return BypassSet{(value & kEnableBit) != 0, (value >> 1) & kAliasMask,
                   (value & kSideBit) != 0 ? Side::kB : Side::kA};
}

bool AliasShown(int alias_pos) {
  return alias_pos >= 0 && alias_pos < emcy_texts::kAliasCount;
}

std::vector<std::string> RuleLabels(const EmcyPage& page) {
  std::vector<std::string> labels;
  labels.reserve(page.rules.size());
  for (const TClEmcy& rule : page.rules)
    labels.push_back(rule.id_dev);
  return labels;
}

RuleFields FieldsOf(const TClEmcy& rule) {
  RuleFields fields;
  for (int k = 0; k < texts::kRuleTextCount; ++k)
    fields.texts[k] = rule.*kRuleTexts[k];
  fields.enable = rule.enable;
  fields.alias_pos = rule.alias_pos;
  return fields;
}

std::optional<RuleFields> ChooseRule(EmcyPage& page, std::size_t index) {
  if (index >= page.rules.size())
    return std::nullopt;
  page.selected = index;
  return FieldsOf(page.rules[index]);
}

void ChooseFirstRules(EmcyModel& model) {
  for (const Side side : kBothSides) {
    EmcyPage& page = model.page(side);
    page.selected.reset();
    if (!page.rules.empty())
      page.selected = 0;
  }
}

Status CheckId(const EmcyPage& page, const std::string& id, std::optional<std::size_t> modified) {
  if (modified && *modified < page.rules.size() && page.rules[*modified].id_dev == id)
    return Status::Ok();
  if (id.empty())
    return Failure{texts::kIndexNotValid};
  for (const TClEmcy& rule : page.rules) {
    if (rule.id_dev == id)
      return Failure{texts::kIndexNotValid};
  }
  return Status::Ok();
}

std::optional<FieldFault> RuleFieldsFault(const RuleFields& fields) {
  std::vector<std::string> values(fields.texts.begin(), fields.texts.end());
  for (std::string& value : values) {
    if (value.empty())
      value = "0";
  }
  if (fields.texts[0].empty())
    values[0] = "1";  // the ID check refuses it
  return FirstFieldFault(EmcyRuleFields(), values);
}

Status NewRule(EmcyPage& page, const RuleFields& fields) {
  if (Status free = CheckId(page, fields.texts[0], std::nullopt); !free)
    return free;
  page.rules.push_back(RuleOf(page, fields));
  page.selected = page.rules.size() - 1;
  return Status::Ok();
}

Status ModifyRule(EmcyPage& page, const RuleFields& fields) {
  if (!page.selected || *page.selected >= page.rules.size())
    return Status::Ok();
  if (Status free = CheckId(page, fields.texts[0], page.selected); !free)
    return free;
  TClEmcy& rule = page.rules[*page.selected];
  XmlAttributeList kept = std::move(rule.kept);
  rule = RuleOf(page, fields);
  rule.kept = std::move(kept);
  return Status::Ok();
}

void DeleteRule(EmcyPage& page) {
  if (!page.selected || *page.selected >= page.rules.size())
    return;
  page.rules.erase(page.rules.begin() + static_cast<std::ptrdiff_t>(*page.selected));
  page.selected.reset();
}

}  // namespace quastor
