// The settings file beside the system's own profile functions (GetPrivateProfileStringW,
// WritePrivateProfileStringW), on Windows: each file either of them wrote reads the same
// through both.

#include <gtest/gtest.h>

#include <string>

#include "platform/SettingsFile.h"
#include "tests/support/TestFiles.h"

#include <windows.h>
// <windows.h> names the ANSI profile function WriteProfileString.
#undef WriteProfileString

namespace quastor {
namespace {

using test::TempDir;
using test::WriteBytes;

std::wstring Wide(const std::string& utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), size);
  wide.resize(wide.size() - 1);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), size, nullptr, nullptr);
  utf8.resize(utf8.size() - 1);
  return utf8;
}

// What Windows reads for the key.
std::string SystemRead(const std::filesystem::path& file, const std::string& section,
                       const std::string& key, const std::string& fallback) {
  wchar_t value[1024] = {};
  GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(fallback).c_str(), value,
                           1024, file.c_str());
  return Utf8(value);
}

bool SystemWrite(const std::filesystem::path& file, const std::string& section,
                 const std::string& key, const std::string& value) {
  return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                    file.c_str()) != 0;
}

// Files as Windows and other editors leave them.
const char* const kFiles[] = {
    "[lastproj]\r\nprojectname=\\Plant1\r\n",
    "[LastProj]\r\nProjectName=Plant2\r\n",
    "  [lastproj]\r\n  projectname  =  Plant 3  \r\n",
    "[lastproj]\nprojectname=\"quoted\"\n",
    "[lastproj]\r\nprojectname='x'\r\n",
    "[other]\r\nprojectname=no\r\n[lastproj]\r\nprojectname=yes\r\n",
    "[lastproj]\r\nprojectname=\r\n",
    "[lastproj]\r\nprojectname=a=b\r\n",
    "\xEF\xBB\xBF[lastproj]\r\nprojectname=utf8 \xC3\xA9\r\n",
    "[lastproj]\r\nother=1\r\n",
    "[x]\r\nprojectname=1\r\n",
    "; comment\r\n[Other]\r\nkey=1\r\n\r\n[LASTPROJ]\r\nfoo=bar\r\nPROJECTNAME=old\r\n",
};

TEST(WindowsProfile, OwnReadingMatchesTheSystems) {
  TempDir dir;
  const auto ini = dir / "Quastor_DNET2PROFI.ini";
  for (const char* content : kFiles) {
    WriteBytes(ini, content);
    EXPECT_EQ(ReadProfileString(ini, "lastproj", "projectname", "dflt"),
              SystemRead(ini, "lastproj", "projectname", "dflt"))
        << content;
  }
  EXPECT_EQ(ReadProfileString(dir / "none.ini", "lastproj", "projectname", "d"),
            SystemRead(dir / "none.ini", "lastproj", "projectname", "d"));
}

TEST(WindowsProfile, EachReadsWhatTheOtherWrote) {
  TempDir dir;
  const char* const values[] = {"\\Plant1", "Plant 2", "", "Caf\xC3\xA9", "a=b"};
  for (const char* content : kFiles) {
    for (const char* value : values) {
      const auto own = dir / "own.ini";
      const auto system = dir / "system.ini";
      WriteBytes(own, content);
      WriteBytes(system, content);
      ASSERT_TRUE(WriteProfileString(own, "lastproj", "projectname", value).ok());
      ASSERT_TRUE(SystemWrite(system, "lastproj", "projectname", value));
      for (const auto& file : {own, system}) {
        EXPECT_EQ(SystemRead(file, "lastproj", "projectname", "-"), value) << content << file;
        EXPECT_EQ(ReadProfileString(file, "lastproj", "projectname", "-"), value)
            << content << file;
        // The other sections and keys stay as they were.
        EXPECT_EQ(SystemRead(file, "other", "key", "-"), SystemRead(system, "other", "key", "-"));
        EXPECT_EQ(ReadProfileString(file, "lastproj", "foo", "-"),
                  SystemRead(system, "lastproj", "foo", "-"));
      }
    }
  }
}

}  // namespace
}  // namespace quastor
