// pargen.xml: the text the settings dialog writes, reading in the dialog's order, and the
// values the dialog shows.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gateway/GatewayTexts.h"
#include "gateway/ParGen.h"
#include "tests/gateway/GatewayTestFiles.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

// The reading problem a load tells, if any.
std::optional<std::string> Problem(const ParGenLoad& load) {
  if (load.messages.empty())
    return std::nullopt;
  return load.messages.front().text;
}

TEST(ParGen, DefaultsAreWrittenAsOneLineInTableOrder) {
  TempDir dir;
  ASSERT_TRUE(SaveParGen(dir / "pargen.xml", ParGen{}).ok());
  EXPECT_EQ(ReadBytes(dir / "pargen.xml"), kDefaultParGenText);
}

TEST(ParGen, TextsAreStoredAsTyped) {
  TempDir dir;
  ParGen values;
  values.profiId = " 0x14";
  values.profiNbIn = "$F4";
  values.profiNbOut = "+7";
  values.dnetDevId = "010";
  values.dnetBaud = 0;
  ASSERT_TRUE(SaveParGen(dir / "pargen.xml", values).ok());
  EXPECT_EQ(ReadBytes(dir / "pargen.xml"), ParGenXml({{"PROFI_ID", " 0x14"},
                                                      {"PROFI_BAUD", "10"},
                                                      {"PROFI_NB_IN", "$F4"},
                                                      {"PROFI_NB_OUT", "+7"},
                                                      {"DNET_DEV_ID", "010"},
                                                      {"DNET_BAUD", "0"}}));
  // Read back unchanged, leading blank included.
  const ParGenLoad load = LoadParGen(dir / "pargen.xml");
  EXPECT_FALSE(Problem(load).has_value());
  EXPECT_EQ(load.model.profiId, " 0x14");
  EXPECT_EQ(load.model.profiNbIn, "$F4");
}

TEST(ParGen, ChildrenInAnotherOrderAreReadByNameAndRewrittenInTableOrder) {
  const ParGenLoad load = LoadParGen(DataFile("gateway/pargen_reordered.xml"));
  ASSERT_TRUE(load.found);
  ASSERT_FALSE(Problem(load).has_value()) << *Problem(load);
  EXPECT_EQ(load.model.profiId, "33");
  EXPECT_EQ(load.model.profiBaud, 10);
  EXPECT_EQ(load.model.profiNbIn, "100");
  EXPECT_EQ(load.model.profiNbOut, "7");
  EXPECT_EQ(load.model.dnetDevId, "5");
  EXPECT_EQ(load.model.dnetBaud, 1);
  EXPECT_EQ(ParGenText(load.model), ParGenXml({{"PROFI_ID", "33"},
                                               {"PROFI_BAUD", "10"},
                                               {"PROFI_NB_IN", "100"},
                                               {"PROFI_NB_OUT", "7"},
                                               {"DNET_DEV_ID", "5"},
                                               {"DNET_BAUD", "1"}}));
}

TEST(ParGen, FileWithDeclarationAndLineBreaksIsRead) {
  const ParGenLoad load = LoadParGen(DataFile("gateway/pargen_declared.xml"));
  ASSERT_FALSE(Problem(load).has_value()) << *Problem(load);
  EXPECT_EQ(load.model.profiId, "125");
  EXPECT_EQ(load.model.dnetBaud, 0);
}

TEST(ParGen, MissingFileGivesDefaultsWithoutProblem) {
  TempDir dir;
  const ParGenLoad load = LoadParGen(dir / "pargen.xml");
  EXPECT_FALSE(load.found);
  EXPECT_FALSE(Problem(load).has_value());
  EXPECT_EQ(ParGenText(load.model), kDefaultParGenText);
}

