// The EMCY translation rules: the packed bypass_set, loading emcydef.xml, the ID check with New,
// Modify and Delete, OK's key order, the import and the export.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canopen/EmcyRulesFiles.h"
#include "tests/canopen/CanopenTestSupport.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

using Texts = std::vector<std::string>;

// A row as OK writes it: the ID, ten masks and bypass_set.
std::string Rule(const std::string& id, const std::string& bypass_set, const char* mask = "0") {
  std::string row = "<row id_dev=\"" + id + "\"";
  for (const char* name :
       {"mask_eq_ec", "mask_eq_er", "mask_eq_m1", "mask_eq_m2", "mask_eq_m3", "enmask_eq_ec",
        "enmask_eq_er", "enmask_eq_m1", "enmask_eq_m2", "enmask_eq_m3"})
    row += std::string(" ") + name + "=\"" + mask + "\"";
  return row + " bypass_set=\"" + bypass_set + "\"/>";
}

std::string File(const std::string& rows) {
  return "<emcydef>" + rows + "</emcydef>";
}

RuleFields Fields(const char* id, const char* mask = "", bool enable = false, int alias = 0) {
  RuleFields fields;
  fields.texts.fill(mask);
  fields.texts[0] = id;
  fields.enable = enable;
  fields.alias_pos = alias;
  return fields;
}

class EmcyRules : public ::testing::Test {
 protected:
  std::filesystem::path file() const { return dir_ / "emcydef.xml"; }
  EmcyRulesLoad Load(const std::string& text) {
    WriteBytes(file(), text);
    return LoadEmcyRules(file());
  }
  TempDir dir_;
};

TEST(EmcyBypassSet, UnpacksAndPacks) {
  const struct {
    std::int32_t value;
    Side side;
    bool enable;
    int alias_pos;
  } cases[] = {
      {45, Side::kB, true, 6},   {0, Side::kA, false, 0},  {64, Side::kA, false, 0},
      {26, Side::kA, false, 13}, {31, Side::kA, true, 15}, {-1, Side::kB, true, 15},
  };
  for (const auto& c : cases) {
    const BypassSet unpacked = UnpackBypassSet(c.value);
    EXPECT_EQ(unpacked.side, c.side) << c.value;
    EXPECT_EQ(unpacked.enable, c.enable) << c.value;
    EXPECT_EQ(unpacked.alias_pos, c.alias_pos) << c.value;
    TClEmcy rule;
    rule.enable = c.enable;
    rule.alias_pos = c.alias_pos;
    EXPECT_EQ(PackBypassSet(rule, c.side), c.value & 63) << c.value;
  }
}

TEST_F(EmcyRules, LoadSortsBySideAndOkWritesEachSideInIdOrder) {
  const EmcyRulesLoad load = Load(File(Rule("7", "0") + Rule("3", "59") + Rule("2", "3", "")));
  EXPECT_TRUE(load.messages.empty());
  EXPECT_EQ(RuleLabels(load.model.pageA), (Texts{"7", "2"}));
  EXPECT_EQ(RuleLabels(load.model.pageB), Texts{"3"});
  EXPECT_EQ(load.model.pageA.selected, 0u) << "item 0 of each side shown";
  EXPECT_EQ(load.model.pageB.selected, 0u);
  EXPECT_EQ(load.model.pageA.rules[1].mask_eq_m3, "0") << "an empty attribute loads as 0";
  EXPECT_EQ(load.model.pageB.rules[0].alias_pos, 13);
  ASSERT_TRUE(SaveEmcyRules(file(), load.model).ok());
  const std::string written = File(Rule("2", "3") + Rule("7", "0") + Rule("3", "59"));
  EXPECT_EQ(ReadBytes(file()), written) << "position 13 written back as 26 + 1 + 32";
  // Round trip: what OK wrote loads and writes back unchanged.
  ASSERT_TRUE(SaveEmcyRules(file(), LoadEmcyRules(file()).model).ok());
  EXPECT_EQ(ReadBytes(file()), written);
}

