// The settings file as the Windows profile functions read and write it.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/SettingsFile.h"
#include "platform/TextCodec.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(SettingsFile, ReadsFilesWrittenOnWindows) {
  TempDir dir;
  const auto ini = dir / "Quastor_DNET2PROFI.ini";
  struct Case {
    const char* content;
    const char* expected;
  } cases[] = {
      {"[lastproj]\r\nprojectname=\\Plant1\r\n", "\\Plant1"},
      {"[LastProj]\r\nProjectName=Plant2\r\n", "Plant2"},                  // case of names
      {"  [ lastproj ]  \r\n  projectname  =  Plant 3  \r\n", "Plant 3"},  // blanks
      {"[lastproj]\nprojectname=\"quoted\"\n", "quoted"},                  // quotes dropped
      {"[lastproj]\r\nprojectname=\"\"\r\n", ""},                          // empty in quotes
      {"[lastproj]\r\nprojectname='x'\r\n", "x"},
      {"[lastproj]\r\nprojectname=\"half\r\n", "\"half"},  // unmatched quote stays
      {"[other]\r\nprojectname=no\r\n[lastproj]\r\nprojectname=yes\r\n", "yes"},
      {"[lastproj]\r\nprojectname=\r\n", ""},
      {"[lastproj]\r\nprojectname=a=b\r\n", "a=b"},  // only the first "=" separates
      {"\xEF\xBB\xBF[lastproj]\r\nprojectname=utf8\r\n", "utf8"},
      {"[lastproj]\r\nprojectname=Caf\xE9\r\n", "Caf\xC3\xA9"},  // Windows-1252 byte
  };
  for (const Case& c : cases) {
    WriteBytes(ini, c.content);
    EXPECT_EQ(ReadProfileString(ini, "lastproj", "projectname", "dflt"), c.expected) << c.content;
  }
}

TEST(SettingsFile, ReadsUtf16FileWithByteOrderMark) {
  TempDir dir;
  const auto ini = dir / "u.ini";
  const std::string text = "[lastproj]\r\nprojectname=\\P\xC3\xA9\r\n";
  std::string utf16 = "\xFF\xFE";
  for (unsigned char c : std::string("[lastproj]\r\nprojectname=\\P")) {
    utf16 += static_cast<char>(c);
    utf16 += '\0';
  }
  utf16 += "\xE9";
  utf16 += '\0';
  WriteBytes(ini, utf16);
  EXPECT_EQ(ReadProfileString(ini, "lastproj", "projectname", ""), "\\P\xC3\xA9");
  ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", "\\Q").ok());
  const std::string written = ReadBytes(ini);
  EXPECT_EQ(written.substr(0, 2), "\xFF\xFE") << "stays UTF-16";
  EXPECT_EQ(ReadProfileString(ini, "lastproj", "projectname", ""), "\\Q");
  (void)text;
}

TEST(SettingsFile, MissingFileSectionOrKeyGivesDefault) {
  TempDir dir;
  EXPECT_EQ(ReadProfileString(dir / "none.ini", "lastproj", "projectname", "d"), "d");
  WriteBytes(dir / "a.ini", "[lastproj]\r\nother=1\r\n");
  EXPECT_EQ(ReadProfileString(dir / "a.ini", "lastproj", "projectname", "d"), "d");
  WriteBytes(dir / "b.ini", "[x]\r\nprojectname=1\r\n");
  EXPECT_EQ(ReadProfileString(dir / "b.ini", "lastproj", "projectname", "d"), "d");
}

TEST(SettingsFile, WritesAsWindowsDoes) {
  TempDir dir;
  const auto ini = dir / "s.ini";
  ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", "\\Plant1").ok());
  EXPECT_EQ(ReadBytes(ini), "[lastproj]\r\nprojectname=\\Plant1\r\n");
  ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", "").ok());
  EXPECT_EQ(ReadBytes(ini), "[lastproj]\r\nprojectname=\r\n");
}

