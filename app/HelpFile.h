#pragma once
// The help file of the application directory: help<ProductVariant>.dat, shown as rich text
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

std::filesystem::path HelpFilePath(const AppState& state);

// Fails with "Impossible to read file Help" when the file is missing or unreadable.
Result<HelpText> LoadHelpFile(const std::filesystem::path& file);

}  // namespace quastor
