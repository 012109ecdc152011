#include "update/FirmwareGeneration.h"

#include <system_error>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "platform/PathText.h"
#include "platform/ProcessLauncher.h"
#include "platform/Text.h"
#include "platform/WriteTemporaries.h"
#include "update/SRecordMerge.h"
#include "update/StreamFiles.h"
#include "update/UpdateTexts.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;

// The degree sign of the stage names and the pilcrow sign of the programmer's parameters are
// kept as UTF-8 here; on Windows the platform layer hands them to the system as wide
// characters, which ANSI programs and the file system see as the code page's bytes 0xB0 and
// 0xB6.
constexpr char kDegree[] = "\xC2\xB0";
constexpr char kPilcrow[] = "\xC2\xB6";

constexpr int kFailed = -1;

// The name of the run's work directory in the temporary directory.
constexpr char kStageStem[] = "quastor-firmware";

// Stage of a selected bank: 1 when the image went in, 0 when the bank's range was not found,
// -1 after a failure (told through events).
int RunSelectedBank(const FirmwareJob& job, int bank, const fs::path& input, const fs::path& output,
                    const PipelineEvents& events) {
  std::error_code ec;
  if (events.progress)
    events.progress(0, 1);
  if (!fs::exists(input, ec)) {
    events.message(update_texts::kStageInputMissing);
    return kFailed;
  }
  if (job.newName.empty()) {
    events.message(update_texts::kNewNameEmpty);
    return kFailed;
  }
  if (!fs::is_directory(job.binDir, ec)) {
    events.message(update_texts::kBinDirMissing);
    return kFailed;
  }
  const fs::path image = job.binDir / ("bank" + std::to_string(bank) + ".bin");
  if (!fs::exists(image, ec)) {
    events.message(FormatText(update_texts::kBankImageMissing, {std::to_string(bank)}));
    return kFailed;
  }
  MergeRequest request;
  request.input = input;
  request.image = image;
  request.output = output;
  request.bank = bank;
  request.firstAddress = BankFirstAddress(bank);
  request.progress = events.progress;
  const Result<BankMerge> merged = MergeBank(request);
  if (!merged) {
    events.message(merged.error());
    return kFailed;
  }
  return static_cast<int>(*merged);
}

// Stage of an unselected bank: its output is its input. The installed firmware file is
// copied, never moved; a stage file is renamed.
bool PassOn(int bank, const fs::path& input, const fs::path& output, const PipelineEvents& events) {
  std::error_code ec;
  if (!fs::exists(input, ec)) {
    events.message(update_texts::kStageInputMissing);
    return false;
  }
  fs::remove(output, ec);
  if (bank == 1) {
    fs::copy_file(input, output, fs::copy_options::overwrite_existing, ec);
  } else {
    fs::rename(input, output, ec);
  }
  if (ec) {
    events.message(FormatText(update_texts::kCannotWrite, {Utf8FromPath(output), ec.message()}));
    return false;
  }
  return true;
}

// The stage files that runs of earlier versions left in the project directory.
void RemoveStageFiles(const fs::path& output_dir) {
  std::error_code ignored;
  for (int bank = 1; bank <= kBankCount; ++bank) {
    fs::remove(output_dir / BankTemporaryName(bank), ignored);
  }
}

}  // namespace

std::uint32_t BankFirstAddress(int bank) {
  return 0x388000u + 0x10000u * static_cast<std::uint32_t>(bank - 1);
}

fs::path BankTemporaryName(int bank) {
  return PathFromUtf8(std::string(kDegree) + "B" + std::to_string(bank) + kDegree + ".sx");
}

std::array<bool, kBankCount> BankSelection(int product_variant) {
  if (product_variant == 2)
    return {true, true, false, false, false};
  return {};
}

fs::path FirmwareJob::NewFile() const {
  return outputDir / PathFromUtf8(newName);
}

Result<FirmwareJob> PrepareFirmwareJob(const AppState& state) {
  std::error_code ec;
  if (state.MasterDir.empty())
    return Failure{update_texts::kFirmwareDirMissing};
  if (!fs::is_directory(state.MasterDir, ec)) {
    return Failure{FormatText(update_texts::kLookedFor,
                              {update_texts::kFirmwareDirMissing, Utf8FromPath(state.MasterDir)})};
  }
  const fs::path source = state.MasterDir / update_texts::kSourceName;
  if (!fs::is_regular_file(source, ec)) {
    return Failure{FormatText(update_texts::kLookedFor,
                              {update_texts::kFirmwareFileMissing, Utf8FromPath(source)})};
  }
  // Without a project the new file would land in whatever directory an empty path names.
  if (!state.ProjectSelected() || !fs::is_directory(state.ProjectDir, ec)) {
    return Failure{app_texts::kProjectNotValid};
  }
  FirmwareJob job;
  job.source = source;
  job.outputDir = state.ProjectDir;
  job.binDir = state.BinDir();
  job.newName = std::string(update_texts::kNewPrefix) + update_texts::kSourceName;
  job.selected = BankSelection(ProductVariant);
  return job;
}

PipelineOutcome RunBankPipeline(const FirmwareJob& job, const PipelineEvents& events) {
  PipelineOutcome outcome;
  // The stage files live in a directory of the run's own in the temporary directory: a run
  // that is killed leaves nothing in the project, and the next run removes what it left.
  const Result<fs::path> stages = MakeWorkDirectory(kStageStem);
  if (!stages) {
    std::error_code ec;
    const fs::path where = fs::temp_directory_path(ec) / kStageStem;
    events.message(FormatText(update_texts::kCannotWrite, {Utf8FromPath(where), stages.error()}));
    return outcome;
  }
  int result = 0;
  bool failed = false;
  for (int bank = 1; bank <= kBankCount && !failed; ++bank) {
    const fs::path input = bank == 1 ? job.source : *stages / BankTemporaryName(bank - 1);
    const fs::path output = *stages / BankTemporaryName(bank);
    if (job.selected[bank - 1]) {
      result = RunSelectedBank(job, bank, input, output, events);
    } else if (!PassOn(bank, input, output, events)) {
      result = kFailed;
    }
    failed = result == kFailed;
    if (result == 0)
      outcome.marked[bank - 1] = true;
  }
  if (!failed) {
    // The new file replaces the old one only once it is complete: a failed run leaves the old
    // one as it was (and the programmer is started only after a complete run).
    const Status published =
        ReplaceWithCopy(job.NewFile(), *stages / BankTemporaryName(kBankCount));
    if (!published) {
      events.message(
          FormatText(update_texts::kCannotWrite, {Utf8FromPath(job.NewFile()), published.error()}));
      failed = true;
    }
  }
  std::error_code ignored;
  fs::remove_all(*stages, ignored);
  RemoveStageFiles(job.outputDir);
  outcome.complete = !failed;
  return outcome;
}

std::string FlashWriteParameters(const fs::path& new_file, int port_index) {
  return "\"" + Utf8FromPath(new_file) + "\"" + kPilcrow + std::to_string(port_index);
}

Result<ProgramStart> FlashWriteStart(const FirmwareJob& job, const fs::path& app_dir,
                                     int port_index) {
  std::error_code ec;
  const fs::path new_file = job.NewFile();
  if (job.newName.empty() || !fs::is_regular_file(new_file, ec)) {
    return Failure{update_texts::kStageInputMissing};
  }
  const fs::path program = ExternalProgram(app_dir, update_texts::kFlashProgram);
  if (!fs::exists(program, ec))
    return Failure{update_texts::kFlashWriteMissing};
  return ProgramStart{program, FlashWriteParameters(new_file, port_index)};
}

}  // namespace quastor
