// The rich-text reader of the help window, and the help file loading.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/HelpFile.h"
#include "app/RtfText.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

TEST(RtfText, FormattingRunsAndParagraphs) {
  const RtfDocument doc = ReadRtf(
      "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}"
      "\\fs20 Plain \\b bold\\b0  \\i it\\i0  \\ul under\\ulnone\\par"
      "{\\fs32\\b Title}\\par}");
  ASSERT_EQ(doc.paragraphs.size(), 2u);
  const auto& runs = doc.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 6u);
  EXPECT_EQ(runs[0].text, "Plain ");
  EXPECT_EQ(runs[0].halfPoints, 20);
  EXPECT_EQ(runs[1].text, "bold");
  EXPECT_TRUE(runs[1].bold);
  EXPECT_EQ(runs[2].text, " ");
  EXPECT_EQ(runs[3].text, "it");
  EXPECT_TRUE(runs[3].italic);
  EXPECT_EQ(runs[5].text, "under");
  EXPECT_TRUE(runs[5].underline);
  ASSERT_EQ(doc.paragraphs[1].runs.size(), 1u);
  EXPECT_EQ(doc.paragraphs[1].runs[0].text, "Title");
  EXPECT_TRUE(doc.paragraphs[1].runs[0].bold);
  EXPECT_EQ(doc.paragraphs[1].runs[0].halfPoints, 32);
  EXPECT_EQ(doc.PlainText(), "Plain bold it under\nTitle");
}

TEST(RtfText, EscapesAndSpecialCharacters) {
  struct Case {
    const char* rtf;
    const char* text;
  } cases[] = {
      {"{\\rtf1 caf\\'e9}", "caf\xC3\xA9"},
      {"{\\rtf1 \\'80 \\'b0}", "\xE2\x82\xAC \xC2\xB0"},
      {"{\\rtf1 \\u8364?x}",
       "\xE2\x82\xAC"
       "x"},  // \uc1: one stand-in skipped
      {"{\\rtf1\\uc2 \\u8364??x}",
       "\xE2\x82\xAC"
       "x"},
      {"{\\rtf1\\uc1 \\u-3913\\'3fy}",
       "\xEF\x82\xB7"
       "y"},  // negative, stand-in as \'hh
      {"{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
      {"{\\rtf1 raw \xE9\x80}", "raw \xC3\xA9\xE2\x82\xAC"},  // code-page bytes
      {"{\\rtf1 \\u-10179?\\u-8704?}", "\xF0\x9F\x98\x80"},   // surrogate pair
      {"{\\rtf1 \\u-8704?x}", "\xEF\xBF\xBDx"},               // lone low surrogate
      {"{\\rtf1 a\\tab b\\line c}", "a\tb\nc"},
      {"{\\rtf1 \\endash\\emdash\\bullet}", "\xE2\x80\x93\xE2\x80\x94\xE2\x80\xA2"},
      {"{\\rtf1 x{\\*\\generator Word;}y}", "xy"},
      {"{\\rtf1 x{\\*\\unknowngroup {nested} text}y}", "xy"},
      {"{\\rtf1 x{\\pict\\wmetafile8 0102ab}y}", "xy"},
      {"{\\rtf1 x{\\info{\\title T}}y}", "xy"},
      {"{\\rtf1 x\\unknownword12 y}", "xy"},
      {"{\\rtf1 truncated \\'", "truncated "},
      {"{\\rtf1 unbalanced}}}", "unbalanced"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadRtf(c.rtf).PlainText(), c.text) << c.rtf;
  }
}

TEST(RtfText, PlainResetsFormatting) {
  const RtfDocument doc = ReadRtf("{\\rtf1\\b\\i\\fs40 A\\plain B}");
  ASSERT_EQ(doc.paragraphs[0].runs.size(), 2u);
  EXPECT_FALSE(doc.paragraphs[0].runs[1].bold);
  EXPECT_EQ(doc.paragraphs[0].runs[1].halfPoints, 24);
}

TEST(HelpFile, RichPlainAndMissing) {
  test::TempDir dir;
  test::WriteBytes(dir / "rich.dat", "{\\rtf1 \\b Step\\b0  1\\par}");
  test::WriteBytes(dir / "plain.dat", "Line one\r\nLine {two}\n\nEnd");
  const auto rich = LoadHelpFile(dir / "rich.dat");
  ASSERT_TRUE(rich.ok());
  EXPECT_TRUE(rich->rich);
  EXPECT_EQ(rich->document.PlainText(), "Step 1");
  const auto plain = LoadHelpFile(dir / "plain.dat");
  ASSERT_TRUE(plain.ok());
  EXPECT_FALSE(plain->rich);
  EXPECT_EQ(plain->document.PlainText(), "Line one\nLine {two}\n\nEnd");
  for (const char* bad : {"missing.dat", ""}) {
    const auto failed = LoadHelpFile(dir / bad);  // "" is the directory itself
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(), "Impossible to read file Help");
  }
}

