// CSV lines of the exports: a cell is quoted only when it would otherwise shift the cells after
// it or break the line.

#include <gtest/gtest.h>

#include "platform/CsvText.h"

namespace quastor {
namespace {

TEST(CsvText, QuotesOnlyCellsThatNeedIt) {
  const struct {
    std::vector<std::string> cells;
    const char* line;
  } cases[] = {
      {{"0x181", "", "1"}, "0x181,,1,\r\n"},
      {{" lead", "trail ", "semi;colon", "café"}, " lead,trail ,semi;colon,café,\r\n"},
      {{"a,b", "x"}, "\"a,b\",x,\r\n"},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\",\r\n"},
      {{"two\r\nlines", "cr\r", "lf\n"}, "\"two\r\nlines\",\"cr\r\",\"lf\n\",\r\n"},
      {{}, "\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CsvLine(c.cells), c.line);
}

}  // namespace
}  // namespace quastor
