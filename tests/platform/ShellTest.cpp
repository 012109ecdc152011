// Starting a program and waiting for it, with real programs.

#include <gtest/gtest.h>

#include <chrono>

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "platform/ui/Shell.h"

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

#ifndef _WIN32
TEST(ShellWait, OutcomesAndALimitThatNeverEndsEarly) {
  QtShell shell;
  const auto start = std::chrono::steady_clock::now();
  const WaitResult long_run = shell.StartAndWait("/bin/sleep", "1.5", false, 1000ms);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(long_run.outcome, WaitResult::Outcome::kTimedOut);
  EXPECT_GE(waited, 1000ms) << "the wait ended before its limit";
  EXPECT_LT(waited, 1500ms);
  LetLeftProgramsEnd(1000ms);

  EXPECT_EQ(shell.StartAndWait("/bin/true", "", false, 5000ms).outcome,
            WaitResult::Outcome::kFinished);
  const WaitResult missing = shell.StartAndWait("/no/such/program", "", false, 5000ms);
  EXPECT_EQ(missing.outcome, WaitResult::Outcome::kNotStarted);
  EXPECT_FALSE(missing.reason.empty());
}

// The application quitting ends the wait: that is neither a finished nor a failed start.
// (After a quit no event loop of this process runs again, so this test stands alone.)
TEST(ShellWaitAlone, ApplicationQuittingAbandonsTheWait) {
  QtShell shell;
  WaitResult result;
  // As in the program: the wait runs inside the application's event loop, which is told to
  // quit while the program still runs.
  QTimer::singleShot(0, qApp, [&] {
    QTimer::singleShot(100, qApp, &QCoreApplication::quit);
    result = shell.StartAndWait("/bin/sleep", "0.5", false, 10000ms);
  });
  QApplication::exec();
  LetLeftProgramsEnd(1000ms);
  EXPECT_EQ(result.outcome, WaitResult::Outcome::kAbandoned);
  EXPECT_TRUE(result.reason.empty());
}
#endif

}  // namespace
}  // namespace quastor
