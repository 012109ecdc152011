#pragma once
// Running a piece of work whose library may crash on hostile input (a workbook reader) in a
// child process, so that a crash or a hang costs the work, never the program and the user's
// unsaved edits.

#include <chrono>
#include <functional>
#include <string>

#include "platform/Result.h"

namespace quastor {

// Reasons of a failure (the caller puts them into its own message).
inline constexpr char kIsolatedCrashed[] = "the reader stopped on this file (signal %d)";
inline constexpr char kIsolatedTimedOut[] = "reading took longer than %d seconds";
inline constexpr char kIsolatedFailed[] = "the reader could not be run (%s)";

// Runs work in a child process and gives back the bytes it returned. A child killed by a
// signal, or still running after limit, is a failure; the child is then ended. Where the
// system has no fork (Windows), work runs in this process.
Result<std::string> RunIsolated(const std::function<std::string()>& work,
                                std::chrono::seconds limit);

}  // namespace quastor
