// quastor-cli xml FILE, end to end.

#include <gtest/gtest.h>

#include "platform/PathText.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

TEST(ToolsCli, XmlPrintsTheTreeOrTheParsersMessage) {
  TempDir home;
  WriteBytes(home / "pargen.xml",
             "<?xml version='1.0'?>\r\n<Par_Gen><PROFI_ID>20</PROFI_ID>"
             "<row a='1' b=''/></Par_Gen>");
  CliRun run = RunCliAt(home.path(), {"xml", Utf8FromPath(home / "pargen.xml")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "File: pargen.xml\n  XMLDeclaration\n    version = 1.0\n  Par_Gen\n"
            "    PROFI_ID = 20\n    row\n      a = 1\n      b\n");
  EXPECT_EQ(run.err, "");

  WriteBytes(home / "broken.xml", "<a></b>");
  run = RunCliAt(home.path(), {"xml", Utf8FromPath(home / "broken.xml")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "End tag name \"b\" does not match start tag name \"a\"\n");

  run = RunCliAt(home.path(), {"xml", Utf8FromPath(home / "missing.xml")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("Cannot open file \"" + Utf8FromPath(home / "missing.xml") + "\". ", 0),
            0u)
      << run.err;

  EXPECT_EQ(RunCliAt(home.path(), {"xml"}).exitCode, 2);

#ifndef _WIN32
  // A file whose content is Windows-1252 keeps its own name whole.
  const std::string name = "\xE6\xB8\xA9\xE5\xBA\xA6.xml";  // 温度.xml
  WriteBytes(home / PathFromUtf8(name), "<r a='caf\xE9'/>");
  run = RunCliAt(home.path(), {"xml", Utf8FromPath(home / PathFromUtf8(name))});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "File: " + name + "\n  r\n    a = caf\xC3\xA9\n");
#endif
}

}  // namespace
}  // namespace quastor::test
