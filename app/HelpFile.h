#pragma once
// The help file: help<ProductVariant>.dat of the application directory, or of the
// installation's data directory when the application directory has none; shown as rich text
// when it is RTF, else as plain text.

#include <filesystem>

#include "app/AppState.h"
#include "app/RtfText.h"
#include "platform/Result.h"

namespace quastor {

struct HelpText {
  bool rich = false;
  RtfDocument document;  // plain text arrives as unformatted paragraphs
};

// AppDir's help file when there is one (or DataDir is empty), else DataDir's.
std::filesystem::path HelpFilePath(const AppState& state);

// Fails with "Impossible to read file Help" when the file is missing or unreadable.
Result<HelpText> LoadHelpFile(const std::filesystem::path& file);

}  // namespace quastor
