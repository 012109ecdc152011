// The application directory as quastor-cli meets it: made only by a command that writes,
// filled from the build tree's first-run files, and a remembered project name that the
// settings file must keep whole or that is no project at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/PathText.h"
#include "platform/TextCodec.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

// Every file and folder below dir, by relative path, in order.
std::vector<std::string> Listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    names.push_back(fs::relative(entry.path(), dir).generic_string());
  std::sort(names.begin(), names.end());
  return names;
}

// Catches a command that only reads, or one refused before it runs, making the application
// directory, MASTER/ or PROJECTS/.
TEST(AppDirectoryCli, OnlyACommandThatWritesMakesTheDirectories) {
  TempDir top;
  WriteBytes(top / "pargen.xml", "<Par_Gen><PROFI_ID>5</PROFI_ID></Par_Gen>");
  const fs::path home = top / "home";
  const std::vector<std::vector<std::string>> read_only = {
      {"bogus"},
      {},
      {"--help"},
      {"xml", Utf8FromPath(top / "pargen.xml")},
      {"project", "show"},
      {"project", "new"},
      {"project", "open", "P", "extra"},
      {"settings", "show"},
      {"check"},
      {"--project", "Gone", "image"},
  };
  for (const auto& args : read_only) {
    RunCliAt(home, args);
    EXPECT_EQ(Listing(top.path()), std::vector<std::string>{"pargen.xml"}) << args.size();
  }

  // The first command that writes makes them, and MASTER gets the build tree's files.
  const CliRun created = RunCliAt(home, {"project", "new", "P"});
  ASSERT_EQ(created.exitCode, 0) << created.err;
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS" / "P" / "bin"));
  for (const char* name : {"sim4410.sim", "sx4375.sx"})
    EXPECT_EQ(ReadBytes(home / "MASTER" / name), ReadBytes(SourceFile("dist/MASTER") / name));
}

// The build tree runs as it is: its first-run files are there, and the firmware file lands in
// the project folder.
TEST(AppDirectoryCli, FirmwareRunsFromTheBuildTree) {
  TempDir home;
  ASSERT_EQ(RunCliAt(home.path(), {"project", "new", "P"}).exitCode, 0);
  const fs::path project = home / "PROJECTS" / "P";
  WriteBytes(project / "bin" / "bank1.bin", std::string(16384, '\x11'));
  WriteBytes(project / "bin" / "bank2.bin", std::string(16384, '\x22'));
  const CliRun run = RunCliAt(home.path(), {"firmware", "--no-flash"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::is_regular_file(project / "New_sx4375.sx"));
  EXPECT_FALSE(fs::exists(project / "bin" / "New_sx4375.sx"));
}

// Catches a NUL byte in the remembered name reaching the system: "P\0junk" named PROJECTS/P,
// and the firmware run removed that folder in place of its old output file.
TEST(AppDirectoryCli, RememberedNameWithANulByteIsNoProject) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "P");
  const std::string ini = "[lastproj]\r\nprojectname=P";
  WriteBytes(home / "Quastor_DNET2PROFI.ini", ini + std::string(1, '\0') + "junk\r\n");
  const CliRun firmware = RunCliAt(home.path(), {"firmware", "--no-flash"});
  EXPECT_EQ(firmware.exitCode, 1);
  EXPECT_EQ(firmware.err, "Project not valid\n");
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS" / "P"));
  EXPECT_EQ(RunCliAt(home.path(), {"project", "show"}).out,
            "\n" + Utf8FromPath(home / "PROJECTS") + "\n");
}

#ifndef _WIN32
// Windows reads an 8-bit settings file in its own code page; elsewhere it is Windows-1252.
// Catches a name that the file's encoding cannot hold written as "?": the project was lost at
// the next start.
TEST(AppDirectoryCli, OpenedProjectWhoseNameTheSettingsFileCannotHoldIsKept) {
  TempDir home;
  const std::string name = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB5\xD0\xBA\xD1\x82";  // Проект
  fs::create_directories(home / "PROJECTS" / PathFromUtf8(name));
  WriteBytes(home / "Quastor_DNET2PROFI.ini",
             "[other]\r\nkey=caf\xE9\r\n[lastproj]\r\nprojectname=\\Old\r\n");
  const CliRun open = RunCliAt(home.path(), {"project", "open", name});
  EXPECT_EQ(open.exitCode, 0) << open.err;
  const std::string bytes = ReadBytes(home / "Quastor_DNET2PROFI.ini");
  TextEncoding encoding{};
  EXPECT_EQ(DecodeText(bytes, &encoding),
            "[other]\r\nkey=caf\xC3\xA9\r\n[lastproj]\r\nprojectname=" + kSep + name + "\r\n");
  EXPECT_EQ(encoding, TextEncoding::kUtf16Le);
  EXPECT_EQ(RunCliAt(home.path(), {"project", "show"}).out,
            kSep + name + "\n" + Utf8FromPath(home / "PROJECTS" / PathFromUtf8(name)) + "\n");
}
#endif

}  // namespace
}  // namespace quastor::test