TEST(SettingsFile, WriteKeepsEveryOtherLine) {
  TempDir dir;
  const auto ini = dir / "s.ini";
  WriteBytes(ini,
             "; comment\r\n[Other]\r\nkey=1\r\n\r\n[LASTPROJ]\r\nfoo=bar\r\nPROJECTNAME=old\r\n"
             "\r\n[tail]\r\nz=9\r\n");
  ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", "new").ok());
  EXPECT_EQ(ReadBytes(ini),
            "; comment\r\n[Other]\r\nkey=1\r\n\r\n[LASTPROJ]\r\nfoo=bar\r\n"
            "projectname=new\r\n\r\n[tail]\r\nz=9\r\n");

  WriteBytes(ini, "[lastproj]\nfoo=bar\n\n[tail]\nz=9\n");
  ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", "v").ok());
  EXPECT_EQ(ReadBytes(ini), "[lastproj]\r\nfoo=bar\r\nprojectname=v\r\n\r\n[tail]\r\nz=9\r\n");

  WriteBytes(ini, "[tail]\r\nz=9\r\n");
  ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", "v").ok());
  EXPECT_EQ(ReadBytes(ini), "[tail]\r\nz=9\r\n\r\n[lastproj]\r\nprojectname=v\r\n");
}

#ifndef _WIN32
// Found by fuzzing: a Windows-1252 file whose other section holds a byte the code page leaves
// undefined lost that byte when the project name was written.
TEST(SettingsFile, WriteKeepsOtherSectionsOfAWindows1252File) {
  TempDir dir;
  const auto ini = dir / "s.ini";
  WriteBytes(ini, "[lastprom]\r\nname\xFF\r\n[other]\r\nkey=val\x81\x8D\x8F\x90\x9D\x9A\r\n");
  ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", "Plant 7").ok());
  EXPECT_EQ(ReadBytes(ini),
            "[lastprom]\r\nname\xFF\r\n[other]\r\nkey=val\x81\x8D\x8F\x90\x9D\x9A\r\n\r\n"
            "[lastproj]\r\nprojectname=Plant 7\r\n");
}

// Windows reads 8-bit files in its own code page, which decides what they can hold; elsewhere
// they are Windows-1252. Catches a name written as "?" where the file's 8-bit encoding has no place
// for its letters: the project would be lost at the next start. The file becomes UTF-16 with every
// line kept.
TEST(SettingsFile, NameThatTheEightBitFileCannotHoldTurnsItIntoUtf16) {
  TempDir dir;
  const auto ini = dir / "s.ini";
  const std::string name = "\\\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB5\xD0\xBA\xD1\x82";  // \Проект
  struct Case {
    const char* content;  // with one Windows-1252 byte
    const char* lines;    // the lines afterwards, as UTF-8
  } cases[] = {
      {"[other]\r\nkey=caf\xE9\r\n[lastproj]\r\nprojectname=\\Old\r\n",
       "[other]\r\nkey=caf\xC3\xA9\r\n[lastproj]\r\nprojectname=%s\r\n"},
      {"; \x80 comment\r\n", "; \xE2\x82\xAC comment\r\n\r\n[lastproj]\r\nprojectname=%s\r\n"},
  };
  for (const Case& c : cases) {
    WriteBytes(ini, c.content);
    ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", name).ok());
    std::string expected = c.lines;
    expected.replace(expected.find("%s"), 2, name);
    const std::string written = ReadBytes(ini);
    EXPECT_EQ(written, EncodeText(expected, TextEncoding::kUtf16Le)) << c.content;
    EXPECT_EQ(written.find('?'), std::string::npos);
    EXPECT_EQ(ReadProfileString(ini, "lastproj", "projectname", ""), name);
  }
  // A name the file can hold keeps it 8-bit.
  WriteBytes(ini, "[lastproj]\r\nprojectname=caf\xE9\r\n");
  ASSERT_TRUE(WriteProfileString(ini, "lastproj", "projectname", "\xC3\xA9t\xC3\xA9").ok());
  EXPECT_EQ(ReadBytes(ini), "[lastproj]\r\nprojectname=\xE9t\xE9\r\n");
}
#endif

TEST(SettingsFile, FailedWriteSaysWhyAndLeavesNoTemporary) {
  TempDir dir;
  // The settings "file" is a directory with content: the final rename cannot replace it.
  const auto ini = dir / "s.ini";
  std::filesystem::create_directories(ini / "inside");
  const Status status = WriteProfileString(ini, "lastproj", "projectname", "lost");
  ASSERT_FALSE(status.ok());
  EXPECT_FALSE(status.error().empty());
  EXPECT_TRUE(std::filesystem::exists(ini / "inside"));
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1) << "the temporary was not removed";
}

}  // namespace
}  // namespace quastor
