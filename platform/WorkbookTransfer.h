#pragma once
// A workbook reading's outcome as bytes and back, to carry it out of the child process that
// reads the file (platform/IsolatedCall.h).

#include <optional>
#include <string>
#include <vector>

#include "platform/Workbook.h"

namespace quastor::workbook {

std::string EncodeSheet(const Result<std::optional<WorkbookSheet>>& sheet);
// Fails when the bytes are not a whole encoding (a child that stopped half-way).
Result<std::optional<WorkbookSheet>> DecodeSheet(const std::string& bytes);

std::string EncodeNames(const Result<std::vector<std::string>>& names);
Result<std::vector<std::string>> DecodeNames(const std::string& bytes);

}  // namespace quastor::workbook