TEST_F(EmcyRules, OkOrdersIdsAsNumbersAndRefusesOneThatIsNot) {
  const struct {
    const char* fault;
    Texts ids;
    Texts written;  // empty: refused
  } cases[] = {
      {"ids compared as texts", {"10", "2", "0x05"}, {"2", "0x05", "10"}},
      {"equal ids not in list order", {"5", "05", "1"}, {"1", "5", "05"}},
      {"ids past the sentinel lost or looping",
       {"1000000", "999999", "7"},
       {"7", "999999", "1000000"}},
      {"an empty id written", {"1", ""}, {}},
  };
  for (const auto& c : cases) {
    EmcyModel model;
    for (const std::string& id : c.ids)
      ASSERT_TRUE(NewRule(model.pageA, Fields(id == "" ? "x" : id.c_str())).ok());
    for (std::size_t i = 0; i < c.ids.size(); ++i)
      model.pageA.rules[i].id_dev = c.ids[i];
    WriteBytes(file(), "before");
    const Status saved = SaveEmcyRules(file(), model);
    if (c.written.empty()) {
      EXPECT_EQ(saved.error(), "'' is not a valid integer value") << c.fault;
      EXPECT_EQ(ReadBytes(file()), "before") << c.fault;
      continue;
    }
    ASSERT_TRUE(saved.ok()) << c.fault << ": " << saved.error();
    std::string rows;
    for (const std::string& id : c.written)
      rows += Rule(id, "0");
    EXPECT_EQ(ReadBytes(file()), File(rows)) << c.fault;
  }
}

TEST_F(EmcyRules, LoadFailuresKeepTheRulesBeforeAndTellWhatIsMissing) {
  EmcyRulesLoad load = LoadEmcyRules(file());
  EXPECT_EQ(MessageTexts(load.messages), Texts{"File XML not found"});
  EXPECT_TRUE(load.report.Complete());
  const struct {
    const char* fault;
    std::string text;
    Texts messages;
  } cases[] = {
      {"rows after a missing attribute dropped silently",
       File(Rule("1", "0") + "<row id_dev=\"2\"/>" + Rule("3", "32")),
       {"Error in reading file XML",
        "Reading of emcydef.xml stopped at record 2 of 3 (attribute \"mask_eq_ec\" is missing), "
        "so 2 records are not shown."}},
      {"bypass_set not a number",
       File(Rule("1", "0") + Rule("2", "0x")),
       {"Error in reading file XML",
        "Reading of emcydef.xml stopped at record 2 of 2 ('0x' is not a valid integer value), so "
        "1 record is not shown."}},
  };
  for (const auto& c : cases) {
    load = Load(c.text);
    EXPECT_EQ(MessageTexts(load.messages), c.messages) << c.fault;
    EXPECT_FALSE(load.report.Complete()) << c.fault;
    EXPECT_EQ(RuleLabels(load.model.pageA), Texts{"1"}) << c.fault;
    EXPECT_FALSE(load.model.pageA.selected) << c.fault;
  }
}

