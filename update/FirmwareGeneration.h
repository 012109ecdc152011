#pragma once
// Firmware file generation: the installed firmware file MASTER/sx4375.sx goes through five
// stages, one per memory bank; a selected bank puts its image from the project's bin directory
// into the records, an unselected bank passes the file on. The result, New_sx4375.sx in the
// project directory, is handed with the chosen port to the flash programmer.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/Result.h"

namespace quastor {

struct AppState;

inline constexpr int kBankCount = 5;

// Bank n (1 to 5) spans 16384 bytes from 0x388000 + 0x10000 * (n - 1).
std::uint32_t BankFirstAddress(int bank);

// The stage output of bank n: "°Bn°.sx" in the run's work directory.
std::filesystem::path BankTemporaryName(int bank);

// The banks a product variant puts images into (variant 2: banks 1 and 2).
std::array<bool, kBankCount> BankSelection(int product_variant);

struct FirmwareJob {
  std::filesystem::path source;     // MASTER/sx4375.sx
  std::filesystem::path outputDir;  // the project directory
  std::filesystem::path binDir;     // the project's bin directory, holding bank1.bin to bank5.bin
  std::string newName;              // New_sx4375.sx
  std::array<bool, kBankCount> selected{};

  std::filesystem::path NewFile() const;
};

// The checks made when the dialog is shown. Fails with the message of an error box when the
// MASTER directory or the firmware file is missing, or when no project is selected.
Result<FirmwareJob> PrepareFirmwareJob(const AppState& state);

struct PipelineEvents {
  std::function<void(const std::string& text)> message;  // a plain message box
  // Progress of the bank being processed; starts again at 0 for every bank.
  std::function<void(std::uint64_t done, std::uint64_t total)> progress;
};

struct PipelineOutcome {
  bool complete = false;                  // every stage ran and the new file was written
  std::array<bool, kBankCount> marked{};  // banks whose mark turns red
};

// Runs the five stages in a work directory of the run's own in the temporary directory, which
// is removed at the end of every run (and, after a run that was killed, by the next run). The
// first failure is told through events.message and stops the run. The new file replaces the
// old one (written through the links in its place, keeping its permission bits) only once it
// is complete, so a failed run leaves the old one as it was. A bank whose range is not in its
// input is marked, and the mark carries over to the unselected banks after it.
PipelineOutcome RunBankPipeline(const FirmwareJob& job, const PipelineEvents& events);

struct ProgramStart {
  std::filesystem::path program;
  std::string parameters;
};

// The flash programmer's parameters: the new file in double quotes, the pilcrow sign and the
// port's 0-based index, without blanks.
std::string FlashWriteParameters(const std::filesystem::path& new_file, int port_index);

// What starts the flash programmer after a complete run; fails with the message to show when
// the new file or the programmer is missing.
Result<ProgramStart> FlashWriteStart(const FirmwareJob& job, const std::filesystem::path& app_dir,
                                     int port_index);

}  // namespace quastor
