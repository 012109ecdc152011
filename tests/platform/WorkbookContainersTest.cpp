// The containers of workbooks as the adapter reads them itself: the compound file and BIFF8
// records behind the .xls formula results (streams from regular and mini sectors, damaged
// chains that must end, not loop or read past the bytes), and the zip directory of .xlsx and
// .ods checked before liborcus trusts its sizes.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/WorkbookCompoundFile.h"
#include "platform/WorkbookXlsFormulas.h"
#include "platform/WorkbookZipCheck.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

using workbook::CompoundFile;

std::uint32_t U32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Where things are in cells.xls (512-byte sectors, the Workbook stream in regular sectors).
struct Layout {
  std::size_t fat;       // offset of the first FAT sector
  std::size_t workbook;  // offset of the Workbook directory entry
  std::uint32_t start;   // first sector of the Workbook stream
};

Layout LayoutOf(const std::string& bytes) {
  const std::size_t directory = (U32(bytes, 0x30) + 1) * 512;
  const std::size_t workbook = directory + 128;  // after the root entry
  return {(U32(bytes, 0x4C) + 1) * 512, workbook, U32(bytes, workbook + 0x74)};
}

TEST(WorkbookCompoundFile, StreamsAndDamagedChains) {
  const std::string xls = test::ReadBytes(test::DataFile("workbook/cells.xls"));
  const Layout layout = LayoutOf(xls);
  const struct {
    const char* what;
    std::function<void(std::string&)> damage;
    bool readable;
  } cases[] = {
      {"sound file", [](std::string&) {}, true},
      {"chain loops onto itself",
       [&](std::string& b) { PutU32(b, layout.fat + 4 * layout.start, layout.start); }, false},
      {"chain leaves the table",
       [&](std::string& b) { PutU32(b, layout.fat + 4 * layout.start, 0x00FFFFFF); }, false},
      {"stream larger than the file",
       [&](std::string& b) { PutU32(b, layout.workbook + 0x78, 0x7FFFFFFF); }, false},
      {"stream starts past the end",
       [&](std::string& b) { PutU32(b, layout.workbook + 0x74, 0x00FFFFFF); }, false},
      {"file cut short", [](std::string& b) { b.resize(1200); }, false},
      {"FAT sector past the end", [](std::string& b) { PutU32(b, 0x4C, 0x00FFFFFF); }, false},
      {"unknown sector size", [](std::string& b) { b[0x1E] = 10; }, false},
      {"not a compound file", [](std::string& b) { b[0] = 'X'; }, false},
  };
  for (const auto& c : cases) {
    std::string bytes = xls;
    c.damage(bytes);
    const auto stream = CompoundFile(bytes).Stream("Workbook");
    EXPECT_EQ(stream.has_value(), c.readable) << c.what;
    if (stream) {
      EXPECT_EQ(stream->substr(0, 2), "\x09\x08") << c.what;  // the BOF record
      EXPECT_EQ(CompoundFile(bytes).Stream("WORKBOOK"), stream) << "names ignore case";
    }
  }
  EXPECT_FALSE(CompoundFile(xls).Stream("Book").has_value());
}

TEST(WorkbookCompoundFile, SmallStreamsFromMiniSectors) {
  // LibreOffice keeps a small workbook in the root entry's mini stream.
  const std::string xls = test::ReadBytes(test::DataFile("workbook/cells-libreoffice.xls"));
  const auto stream = CompoundFile(xls).Stream("Workbook");
  ASSERT_TRUE(stream.has_value());
  EXPECT_LT(stream->size(), 4096u);
  EXPECT_EQ(stream->substr(0, 2), "\x09\x08");
}

TEST(WorkbookXlsFormulas, StoredResultsOfOneSheet) {
  const std::string xls = test::ReadBytes(test::DataFile("workbook/cells.xls"));
  const auto results = workbook::XlsFormulaResults(xls, "Mixed Case");
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0].row, 2u);
  EXPECT_EQ(results[0].column, 0u);
  EXPECT_EQ(workbook::CellText(results[0].value), "42");
  EXPECT_EQ(workbook::CellText(results[1].value), "0x1F");  // text from the STRING record
  EXPECT_EQ(workbook::CellText(results[2].value), "0.25");
  EXPECT_TRUE(workbook::XlsFormulaResults(xls, "First").empty());
  EXPECT_TRUE(workbook::XlsFormulaResults(xls, "mixed case").empty()) << "exact names only";
  EXPECT_TRUE(workbook::XlsFormulaResults(xls.substr(0, 3000), "Mixed Case").empty());
}

TEST(WorkbookZipCheck, SizesOutsideTheArchiveAreRefused) {
  const std::string xlsx = test::ReadBytes(test::DataFile("workbook/cells.xlsx"));
  const std::size_t end = xlsx.rfind("PK\x05\x06");
  ASSERT_NE(end, std::string::npos);
  const std::size_t directory = U32(xlsx, end + 16);
  const std::size_t local = U32(xlsx, directory + 42);
  const struct {
    const char* what;
    std::function<void(std::string&)> damage;
    const char* problem;  // nullptr: no problem
  } cases[] = {
      {"sound archive", [](std::string&) {}, nullptr},
      {"compressed size past the file",
       [&](std::string& b) { PutU32(b, directory + 20, 0xFFFFF000); }, "larger than the file"},
      {"inflated size of 2 GB in the directory",
       [&](std::string& b) { PutU32(b, directory + 24, 0x7FFFFFFF); }, "larger than 256 MB"},
      {"inflated size of 2 GB in the local header",
       [&](std::string& b) { PutU32(b, local + 22, 0x7FFFFFFF); }, "larger than 256 MB"},
      {"64-bit archive marks", [&](std::string& b) { PutU32(b, directory + 24, 0xFFFFFFFF); },
       "larger than 256 MB"},
      {"directory past the end", [&](std::string& b) { PutU32(b, end + 16, 0x7FFFFFFF); },
       "damaged zip archive"},
      {"local header past the end", [&](std::string& b) { PutU32(b, directory + 42, 0x7FFFFFFF); },
       "damaged zip archive"},
      {"no end record", [&](std::string& b) { b.resize(end); }, "damaged zip archive"},
      {"a few bytes", [](std::string& b) { b.resize(10); }, "damaged zip archive"},
  };
  for (const auto& c : cases) {
    std::string bytes = xlsx;
    c.damage(bytes);
    const std::optional<std::string> problem = workbook::ZipProblem(bytes);
    if (c.problem == nullptr) {
      EXPECT_EQ(problem, std::nullopt) << c.what;
    } else {
      ASSERT_TRUE(problem.has_value()) << c.what;
      EXPECT_NE(problem->find(c.problem), std::string::npos) << c.what << ": " << *problem;
    }
  }
}

}  // namespace
}  // namespace quastor