TEST(EmcyRulePage, IdCheckNewModifyAndDelete) {
  EmcyModel model;
  EmcyPage& a = model.pageA;
  const struct {
    const char* fault;
    Side side;
    RuleFields fields;
    const char* error;  // nullptr: accepted
  } news[] = {
      {"empty masks not stored as 0", Side::kA, Fields("5", "", true, 3), nullptr},
      {"empty id accepted", Side::kA, Fields(""), "Index Not Valid"},
      {"repeated id accepted", Side::kA, Fields("5"), "Index Not Valid"},
      {"5 and 05 taken as one", Side::kA, Fields("05", "7"), nullptr},
      {"the other side's id refused", Side::kB, Fields("5"), nullptr},
  };
  for (const auto& c : news) {
    const Status added = NewRule(model.page(c.side), c.fields);
    EXPECT_EQ(added.ok() ? "" : added.error(), c.error ? c.error : "") << c.fault;
  }
  EXPECT_EQ(RuleLabels(a), (Texts{"5", "05"}));
  EXPECT_EQ(a.rules[0].enmask_eq_m3, "0");
  EXPECT_EQ(PackBypassSet(a.rules[0], Side::kA), 7);
  EXPECT_EQ(a.selected, 1u) << "the new rule is selected";

  // Modify: the selected rule keeping its ID updates without a check; another side's ID, or an
  // ID of the same side, is checked.
  ASSERT_TRUE(ChooseRule(a, 0));
  ASSERT_TRUE(ModifyRule(a, Fields("5", "9")).ok());
  EXPECT_EQ(a.rules[0].mask_eq_ec, "9");
  EXPECT_EQ(ModifyRule(a, Fields("05")).error(), "Index Not Valid");
  EXPECT_EQ(ModifyRule(a, Fields("")).error(), "Index Not Valid");
  ASSERT_TRUE(ModifyRule(a, Fields("6", "1")).ok());
  EXPECT_EQ(RuleLabels(a), (Texts{"6", "05"}));

  DeleteRule(a);
  EXPECT_EQ(RuleLabels(a), Texts{"05"});
  EXPECT_FALSE(a.selected);
  ASSERT_TRUE(ModifyRule(a, Fields("8")).ok()) << "nothing without a selection";
  DeleteRule(a);
  EXPECT_EQ(RuleLabels(a), Texts{"05"});
  EXPECT_FALSE(ChooseRule(a, 1));
  EXPECT_EQ(ChooseRule(a, 0)->texts[1], "7");
}

TEST(EmcyRuleExchange, ImportAndExport) {
  const auto imported = ImportEmcyRulesSheet(
      MakeSheet("EMCYdef", 13,
                {{"5", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "39", "extra"},
                 {"", nullptr, "a,b", "0", "0", "0", "0", "0", "0", "0", "0", "0"},
                 {"9", "1", "1", "1", "1", "1", "1", "1", "1", "1", "1", "45"}}));
  ASSERT_TRUE(imported.ok()) << imported.error();
  const EmcyModel& model = *imported;
  EXPECT_EQ(RuleLabels(model.pageA), Texts{""});
  EXPECT_EQ(RuleLabels(model.pageB), (Texts{"5", "9"}));
  EXPECT_EQ(model.pageA.rules[0].mask_eq_ec, "") << "an empty cell stays empty";
  EXPECT_EQ(model.pageB.selected, 0u);
  EXPECT_EQ(EmcyRulesCsvText(model),
            ",,\"a,b\",0,0,0,0,0,0,0,0,0,\r\n5,0,0,0,0,0,0,0,0,0,0,39,\r\n"
            "9,1,1,1,1,1,1,1,1,1,1,45,\r\n");
  EXPECT_EQ(EmcyRulesCsvText(EmcyModel{}), "");
  EXPECT_EQ(EmcyRulesFileText(model).error(), "'' is not a valid integer value");

  const struct {
    WorkbookSheet sheet;
    const char* error;
  } failures[] = {
      {MakeSheet("emcydef", 12, {{"1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", nullptr}}),
       "Error! Row 2 of sheet \"emcydef\", column L (bypass_set): the cell is empty"},
      {MakeSheet("emcydef", 11, {}),
       "Error! The sheet \"emcydef\" has 11 columns, but the table needs 12."},
  };
  for (const auto& f : failures)
    EXPECT_EQ(ImportEmcyRulesSheet(f.sheet).error(), f.error);
}

TEST(EmcyRuleExchange, WorkbookFixtures) {
  if (!WorkbookSupported())
    GTEST_SKIP() << "this build reads no workbooks";
  for (const char* name : {"canopen/emcy.xls", "canopen/emcy.xlsx"}) {
    const auto imported = ImportEmcyRulesWorkbook(DataFile(name));
    ASSERT_TRUE(imported.ok()) << name << ": " << imported.error();
    EXPECT_EQ(RuleLabels(imported->pageA), (Texts{"7", "0x05"})) << name;
    EXPECT_EQ(RuleLabels(imported->pageB), Texts{"3"}) << name;
    EXPECT_EQ(imported->pageA.rules[1].mask_eq_er, "") << name;
    EXPECT_EQ(imported->pageB.rules[0].alias_pos, 6) << name;
  }
}

}  // namespace
}  // namespace quastor::test
