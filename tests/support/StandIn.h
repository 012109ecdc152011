#pragma once
// The stand-in program (StandInProgram.cpp) placed where a test needs a program of its own.

#include <filesystem>

namespace quastor::test {

// Copies the stand-in to path (give it the ".exe" that Windows needs); sleeps for sleep_ms
// milliseconds when started, if given.
void PlaceStandIn(const std::filesystem::path& path, long sleep_ms = 0);

// The name a program has on this system: "name.exe" on Windows, "name" elsewhere.
std::string ProgramName(const std::string& name);

}  // namespace quastor::test
