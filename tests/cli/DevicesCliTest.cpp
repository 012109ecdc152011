// quastor-cli eds FILE and dbc FILE, end to end: the exact lines for a sound file, the reader's
// message and exit status 1 for a damaged or missing one, 2 for a usage error, and nothing
// made on disk.

#include <gtest/gtest.h>

#include "platform/PathText.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

// Catches: a value missing from the listing or in another form than the help text gives, a
// damaged file listed or reported without its line, a wrong exit status, a reading command
// that makes the application directory.
TEST(DevicesCli, EdsListsEveryValueOrNamesTheDamage) {
  TempDir dir;
  const std::filesystem::path home = dir / "home";
  WriteBytes(
      dir / "device.eds",
      "[DeviceInfo]\nProductName=X\n\n[1000]\nParameterName=Device type\nDataType=0x0007\n"
      "AccessType=ro\nDefaultValue=0x191\n\n[1003]\nParameterName=Errors\nObjectType=0x8\n"
      "DataType=0x0007\nAccessType=ro\nCompactSubObj=2\n\n[1400]\nParameterName=RPDO "
      "\"1\"\nObjectType=0x9\nSubNumber=2\n\n[1400sub0]\nParameterName=Count\n"
      "DataType=0x0005\nAccessType=const\nDefaultValue=1\n\n[1400sub1]\nParameterName=COB-ID\n"
      "DataType=0x0007\nAccessType=rw\nDefaultValue=$NODEID+0x200\n\n[2000]\n"
      "ParameterName=Name\nDataType=0x0009\nAccessType=wo\n");
  CliRun run = RunCliAt(home, {"eds", Utf8FromPath(dir / "device.eds")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "0x1000 0x00 VAR UNSIGNED32 4 ro \"Device type\" default=0x191\n"
            "0x1003 - ARRAY - - - \"Errors\"\n"
            "0x1003 0x00 VAR UNSIGNED8 1 ro \"NrOfObjects\" default=2\n"
            "0x1003 0x01 VAR UNSIGNED32 4 ro \"Errors1\"\n"
            "0x1003 0x02 VAR UNSIGNED32 4 ro \"Errors2\"\n"
            "0x1400 - RECORD - - - \"RPDO \"\"1\"\"\"\n"
            "0x1400 0x00 VAR UNSIGNED8 1 const \"Count\" default=1\n"
            "0x1400 0x01 VAR UNSIGNED32 4 rw \"COB-ID\" default=$NODEID+0x200\n"
            "0x2000 0x00 VAR VISIBLE_STRING - wo \"Name\"\n");
  EXPECT_EQ(run.err, "");

  WriteBytes(dir / "broken.eds", "[1000]\nParameterName=Device type\nDataType=0x0007\n");
  run = RunCliAt(home, {"eds", Utf8FromPath(dir / "broken.eds")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "\"" + Utf8FromPath(dir / "broken.eds") + "\", line 1: [1000] has no AccessType\n");

  run = RunCliAt(home, {"eds", Utf8FromPath(dir / "missing.eds")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("Cannot open file \"" + Utf8FromPath(dir / "missing.eds") + "\". ", 0),
            0u)
      << run.err;
  EXPECT_EQ(RunCliAt(home, {"eds"}).exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(home)) << "a reading command made the application directory";
}

// Catches: a message or signal field missing or in another form than the help text gives, the
// J1939 fields shown for a standard identifier or da for a PDU2 one, a damaged file listed.
TEST(DevicesCli, DbcListsMessagesWithTheirSignalsOrNamesTheDamage) {
  TempDir dir;
  const std::filesystem::path home = dir / "home";
  WriteBytes(dir / "net.dbc",
             "VERSION \"\"\r\n\r\nBU_: A B\r\n\r\nBO_ 2566844672 Pdu2: 8 A\r\n"
             " SG_ Speed : 7|16@0- (0.5,-10) [-10|100] \"km h\" B,A\r\n\r\n"
             "CM_ BO_ 2566844672 \"a;\r\nb\";\r\nBO_ 2565537536 Pdu1: 3 B\r\n"
             "BO_ 291 Std: 2 A\r\n SG_ Sel M : 0|8@1+ (1,0) [0|1] \"\" B\r\n"
             " SG_ V m1 : 8|8@1+ (1,0) [0|255] \"\" B\r\n");
  CliRun run = RunCliAt(home, {"dbc", Utf8FromPath(dir / "net.dbc")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "0x18FEF100 extended 8 Pdu2 sender=A priority=6 edp=0 dp=0 pf=0xFE ps=0xF1 "
            "pgn=0x0FEF1 sa=0x00\n"
            "  Speed start=7 length=16 order=big signed factor=0.5 offset=-10 min=-10 max=100 "
            "unit=\"km h\" receivers=B,A\n"
            "0x18EAFF00 extended 3 Pdu1 sender=B priority=6 edp=0 dp=0 pf=0xEA ps=0xFF "
            "pgn=0x0EA00 sa=0x00 da=0xFF\n"
            "0x123 standard 2 Std sender=A\n"
            "  Sel start=0 length=8 order=little unsigned factor=1 offset=0 min=0 max=1 unit=\"\" "
            "mux=M receivers=B\n"
            "  V start=8 length=8 order=little unsigned factor=1 offset=0 min=0 max=255 unit=\"\" "
            "mux=m1 receivers=B\n");
  EXPECT_EQ(run.err, "");

  WriteBytes(dir / "broken.dbc", "BU_: A\n\nBO_ 1 M: 8 A\n SG_ S : 0|8@1+ (1,0 [0|1] \"\" A\n");
  run = RunCliAt(home, {"dbc", Utf8FromPath(dir / "broken.dbc")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("\"" + Utf8FromPath(dir / "broken.dbc") + "\", line 4: ", 0), 0u)
      << run.err;
  EXPECT_EQ(RunCliAt(home, {"dbc", "a", "b"}).exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(home)) << "a reading command made the application directory";
}

}  // namespace
}  // namespace quastor::test
