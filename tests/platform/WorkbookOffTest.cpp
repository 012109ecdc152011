// A build without the workbook libraries keeps the interface and refuses every read.

#include <gtest/gtest.h>

#include "platform/PathText.h"
#include "platform/Workbook.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

TEST(WorkbookOff, EveryReadFailsWithTheSameMessage) {
  EXPECT_FALSE(WorkbookSupported());
  const auto file = test::DataFile("workbook/cells.xlsx");
  const Result<std::vector<std::string>> names = WorkbookSheetNames(file);
  ASSERT_FALSE(names.ok());
  const std::string expected =
      "Cannot read workbook \"" + Utf8FromPath(file) + "\": " + kWorkbookNotAvailable;
  EXPECT_EQ(names.error(), expected);
  const Result<std::optional<WorkbookSheet>> sheet = ReadWorkbookSheet(file, "First");
  ASSERT_FALSE(sheet.ok());
  EXPECT_EQ(sheet.error(), expected);
}

}  // namespace
}  // namespace quastor
