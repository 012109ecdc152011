// Writing an XML file back in the encoding it has: what each existing file becomes, and the
// refusal of a character the file's encoding cannot hold.

#include <gtest/gtest.h>

#include <string>

#include "platform/FileStamp.h"
#include "platform/XmlFileEncoding.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// UTF-16 LE with its mark, of text whose characters are all below U+0100 (one byte each here).
std::string Utf16Le(const std::string& latin1) {
  std::string bytes = "\xFF\xFE";
  for (const char c : latin1) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

TEST(XmlFileEncoding, AnExistingFileKeepsItsEncodingAndANewOneIsUtf8) {
  struct Case {
    const char* name;
    std::string before;  // empty: no file
    std::string after;   // what writing <r a="é"/> leaves
  };
  const std::string text = "<r a=\"\xC3\xA9\"/>";
  const Case cases[] = {
      {"new file", "", text},
      {"UTF-8", "<r/>", text},
      {"UTF-8 with mark", "\xEF\xBB\xBF<r/>", "\xEF\xBB\xBF" + text},
      {"Windows-1252", "<r a=\"\xE9\"/>", "<r a=\"\xE9\"/>"},
      {"UTF-16 LE", std::string("\xFF\xFE<\0/\0>\0", 8),
       std::string("\xFF\xFE<\0r\0 \0a\0=\0\"\0\xE9\0\"\0/\0>\0", 22)},
      {"UTF-16 BE", std::string("\xFE\xFF\0<", 4),
       std::string("\xFE\xFF\0<\0r\0 \0a\0=\0\"\0\xE9\0\"\0/\0>", 22)},
      // Without its declaration an 8-bit file is taken for UTF-8 by other XML readers.
      {"declared Windows-1252", "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<r/>",
       "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<r a=\"\xE9\"/>"},
      // A declaration other readers refuse is not written again.
      {"damaged declaration", std::string("<?xml ve\0\xFF=\"1.0\"?>\n<r/>", 22), "<r a=\"\xE9\"/>"},
      {"declared UTF-16", Utf16Le("<?xml version=\"1.0\"?>\n<r/>"),
       Utf16Le("<?xml version=\"1.0\"?>\n<r a=\"\xE9\"/>")},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const auto file = dir / "t.xml";
    if (!c.before.empty())
      WriteBytes(file, c.before);
    const Status written = WriteXmlFileKeepingEncoding(file, text);
    ASSERT_TRUE(written.ok()) << c.name << ": " << written.error();
    EXPECT_EQ(ReadBytes(file), c.after) << c.name;
  }
}

// Writing "?" in place of a character lost it for good: the write is refused instead.
TEST(XmlFileEncoding, ACharacterTheFileCannotHoldIsRefusedAndTheFileStays) {
  TempDir dir;
  const auto file = dir / "sdo.xml";
  const std::string latin = "<sdo><row mnemonico=\"Caf\xE9\"/></sdo>";
  WriteBytes(file, latin);
  const Status written = WriteXmlFileKeepingEncoding(file,
                                                     "<sdo><row mnemonico=\"\xC5\x81\xC3\xB3"
                                                     "d\xC5\xBA\"/></sdo>");
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error(), "Cannot create file \"" + file.string() +
                                 "\". Windows-1252 text cannot hold the character \"\xC5\x81\" "
                                 "(U+0141).");
  EXPECT_EQ(ReadBytes(file), latin);
}

// A second writer is told by content: a new time over the same bytes is no change.
TEST(FileStamp, ContentDecidesWhetherAFileChanged) {
  TempDir dir;
  const auto file = dir / "a.xml";
  ReadStamps stamps;
  stamps.Remember(file);  // not there yet
  EXPECT_TRUE(stamps.Changed().empty());
  WriteBytes(file, "<a/>");
  EXPECT_EQ(stamps.Changed().size(), 1u) << "a file that appeared";
  stamps.Remember(file);
  WriteBytes(file, "<a/>");
  EXPECT_TRUE(stamps.Changed().empty()) << "the same bytes again";
  WriteBytes(file, "<b/>");
  EXPECT_EQ(stamps.Changed().size(), 1u) << "other bytes of the same size";
  stamps.Remember(file);
  std::filesystem::remove(file);
  EXPECT_EQ(stamps.Changed().size(), 1u) << "a file that went";
}

}  // namespace
}  // namespace quastor
