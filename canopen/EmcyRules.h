#pragma once
// The EMCY translation rules (window TFemcy) as a model: per side the list of rules, which the
// side's list box shows by their ID texts, and the item chosen in it. New, Modify and Delete
// are operations here; the window maps its list boxes, edits, check boxes and radio buttons
// to and from these values and shows the failures.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "canopen/EmcyTexts.h"
#include "canopen/SideGrids.h"
#include "canopen/TableFields.h"
#include "platform/Result.h"

namespace quastor {

// One rule. The texts are kept as typed or read; only id_dev is ever read as a number.
struct TClEmcy {
  std::string id_dev;
  std::string mask_eq_ec;
  std::string mask_eq_er;
  std::string mask_eq_m1;
  std::string mask_eq_m2;
  std::string mask_eq_m3;
  std::string enmask_eq_ec;
  std::string enmask_eq_er;
  std::string enmask_eq_m1;
  std::string enmask_eq_m2;
  std::string enmask_eq_m3;
  bool enable = false;    // translation to the other side
  int alias_pos = 0;      // 0 to 15; where the source node's ID goes in the translated EMCY
  XmlAttributeList kept;  // the record's attributes that the table does not know
};

// The eleven text fields in file order, which is also the order of a page's edit fields.
inline constexpr std::string TClEmcy::*kRuleTexts[emcy_texts::kRuleTextCount] = {
    &TClEmcy::id_dev,       &TClEmcy::mask_eq_ec,   &TClEmcy::mask_eq_er,   &TClEmcy::mask_eq_m1,
    &TClEmcy::mask_eq_m2,   &TClEmcy::mask_eq_m3,   &TClEmcy::enmask_eq_ec, &TClEmcy::enmask_eq_er,
    &TClEmcy::enmask_eq_m1, &TClEmcy::enmask_eq_m2, &TClEmcy::enmask_eq_m3};

// The packed word "bypass_set": bit 0 enable, bits 1 to 4 alias_pos, bit 5 the side (set: CAN
// B); higher bits are ignored when read.
struct BypassSet {
  bool enable = false;
  int alias_pos = 0;
  Side side = Side::kA;
};
std::int32_t PackBypassSet(const TClEmcy& rule, Side side);
BypassSet UnpackBypassSet(std::int32_t value);
// The bits that a rule keeps of bypass_set; OK writes no other.
inline constexpr std::int32_t kBypassSetBits = 0x3F;
// Whether a radio button stands for alias_pos (0 to 8); showing a rule of 9 to 15 checks none.
bool AliasShown(int alias_pos);

// What a page's fields hold: the eleven edits, the check box and the checked radio button.
// Showing a rule gives its alias_pos, which may be 9 to 15; no radio button stands for those,
// and the window then checks none. kAliasKept: no button is checked, so New and Modify take
// the alias_pos of the selected rule (0 without one) instead of one the user never saw.
inline constexpr int kAliasKept = -1;
struct RuleFields {
  std::array<std::string, emcy_texts::kRuleTextCount> texts;
  bool enable = false;
  int alias_pos = 0;
};

struct EmcyPage {
  std::vector<TClEmcy> rules;           // item i of the list box shows rules[i].id_dev
  std::optional<std::size_t> selected;  // the list box's selected item
};

struct EmcyModel {
  EmcyPage pageA;  // "From CAN A"
  EmcyPage pageB;  // "From CAN B"
  EmcyPage& page(Side side) { return side == Side::kA ? pageA : pageB; }
  const EmcyPage& page(Side side) const { return side == Side::kA ? pageA : pageB; }
};

// The list box's items: the rules' ID texts.
std::vector<std::string> RuleLabels(const EmcyPage& page);

// The fields that show a rule.
RuleFields FieldsOf(const TClEmcy& rule);

// Selects item index and gives what the fields show; nothing for an index past the list.
std::optional<RuleFields> ChooseRule(EmcyPage& page, std::size_t index);

// Selects item 0 of each side that has rules, as loading and importing leave the pages.
void ChooseFirstRules(EmcyModel& model);

// The ID check of New (modified empty) and Modify (modified: the selected item). A
// modification that keeps the selected item's text passes at once; otherwise an empty ID or
// one equal, as text, to an item of the side is refused with "Index Not Valid".
Status CheckId(const EmcyPage& page, const std::string& id, std::optional<std::size_t> modified);

// The first field that EmcyRuleFields refuses, as New and Modify take the fields (an empty
// field stands for "0"; an empty ID is the ID check's).
std::optional<FieldFault> RuleFieldsFault(const RuleFields& fields);

// New EMCY: after the ID check appends the rule built from the fields (an empty text stored as
// "0") and selects it.
Status NewRule(EmcyPage& page, const RuleFields& fields);

// Modify EMCY: nothing without a selected item; after the ID check overwrites the selected rule
// as New builds it. The rule keeps its place and the attributes its record kept.
Status ModifyRule(EmcyPage& page, const RuleFields& fields);

// Delete EMCY: nothing without a selected item; removes it, and no item is selected afterwards.
void DeleteRule(EmcyPage& page);

}  // namespace quastor
