// Text encodings, message patterns and the splitting of command lines.

#include <gtest/gtest.h>

#include "platform/ProcessLauncher.h"
#include "platform/Text.h"
#include "platform/TextCodec.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quastor {
namespace {

TEST(TextCodec, DecodesEveryKnownForm) {
  TextEncoding encoding{};
  EXPECT_EQ(DecodeText("plain", &encoding), "plain");
  EXPECT_EQ(encoding, TextEncoding::kLocal);
  EXPECT_EQ(DecodeText("\xEF\xBB\xBFx", &encoding), "x");
  EXPECT_EQ(encoding, TextEncoding::kUtf8Bom);
  EXPECT_EQ(DecodeText(std::string("\xFF\xFEx\0\xAC\x20", 6), &encoding), "x\xE2\x82\xAC");
  EXPECT_EQ(encoding, TextEncoding::kUtf16Le);
  const std::string ansi = DecodeText(
      "\xB0"
      "B1\xB0\x80",
      &encoding);
#ifdef _WIN32
  // Windows reads 8-bit text in its ANSI code page, as its profile functions do.
  EXPECT_EQ(encoding, TextEncoding::kLocal);
  if (GetACP() != 1252)
    return;
#else
  EXPECT_EQ(encoding, TextEncoding::kWindows1252);
#endif
  EXPECT_EQ(ansi,
            "\xC2\xB0"
            "B1\xC2\xB0\xE2\x82\xAC");
}

TEST(TextCodec, EncodingRoundTrips) {
  const std::string text = "A\xC2\xB0\xE2\x82\xAC\xF0\x9F\x98\x80";  // A ° € and an emoji
  for (auto encoding : {TextEncoding::kUtf8Bom, TextEncoding::kUtf16Le}) {
    TextEncoding found{};
    EXPECT_EQ(DecodeText(EncodeText(text, encoding), &found), text);
    EXPECT_EQ(found, encoding);
  }
  EXPECT_EQ(EncodeText("\xC2\xB0\xE2\x82\xAC\xE2\x98\x83", TextEncoding::kWindows1252),
            "\xB0\x80?");
  // The exact form fails instead of writing "?": U+2603 and U+0080 have no Windows-1252 byte.
  EXPECT_EQ(EncodeTextExactly("\xC2\xB0\xE2\x82\xAC\xC2\x81", TextEncoding::kWindows1252).value(),
            "\xB0\x80\x81");
  EXPECT_FALSE(EncodeTextExactly("a\xE2\x98\x83", TextEncoding::kWindows1252).ok());
  EXPECT_FALSE(EncodeTextExactly("\xC2\x80", TextEncoding::kWindows1252).ok());
  EXPECT_EQ(EncodeTextExactly("\xE2\x98\x83", TextEncoding::kUtf16Le).value(), "\xFF\xFE\x03\x26");
}

// Bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) once became "?" on
// writing, so that saving a settings file changed the lines of other programs.
TEST(TextCodec, EveryWindows1252ByteRoundTrips) {
  for (int b = 0x80; b <= 0xFF; ++b) {
    const std::string byte(1, static_cast<char>(b));
    EXPECT_EQ(EncodeText(Windows1252ToUtf8(byte), TextEncoding::kWindows1252), byte) << b;
  }
}

TEST(TextCodec, Utf8Validation) {
  EXPECT_TRUE(IsValidUtf8("abc\xC3\xA9"));
  EXPECT_FALSE(IsValidUtf8("\xC3"));       // cut short
  EXPECT_FALSE(IsValidUtf8("\xE9t\xE9"));  // Windows-1252
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));   // overlong
}

// Encoding that refuses instead of writing "?": a name or value "?" stood for was lost for good.
TEST(TextCodec, ExactEncodingNamesTheFirstCharacterItCannotHold) {
  const Result<std::string> latin =
      EncodeTextExactly("Caf\xC3\xA9 \xE2\x82\xAC", TextEncoding::kWindows1252);
  ASSERT_TRUE(latin.ok());
  EXPECT_EQ(*latin, "Caf\xE9 \x80");
  const Result<std::string> polish = EncodeTextExactly(
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA",
      TextEncoding::kWindows1252);  // Łódź
  ASSERT_FALSE(polish.ok());
  EXPECT_EQ(polish.error(), "Windows-1252 text cannot hold the character \"\xC5\x81\" (U+0141).");
  const Result<std::string> wide = EncodeTextExactly("\xE4\xB8\xAD", TextEncoding::kUtf16Be);
  ASSERT_TRUE(wide.ok());
  EXPECT_EQ(*wide, std::string("\xFE\xFF\x4E\x2D", 4));
}

TEST(TextCodec, MixedUtf8IsToldApartFromEightBitText) {
  struct Case {
    const char* bytes;
    bool mixed;
  };
  for (const Case& c : {Case{"Caf\xC3\xA9", false},  // UTF-8 only
                        Case{"Caf\xE9", false},      // Windows-1252 only
                        Case{"Caf\xC3\xA9 \xB0"
                             "C",
                             true},                       // UTF-8 é and a 1252 °
                        Case{"\xB0 \xE2\x82\xAC", true},  // a 1252 ° and a UTF-8 €
                        Case{"\xE9\xC3", false}}) {       // no whole UTF-8 sequence
    EXPECT_EQ(MixesUtf8WithOtherBytes(c.bytes), c.mixed) << c.bytes;
  }
}

TEST(Text, FormatFillsPlacesInOrder) {
  EXPECT_EQ(FormatText("Cannot create file \"%s\". %s", {"a.gsd", "Denied"}),
            "Cannot create file \"a.gsd\". Denied");
  EXPECT_EQ(FormatText(" (Error: %d) ", {"5"}), " (Error: 5) ");
  EXPECT_EQ(FormatText("100% %s", {}), "100% %s");
}

TEST(ProcessLauncher, SplitsLikeACommandLine) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitCommandLine("COM3 FW NO PW PR \"/a b/sim4410.sim\" \"/p/bin/\""),
            (V{"COM3", "FW", "NO", "PW", "PR", "/a b/sim4410.sim", "/p/bin/"}));
  EXPECT_EQ(SplitCommandLine("\"/x/New_sx4375.sx\"\xC2\xB6"
                             "7"),
            (V{"/x/New_sx4375.sx\xC2\xB6"
               "7"}));
  EXPECT_EQ(SplitCommandLine("  a   \"\"  b "), (V{"a", "", "b"}));
  EXPECT_EQ(SplitCommandLine(""), V{});
}

TEST(ProcessLauncher, ExternalProgramNames) {
#ifdef _WIN32
  EXPECT_EQ(ExternalProgram("C:\\App", "FlashWrite.exe").filename().string(), "FlashWrite.exe");
#else
  EXPECT_EQ(ExternalProgram("/app", "FlashWrite.exe"), std::filesystem::path("/app/FlashWrite"));
#endif
}

}  // namespace
}  // namespace quastor
