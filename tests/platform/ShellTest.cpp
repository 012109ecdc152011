// Starting a program and waiting for it, with real programs.

#include <gtest/gtest.h>

#include <chrono>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "platform/ui/Shell.h"
#include "tests/support/StandIn.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

using namespace std::chrono_literals;

// Lets a program left running end, and its process object go, so that nothing outlives the
// test.
void LetLeftProgramsEnd(std::chrono::milliseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < until) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST(ShellWait, OutcomesAndALimitThatNeverEndsEarly) {
  test::TempDir dir;
  const auto slow = dir / "slow" / test::ProgramName("slow");
  const auto quick = dir / "quick" / test::ProgramName("quick");
  test::PlaceStandIn(slow, 1500);
  test::PlaceStandIn(quick);
  QtShell shell;
  const auto start = std::chrono::steady_clock::now();
  const WaitResult long_run = shell.StartAndWait(slow, "", false, 1000ms);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(long_run.outcome, WaitResult::Outcome::kTimedOut);
  EXPECT_GE(waited, 1000ms) << "the wait ended before its limit";
  EXPECT_LT(waited, 1500ms);
  LetLeftProgramsEnd(1000ms);

  EXPECT_EQ(shell.StartAndWait(quick, "", false, 5000ms).outcome, WaitResult::Outcome::kFinished);
  const WaitResult missing =
      shell.StartAndWait(dir / "no" / test::ProgramName("such"), "", false, 5000ms);
  EXPECT_EQ(missing.outcome, WaitResult::Outcome::kNotStarted);
  EXPECT_FALSE(missing.reason.empty());
}

// The application quitting ends the wait: that is neither a finished nor a failed start.
// (After a quit no event loop of this process runs again, so this test stands alone.)
TEST(ShellWaitAlone, ApplicationQuittingAbandonsTheWait) {
  test::TempDir dir;
  const auto slow = dir / test::ProgramName("slow");
  test::PlaceStandIn(slow, 500);
  QtShell shell;
  WaitResult result;
  // As in the program: the wait runs inside the application's event loop, which is told to
  // quit while the program still runs.
  QTimer::singleShot(0, qApp, [&] {
    QTimer::singleShot(100, qApp, &QCoreApplication::quit);
    result = shell.StartAndWait(slow, "", false, 10000ms);
  });
  QApplication::exec();
  LetLeftProgramsEnd(1000ms);
  EXPECT_EQ(result.outcome, WaitResult::Outcome::kAbandoned);
  EXPECT_TRUE(result.reason.empty());
}

}  // namespace
}  // namespace quastor
