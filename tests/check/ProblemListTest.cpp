// The order and wording of a file's problems.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/ProblemList.h"
#include "check/ProjectCheck.h"

namespace quastor::test {
namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const ProblemList& list) {
  Lines lines;
  for (const CheckProblem& problem : list.Sorted())
    lines.push_back(ProblemLine(problem));
  return lines;
}

// Catches problems given out of file order, a range of one row told as a range, a problem that
// two checks find told twice, and the windows' trailing blanks kept in a line.
TEST(ProblemList, FileThenRecordsInOrderThenWholePagesOnceEach) {
  ProblemList list("rpdodef.xml");
  list.Whole("page \"PDO From CanA to CanB\"", "2 records do not fit");
  list.Record(3, "attribute \"posind\" is missing");
  list.Rows(17, 19, "beyond 16");
  list.Record(1, "b");
  list.Rows(5, 5, "alone");
  list.Record(3, "attribute \"posind\" is missing");
  list.Record(3, "attribute \"cobid\": 'x' is not a valid integer value");
  list.File("does not parse");
  list.Row(2, "Error!! Priority must be between 0 and 7. ");
  list.Whole("GSD file", "refuses");
  EXPECT_EQ(LinesOf(list),
            (Lines{"rpdodef.xml: file: does not parse", "rpdodef.xml: record 1: b",
                   "rpdodef.xml: row 2: Error!! Priority must be between 0 and 7.",
                   "rpdodef.xml: record 3: attribute \"posind\" is missing",
                   "rpdodef.xml: record 3: attribute \"cobid\": 'x' is not a valid integer value",
                   "rpdodef.xml: row 5: alone", "rpdodef.xml: rows 17 to 19: beyond 16",
                   "rpdodef.xml: page \"PDO From CanA to CanB\": 2 records do not fit",
                   "rpdodef.xml: GSD file: refuses"}));
}

}  // namespace
}  // namespace quastor::test
