// Work run in a child process: its answer comes back whole, a crash or a hang is a failure
// with a reason, and a workbook reading's outcome survives the way out of the child.

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

#include "platform/IsolatedCall.h"
#include "platform/WorkbookTransfer.h"

namespace quastor {
namespace {

using namespace std::chrono_literals;

#ifndef _WIN32
TEST(IsolatedCall, AnswersCrashesAndHangs) {
  const std::string big(3 << 20, 'x');  // more than a pipe holds at once
  struct Case {
    const char* what;
    std::function<std::string()> work;
    std::string answer;  // expected bytes, or the expected failure
    bool ok;
  } cases[] = {
      {"an answer larger than the pipe", [&] { return big; }, big, true},
      {"an empty answer", [] { return std::string(); }, "", true},
      {"a library that aborts", []() -> std::string { std::abort(); },
       "the reader stopped on this file (signal " + std::to_string(SIGABRT) + ")", false},
      {"a library that hangs",
       [] {
         std::this_thread::sleep_for(10s);
         return std::string("late");
       },
       "reading took longer than 1 seconds", false},
  };
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    const Result<std::string> result = RunIsolated(c.work, 1s);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << c.what;
    ASSERT_EQ(result.ok(), c.ok) << c.what;
    EXPECT_EQ(c.ok ? *result : result.error(), c.answer) << c.what;
  }
}
#endif

TEST(WorkbookTransfer, OutcomesComeBackWholeAndACutAnswerFails) {
  WorkbookSheet sheet{"Mixed Case",
                      3,
                      {"a", "", "c"},
                      {{"1", std::nullopt, ""}, {}},
                      {{1, 1, "the formula's result is not stored"}}};
  const std::string encoded = workbook::EncodeSheet(std::optional<WorkbookSheet>(sheet));
  const auto decoded = workbook::DecodeSheet(encoded);
  ASSERT_TRUE(decoded.ok() && decoded->has_value()) << (decoded ? "" : decoded.error());
  EXPECT_EQ((*decoded)->name, sheet.name);
  EXPECT_EQ((*decoded)->columnCount, 3u);
  EXPECT_EQ((*decoded)->headings, sheet.headings);
  EXPECT_EQ((*decoded)->rows, sheet.rows);
  ASSERT_EQ((*decoded)->unread.size(), 1u);
  EXPECT_EQ((*decoded)->unread[0].row, 1u);
  EXPECT_EQ((*decoded)->unread[0].column, 1u);
  EXPECT_EQ((*decoded)->unread[0].reason, sheet.unread[0].reason);

  EXPECT_FALSE(
      workbook::DecodeSheet(workbook::EncodeSheet(std::optional<WorkbookSheet>()))->has_value());
  EXPECT_EQ(workbook::DecodeSheet(workbook::EncodeSheet(Failure{"damaged"})).error(), "damaged");
  const auto names =
      workbook::DecodeNames(workbook::EncodeNames(std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(*names, (std::vector<std::string>{"a", "b"}));
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, encoded.size() / 2, encoded.size() - 1})
    EXPECT_FALSE(workbook::DecodeSheet(encoded.substr(0, cut)).ok()) << cut;
}

}  // namespace
}  // namespace quastor
