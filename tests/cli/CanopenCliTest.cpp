// quastor-cli import TABLE WORKBOOK | export TABLE, end to end on a temporary application
// directory.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/Workbook.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

constexpr char kBrokenPdos[] =
    "<rpdodef><row cobid='1' id_dev_orig='1' en_bypass='3' posind='0' n_tpdo='1'/>"
    "<row cobid='2' id_dev_orig='1' en_bypass='3' n_tpdo='1'/></rpdodef>";
constexpr char kBrokenPdosMessage[] =
    "Error in reading file XML\nReading of rpdodef.xml stopped at record 2 of 2 (attribute "
    "\"posind\" is missing), so 1 record is not shown.\nNothing was written. With --force the file "
    "is written without them.\n";

// An application directory whose remembered project is Plant.
class CanopenCli : public ::testing::Test {
 protected:
  CanopenCli() {
    fs::create_directories(project() / "bin");
    WriteBytes(home_ / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=/Plant\r\n");
  }
  fs::path project() const { return home_ / "PROJECTS" / "Plant"; }
  CliRun Run(const std::vector<std::string>& args) { return RunCliAt(home_.path(), args); }

  TempDir home_;
};

TEST_F(CanopenCli, ExportWritesTheCsvAsTheWindowDoes) {
  CliRun run = Run({"export", "rpdodef"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "File XML not found\n");
  const std::string csv = ReadBytes(project() / "rpdodef.csv");
  EXPECT_EQ(csv.substr(0, 37), "cobid,id_dev_orig,00,posind,n_tpdo,\r\n");
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 22);

  WriteBytes(project() / "rpdodef.xml",
             "<rpdodef><row cobid='0x181' id_dev_orig='1' en_bypass='1' posind='0' n_tpdo='1'/>"
             "<row cobid='0x182' id_dev_orig='1' en_bypass='3' posind='0' n_tpdo='1'/></rpdodef>");
  WriteBytes(project() / "sdopdo.xml",
             "<sdopdo><row index='0x2000' subindex='1' nrpdo='1' poscomp='33'/>"
             "<row index='0x2001' subindex='2' nrpdo='129' poscomp='48'/></sdopdo>");
  run = Run({"export", "sdopdo"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "File SDO XML not found\n");
  EXPECT_EQ(run.out, (project() / "sdopdo.csv").string() + "\n");
  EXPECT_EQ(ReadBytes(project() / "sdopdo.csv"), "0x2000,1,1,33,\r\n0x2001,2,129,48,\r\n");

  WriteBytes(project() / "rpdodef.xml", kBrokenPdos);
  run = Run({"export", "rpdodef"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, kBrokenPdosMessage);
}

TEST_F(CanopenCli, ImportThatCannotCompleteWritesNothing) {
  WriteBytes(project() / "rpdodef.xml", kBrokenPdos);
  CliRun run = Run({"import", "rpdodef", (home_ / "book.xls").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, kBrokenPdosMessage);
  EXPECT_EQ(ReadBytes(project() / "rpdodef.xml"), kBrokenPdos);

  run = Run({"import", "sdo", (home_ / "book.xls").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find((home_ / "book.xls").string()), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(project() / "sdo.xml"));
}

TEST_F(CanopenCli, ImportWritesTheTableFilesAsOkDoes) {
  const fs::path workbook = DataFile("canopen/tables.xls");
  if (!WorkbookSupported() || !fs::exists(workbook))
    GTEST_SKIP() << "this build reads no workbooks";
  CliRun run = Run({"import", "rpdodef", workbook.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadBytes(project() / "rpdodef.xml"),
            "<rpdodef><row cobid=\"0x181\" id_dev_orig=\"1\" en_bypass=\"3\" posind=\"0\" "
            "n_tpdo=\"1\"/><row cobid=\"0x183\" id_dev_orig=\"4\" en_bypass=\"2\" posind=\"\" "
            "n_tpdo=\"4\"/><row cobid=\"385\" id_dev_orig=\"3\" en_bypass=\"1\" posind=\"1\" "
            "n_tpdo=\"3\"/><row cobid=\"0x182\" id_dev_orig=\"2\" en_bypass=\"0\" posind=\"0\" "
            "n_tpdo=\"2\"/></rpdodef>");
  run = Run({"import", "sdopdo", workbook.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "File SDO XML not found\n");
  EXPECT_EQ(ReadBytes(project() / "sdopdo.xml"),
            "<sdopdo><row index=\"0x2000\" subindex=\"1\" nrpdo=\"1\" poscomp=\"33\"/><row "
            "index=\"8194\" subindex=\"0\" nrpdo=\"2\" poscomp=\"\"/><row index=\"0x2001\" "
            "subindex=\"2\" nrpdo=\"129\" poscomp=\"48\"/></sdopdo>");
}

// Importing rpdodef moves PDO 0x182 from number 1 to 2 (the sheet's 385 sorts first): its
// stored definition used to point to 385 afterwards.
TEST_F(CanopenCli, ImportedPdosKeepTheirStoredDefinitions) {
  const fs::path workbook = DataFile("canopen/tables.xls");
  if (!WorkbookSupported() || !fs::exists(workbook))
    GTEST_SKIP() << "this build reads no workbooks";
  WriteBytes(project() / "rpdodef.xml",
             "<rpdodef><row cobid='0x182' id_dev_orig='2' en_bypass='0' posind='0' "
             "n_tpdo='2'/></rpdodef>");
  WriteBytes(project() / "sdopdo.xml",
             "<sdopdo><row index='0x2000' subindex='1' nrpdo='1' poscomp='33'/></sdopdo>");
  const CliRun run = Run({"import", "rpdodef", workbook.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err,
            "The PDOs moved, so sdopdo.xml was rewritten too, and its stored definitions keep "
            "their PDOs (1 stored definition).\n");
  EXPECT_EQ(ReadBytes(project() / "sdopdo.xml"),
            "<sdopdo><row index=\"0x2000\" subindex=\"1\" nrpdo=\"2\" poscomp=\"33\"/></sdopdo>");
}

TEST_F(CanopenCli, EmcyTablesExportAsTheWindowsDo) {
  CliRun run = Run({"export", "emcydef"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "File XML not found\n");
  EXPECT_EQ(ReadBytes(project() / "emcydef.csv"), "");

  std::string word = "<row index_addrm='0x2000' subindex='1' extdata='1' devid='5'";
  for (int j = 0; j < 16; ++j) {
    const std::string bit = " bit" + std::to_string(j);
    word += bit + "_b0='a,b'" + bit + "_b1=''" + bit + "_poscomp='53'";
  }
  word += "/>";
  WriteBytes(project() / "emcyword.xml", "<emcyword>" + word + "</emcyword>");
  run = Run({"export", "emcyword"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, (project() / "emcyword.csv").string() + "\n");
  // The sheet's order, side code before node ID, so that the CSV saved as a workbook imports.
  std::string line = "0x2000,1,1,5,";
  for (int j = 0; j < 16; ++j)
    line += "\"a,b\",,53,";
  EXPECT_EQ(ReadBytes(project() / "emcyword.csv"), line + "\r\n");

  std::string no_side = word;
  no_side.replace(no_side.find("extdata='1'"), 11, "extdata='2'");
  WriteBytes(project() / "emcyword.xml", "<emcyword>" + word + no_side + "</emcyword>");
  run = Run({"export", "emcyword"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Records of emcyword.xml whose extdata is neither 0 (CanA) nor 1 (CanB) are not shown: "
            "1.\nNothing was written. With --force the file is written without them.\n");
  // --force does what Export does in the window: the words it shows.
  run = Run({"export", "emcyword", "--force"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err,
            "Records of emcyword.xml whose extdata is neither 0 (CanA) nor 1 (CanB) are not shown: "
            "1.\n");
  EXPECT_EQ(ReadBytes(project() / "emcyword.csv"), line + "\r\n");
}

TEST_F(CanopenCli, EmcyTablesImportAsTheWindowsDo) {
  const fs::path workbook = DataFile("canopen/emcy.xls");
  if (!WorkbookSupported() || !fs::exists(workbook))
    GTEST_SKIP() << "this build reads no workbooks";
  CliRun run = Run({"import", "emcydef", workbook.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string rules = ReadBytes(project() / "emcydef.xml");
  EXPECT_EQ(rules.rfind("<emcydef><row id_dev=\"0x05\" mask_eq_ec=\"1\" mask_eq_er=\"\" ", 0), 0u)
      << rules;
  EXPECT_NE(rules.find("enmask_eq_m3=\"0\" bypass_set=\"1\"/><row id_dev=\"3\""), std::string::npos)
      << rules;

  run = Run({"import", "emcyword", workbook.string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Records of sheet \"emcyword\" whose extdata is neither 0 (CanA) nor 1 (CanB) are not "
            "shown: 1.\nNothing was written. With --force the file is written without them.\n");
  EXPECT_FALSE(fs::exists(project() / "emcyword.xml"));
  // The import replaces the whole table, as Yes at OK in the window does.
  run = Run({"import", "--force", "emcyword", workbook.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(project() / "emcyword.xml"));
}

// Export, then the CSV saved as a workbook by LibreOffice (committed, with the CSV it was made
// from: scripts/make-workbook-fixtures.pl roundtrip), then Import gives every table file back
// byte for byte: heading lines and the rows of empty grid rows are no records, and a table
// exported without heading line keeps its first record.
TEST_F(CanopenCli, ExportSavedAsWorkbookImportsBackToTheSameTable) {
  const fs::path data = DataFile("canopen/roundtrip");
  if (!WorkbookSupported())
    GTEST_SKIP() << "this build reads no workbooks";
  const char* tables[] = {"sdo", "rpdodef", "sdopdo", "emcydef", "emcyword"};
  // sdopdo names its PDOs by their places in rpdodef.xml, and reads sdo.xml.
  for (const char* table : tables)
    fs::copy_file(data / (std::string(table) + ".xml"), project() / (std::string(table) + ".xml"));
  for (const char* table : tables) {
    SCOPED_TRACE(table);
    const std::string name = table;
    const std::string original = ReadBytes(data / (name + ".xml"));
    CliRun run = Run({"export", name});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ReadBytes(project() / (name + ".csv")), ReadBytes(data / (name + ".csv")));

    WriteBytes(project() / (name + ".xml"), "<" + name + "/>");
    run = Run({"import", name, (data / (name + ".xlsx")).string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadBytes(project() / (name + ".xml")), original);
  }
}

TEST_F(CanopenCli, UsageUnknownTablesAndNoProject) {
  const struct {
    std::vector<std::string> args;
    int exitCode;
    const char* err;  // its start
  } cases[] = {
      {{"export", "pdo"}, 2, "quastor-cli: unknown table \"pdo\""},
      {{"import", "sdo"}, 2, "quastor-cli: import needs: TABLE WORKBOOK"},
      {{"export"}, 2, "quastor-cli: export needs: TABLE"},
  };
  for (const auto& c : cases) {
    const CliRun run = Run(c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args.back();
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
  }
  fs::remove(home_ / "Quastor_DNET2PROFI.ini");
  const CliRun run = Run({"export", "sdo"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Project not valid\n");
  EXPECT_TRUE(fs::is_empty(home_ / "PROJECTS" / "Plant" / "bin"));
}

}  // namespace
}  // namespace quastor::test
