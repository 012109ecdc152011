// bin/bank.bin byte for byte, and what a failed build or write leaves on disk.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "gateway/ConfigImage.h"
#include "platform/PathText.h"
#include "tests/gateway/GatewayTestFiles.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string bytes;
  for (unsigned v : values)
    bytes += static_cast<char>(v);
  return bytes;
}

// Builds and writes the image of project, as "Update Device" and "quastor-cli image" do.
Status BuildAndWrite(const fs::path& project) {
  const Result<ConfigImage> image = BuildConfigImage(project);
  if (!image)
    return image.failure();
  return WriteConfigImage(project, *image);
}

TEST(ConfigImage, BytesFollowTheSettings) {
  struct Case {
    const char* what;
    std::optional<std::string> pargen;  // nothing: the project has no pargen.xml
    std::string bytes;
  } cases[] = {
      {"defaults", std::string(kDefaultParGenText),
       Bytes({0x04, 0x00, 0x00, 0x00, 0x14, 0x0A, 0x14, 0x14, 0x0A, 0x02})},
      {"no pargen.xml", std::nullopt, Bytes({0x04, 0x00, 0x00, 0x00})},
      {"DeviceNet baud -1", ParGenXml(With("DNET_BAUD", "-1")),
       Bytes({0x04, 0x00, 0x00, 0x00, 0x14, 0x0A, 0x14, 0x14, 0x0A, 0xFF})},
      {"244 input bytes", ParGenXml(With("PROFI_NB_IN", "244")),
       Bytes({0x04, 0x00, 0x00, 0x00, 0x14, 0x0A, 0xF4, 0x14, 0x0A, 0x02})},
      {"PROFIBUS baud index kept as the file holds it", ParGenXml(With("PROFI_BAUD", "3")),
       Bytes({0x04, 0x00, 0x00, 0x00, 0x14, 0x03, 0x14, 0x14, 0x0A, 0x02})},
      {"integer text syntax and low byte",
       ParGenXml({{"PROFI_ID", " 0x7D"},
                  {"PROFI_BAUD", "$a"},
                  {"PROFI_NB_IN", "300"},
                  {"PROFI_NB_OUT", "+0"},
                  {"DNET_DEV_ID", "X3F"},
                  {"DNET_BAUD", "-256"}}),
       Bytes({0x04, 0x00, 0x00, 0x00, 0x7D, 0x0A, 0x2C, 0x00, 0x3F, 0x00})},
      {"children in another order", ReadBytes(DataFile("gateway/pargen_reordered.xml")),
       Bytes({0x04, 0x00, 0x00, 0x00, 0x21, 0x0A, 0x64, 0x07, 0x05, 0x01})},
  };
  for (const Case& c : cases) {
    TempDir project;
    fs::create_directory(project / "bin");
    if (c.pargen)
      WriteBytes(project / "pargen.xml", *c.pargen);
    const Status written = BuildAndWrite(project.path());
    ASSERT_TRUE(written.ok()) << c.what << ": " << written.error();
    EXPECT_EQ(ReadBytes(project / "bin" / "bank.bin"), c.bytes) << c.what;
  }
}

TEST(ConfigImage, HexBytesForTheCommandLine) {
  EXPECT_EQ(HexBytes({0x04, 0x00, 0x00, 0x00, 0x14, 0x0A, 0xFF}), "04 00 00 00 14 0A FF");
  EXPECT_EQ(HexBytes({}), "");
}

// A build that fails writes nothing: the previous image stays as it was.
TEST(ConfigImage, RefusedSettingsLeavePreviousImage) {
  struct Case {
    const char* what;
    std::string pargen;
    std::string message;  // empty: the parser's message
  } cases[] = {
      {"element missing", ParGenXml(Without("PROFI_NB_OUT")), "has no element PROFI_NB_OUT."},
      {"not an integer", ParGenXml(With("DNET_DEV_ID", "ten")),
       "'ten' is not a valid integer value"},
      {"empty text", ParGenXml(With("PROFI_ID", "")), "'' is not a valid integer value"},
      {"decimal out of 32 bits", ParGenXml(With("PROFI_ID", "4294967296")),
       "'4294967296' is not a valid integer value"},
      {"not XML", "<Par_Gen><PROFI_ID>20</PROFI_ID>", "is not a valid XML document"},
  };
  for (const Case& c : cases) {
    TempDir project;
    fs::create_directory(project / "bin");
    WriteBytes(project / "bin" / "bank.bin", "old image");
    WriteBytes(project / "pargen.xml", c.pargen);
    const Result<ConfigImage> image = BuildConfigImage(project.path());
    ASSERT_FALSE(image.ok()) << c.what;
    EXPECT_NE(image.error().find(c.message), std::string::npos) << c.what << ": " << image.error();
    EXPECT_EQ(ReadBytes(project / "bin" / "bank.bin"), "old image") << c.what;
  }
}

TEST(ConfigImage, MissingBinDirectoryIsCreated) {
  TempDir project;
  WriteBytes(project / "pargen.xml", kDefaultParGenText);
  ASSERT_TRUE(BuildAndWrite(project.path()).ok());
  EXPECT_EQ(ReadBytes(project / "bin" / "bank.bin"),
            Bytes({0x04, 0x00, 0x00, 0x00, 0x14, 0x0A, 0x14, 0x14, 0x0A, 0x02}));
}

TEST(ConfigImage, UnwritableImageIsReportedWithTheSystemsReason) {
  TempDir home;
  // The project directory is gone: bin cannot be created.
  const fs::path gone = home / "gone";
  const Status missing = WriteConfigImage(gone, {4, 0, 0, 0});
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(), "Cannot create file \"" + (gone / "bin" / "bank.bin").string() +
                                 "\". No such file or directory");
  // bin is a file, not a directory.
  WriteBytes(home / "bin", "a file");
  const Status blocked = WriteConfigImage(home.path(), {4, 0, 0, 0});
  ASSERT_FALSE(blocked.ok());
  // The system's reason for creating the folder, "File exists", told the user nothing.
  EXPECT_EQ(blocked.error(), "Cannot create file \"" + (home / "bin" / "bank.bin").string() +
                                 "\". " + SystemReason(ENOTDIR));
  EXPECT_EQ(ReadBytes(home / "bin"), "a file");
}

TEST(ConfigImage, NoProjectIsRefusedInsteadOfWritingBesideTheWorkingDirectory) {
  EXPECT_EQ(BuildConfigImage({}).error(), "Project not valid");
  EXPECT_EQ(WriteConfigImage({}, {4, 0, 0, 0}).error(), "Project not valid");
}

TEST(ConfigImage, FailedWriteLeavesPreviousImageWhole) {
  TempDir project;
  fs::create_directory(project / "bin");
  WriteBytes(project / "bin" / "bank.bin", "OLD");
  Status written = Status::Ok();
  {
    FileSizeLimit limit(4);
    written = WriteConfigImage(project.path(), {4, 0, 0, 0, 20, 10, 20, 20, 10, 2});
  }
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(ReadBytes(project / "bin" / "bank.bin"), "OLD");
  EXPECT_EQ(EntriesOf(project / "bin"), std::vector<std::string>{"bank.bin"});
}

}  // namespace
}  // namespace quastor::test
