#include "platform/ui/Shell.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include "platform/ProcessLauncher.h"
#include "platform/ui/QtText.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quastor {
namespace {

void SetParameters(QProcess& process, const std::filesystem::path& program,
                   const std::string& parameters) {
  process.setProgram(QPath(program));
#ifdef Q_OS_WIN
  process.setNativeArguments(Q(parameters));
#else
  QStringList arguments;
  for (const auto& argument : SplitCommandLine(parameters))
    arguments << Q(argument);
  process.setArguments(arguments);
#endif
}

}  // namespace

bool QtShell::OpenUrl(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(Q(url)));
}

Status QtShell::StartProgram(const std::filesystem::path& program, const std::string& parameters) {
  QProcess process;
  SetParameters(process, program, parameters);
  process.setStandardInputFile(QProcess::nullDevice());
  if (!process.startDetached()) {
    return Failure{S(process.errorString())};
  }
  return Status::Ok();
}

WaitResult QtShell::StartAndWait(const std::filesystem::path& program,
                                 const std::string& parameters, bool hidden,
                                 std::chrono::milliseconds limit) {
  // The process object outlives a time-out: it is parented to nothing and deletes itself when
  // the program ends, so the program keeps running after the wait gives up.
  auto* process = new QProcess();
  SetParameters(*process, program, parameters);
#ifdef Q_OS_WIN
  if (hidden) {
    process->setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) {
      args->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
      args->startupInfo->wShowWindow = SW_HIDE;
    });
  }
#else
  (void)hidden;
#endif
  WaitResult result;
  bool done = false;
  QEventLoop loop;
  auto finish = [&](WaitResult::Outcome outcome) {
    if (done)
      return;
    done = true;
    result.outcome = outcome;
    loop.quit();
  };
  QObject::connect(process, &QProcess::finished, &loop,
                   [&] { finish(WaitResult::Outcome::kFinished); });
  QObject::connect(process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
      result.reason = S(process->errorString());
      finish(WaitResult::Outcome::kNotStarted);
    }
  });
  // A timer may fire a little early; the limit counts on the monotonic clock, and an early
  // timer is started again for the rest.
  const auto deadline = std::chrono::steady_clock::now() + limit;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() > 0) {
      timer.start(left);
      return;
    }
    finish(WaitResult::Outcome::kTimedOut);
  });
  process->start();
  timer.start(limit);
  if (!done)
    loop.exec();
  if (!done) {
    // The loop ended without an outcome of its own: the application is quitting.
    done = true;
    result.outcome = WaitResult::Outcome::kAbandoned;
  }
  QObject::disconnect(process, nullptr, &loop, nullptr);
  if (result.outcome == WaitResult::Outcome::kTimedOut ||
      result.outcome == WaitResult::Outcome::kAbandoned) {
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  } else {
    process->deleteLater();
  }
  return result;
}

}  // namespace quastor