TEST(HelpFile, ShippedHelpIsRichTextAboutTheFourSteps) {
  const auto help = LoadHelpFile(test::SourceFile("dist/help2.dat"));
  ASSERT_TRUE(help.ok());
  EXPECT_TRUE(help->rich);
  const std::string text = help->document.PlainText();
  for (const char* step : {"Step 1", "Step 2", "Step 3", "Step 4"}) {
    EXPECT_NE(text.find(step), std::string::npos) << step;
  }
  for (const char* word : {"\\par", "\\b0", "\\fs", "\\tab", "fonttbl", "generator"}) {
    EXPECT_EQ(text.find(word), std::string::npos) << word << " leaked into the text";
  }
}

// Catches a caption that finds the first paragraph that merely begins with it ("Receive Frames"
// in "Receive Frames Info", a sentence that starts with a window's name), a lookup that minds
// letter case, the dots of "About..." or a caption's own " (...)", and a caption without a
// section (the main window's, which names the project) sent anywhere but the start.
TEST(HelpFile, SectionOfEachWindowByItsCaption) {
  const char* const rich =
      "{\\rtf1\\ansi\\fs32\\b Quastor\\b0\\par\n"
      "Set SDO Access tells the gateway how to answer SDO requests.\\par\n"
      "\\fs24\\b Receive Frames Info\\b0\\fs20  (Receive_Info.xml)\\par\n"
      "\\fs24\\b Receive Frames\\b0\\fs20  (Receive_Frame.xml)\\par\n"
      "\\fs24\\b Set SDO Access\\b0\\fs20  (sdo.xml)\\par\n"
      "\\fs24\\b Set Communication\\b0\\fs20\\par\n"
      "\\fs24\\b About\\b0\\fs20\\par\n"
      "\\fs24\\b Update Firmware from Serial (RS232)\\b0\\fs20\\par}";
  const std::string plain = "Quastor\nReceive Frames\n  Check project  \nLists problems.";
  const struct {
    std::string document;
    const char* caption;
    std::optional<std::size_t> paragraph;
  } cases[] = {
      {rich, "Set SDO Access", 4},
      {rich, "Receive Frames", 3},
      {rich, "Receive Frames Info", 2},
      {rich, "SET COMMUNICATION", 5},
      {rich, "About...", 6},
      {rich, "Update Firmware from Serial (RS232)", 7},
      {rich, "Vexlar Quastor_SW4410_DNET2PROFI : Plant", std::nullopt},
      {rich, "", std::nullopt},
      {plain, "Check project", 2},
      {plain, "Receive Frames Info", std::nullopt},
  };
  test::TempDir dir;
  for (const auto& c : cases) {
    test::WriteBytes(dir / "help2.dat", c.document);
    const Result<HelpText> help = LoadHelpFile(dir / "help2.dat");
    ASSERT_TRUE(help.ok());
    const RtfDocument& document = help->document;
    EXPECT_EQ(HelpSection(document, c.caption), c.paragraph) << c.caption;
  }
}

}  // namespace
}  // namespace quastor