// Reading stops at the first problem; values read before it are kept, later ones stay
// defaults.
TEST(ParGen, ReadingStopsAtFirstProblem) {
  TempDir dir;
  const std::string file = (dir / "pargen.xml").string();
  struct Case {
    const char* what;
    std::string text;
    std::string problem;  // empty: look for the parser's message
    std::string profiId, profiNbOut, dnetDevId;
    int dnetBaud;
  } cases[] = {
      {"not XML", "<Par_Gen><PROFI_ID>5</Par_Gen>", "", "20", "20", "10", 2},
      {"baud not an integer", ParGenXml(With("PROFI_BAUD", "x")),
       "'x' is not a valid integer value", "20", "20", "10", 2},
      {"PROFI_NB_OUT missing",
       ParGenXml({{"PROFI_ID", "9"},
                  {"PROFI_BAUD", "10"},
                  {"PROFI_NB_IN", "1"},
                  {"DNET_DEV_ID", "3"},
                  {"DNET_BAUD", "0"}}),
       "The communication settings file \"" + file + "\" has no element PROFI_NB_OUT.", "9", "20",
       "10", 2},
      {"DNET_BAUD not an integer",
       ParGenXml({{"PROFI_ID", "9"},
                  {"PROFI_BAUD", "10"},
                  {"PROFI_NB_IN", "1"},
                  {"PROFI_NB_OUT", "2"},
                  {"DNET_DEV_ID", "3"},
                  {"DNET_BAUD", "500K"}}),
       "'500K' is not a valid integer value", "9", "2", "3", 2},
  };
  for (const Case& c : cases) {
    WriteBytes(dir / "pargen.xml", c.text);
    const ParGenLoad load = LoadParGen(dir / "pargen.xml");
    ASSERT_TRUE(Problem(load).has_value()) << c.what;
    if (c.problem.empty()) {
      EXPECT_NE(Problem(load)->find("is not a valid XML document"), std::string::npos) << c.what;
    } else {
      EXPECT_EQ(*Problem(load), c.problem) << c.what;
    }
    EXPECT_EQ(load.model.profiId, c.profiId) << c.what;
    EXPECT_EQ(load.model.profiNbOut, c.profiNbOut) << c.what;
    EXPECT_EQ(load.model.dnetDevId, c.dnetDevId) << c.what;
    EXPECT_EQ(load.model.dnetBaud, c.dnetBaud) << c.what;
  }
}

TEST(ParGen, DialogAlwaysShowsAutoBaudrateAndNoDeviceNetRateOutsideTheList) {
  const struct {
    int profiBaud, dnetBaud, shownDnetBaud;
  } cases[] = {{3, 0, 0}, {0, 2, 2}, {10, -1, -1}, {-1, 3, -1}, {255, 255, -1}};
  for (const auto& c : cases) {
    ParGen values;
    values.profiBaud = c.profiBaud;
    values.dnetBaud = c.dnetBaud;
    const ParGen shown = AsDialogShows(values);
    EXPECT_EQ(shown.profiBaud, gateway_texts::kAutoBaudrate) << c.profiBaud;
    EXPECT_EQ(shown.dnetBaud, c.shownDnetBaud) << c.dnetBaud;
  }
}

TEST(ParGen, DeviceNetRateMustBeOneOfTheList) {
  for (int index : {-1, 3}) {
    ParGen values;
    values.dnetBaud = index;
    const Status valid = ValidateParGen(values);
    ASSERT_FALSE(valid.ok()) << index;
    EXPECT_EQ(valid.error(), gateway_texts::kBadDnetBaud);
  }
  ParGen values;
  values.profiId = "0";  // an earlier check still comes first
  values.dnetBaud = -1;
  EXPECT_EQ(ValidateParGen(values).error(), gateway_texts::kBadProfiId);
}

// Catches a check that tells only the first refused element, or names the wrong one.
TEST(ParGen, ProblemsNameEveryRefusedElementInTheDialogsOrder) {
  ParGen values;
  EXPECT_TRUE(ParGenProblems(values).empty());
  values.profiId = "126";
  values.profiNbIn = "x";
  values.profiNbOut = "244";
  values.dnetDevId = "-1";
  values.dnetBaud = 3;
  std::vector<std::string> told;
  for (const ParGenProblem& problem : ParGenProblems(values))
    told.push_back(std::string(problem.element) + ": " + problem.message);
  EXPECT_EQ(told,
            (std::vector<std::string>{std::string("PROFI_ID: ") + gateway_texts::kBadProfiId,
                                      std::string("PROFI_NB_IN: ") + gateway_texts::kBadProfiIn,
                                      std::string("DNET_DEV_ID: ") + gateway_texts::kBadDnetId,
                                      std::string("DNET_BAUD: ") + gateway_texts::kBadDnetBaud}));
}

TEST(ParGen, FailedSaveLeavesPreviousFileWhole) {
  TempDir dir;
  const std::string previous = ParGenXml(With("PROFI_ID", "99"));
  WriteBytes(dir / "pargen.xml", previous);
  Status saved = Status::Ok();
  {
    FileSizeLimit limit(16);
    saved = SaveParGen(dir / "pargen.xml", ParGen{});
  }
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(
      saved.error().rfind("Cannot create file \"" + (dir / "pargen.xml").string() + "\". ", 0), 0u)
      << saved.error();
  EXPECT_EQ(ReadBytes(dir / "pargen.xml"), previous);
  EXPECT_EQ(EntriesOf(dir.path()), std::vector<std::string>{"pargen.xml"});
}

}  // namespace
}  // namespace quastor::test
