#pragma once
// What a status line says after an action: the file saved, exported, imported or written, and
// what it holds. The counts come from the subsystems' own counting; these only word them.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/Result.h"

namespace quastor {

// Records or rows of the two CAN sides.
struct SideCounts {
  std::size_t a = 0;
  std::size_t b = 0;
  std::size_t Total() const { return a + b; }
};

// "5 records", "1 record": count and the word, singular for exactly one.
std::string CountText(std::size_t count, const char* one, const char* many);

// "Receive_Frame.xml saved: 5 records".
std::string SavedReport(const std::string& file, std::size_t records);
// "sdo.xml saved: 45 records (CAN A 41, CAN B 4)".
std::string SavedReport(const std::string& file, const SideCounts& records);
// "Exported <path> (45 rows)".
std::string ExportedReport(const std::filesystem::path& file, std::size_t rows);
// "Imported 45 rows from <workbook's file name>, sheet <sheet>: CAN A 41, CAN B 4".
std::string ImportedReport(const std::filesystem::path& workbook, const std::string& sheet,
                           const SideCounts& rows);
// "Replace the 3 rows of sdo.xml with the 45 rows of sdo?"
std::string ReplaceRowsQuestion(std::size_t held, const std::string& table, std::size_t imported,
                                const std::string& sheet);
// "bank.bin written (10 bytes)".
std::string WrittenReport(const std::string& name, std::uintmax_t bytes);
// The same for a file as it stands on disk: its name and its size now.
Result<std::string> FileWrittenReport(const std::filesystem::path& file);

}  // namespace quastor
