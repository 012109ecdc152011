#pragma once
// The help file: help<ProductVariant>.dat of the application directory, or of the
// installation's data directory when the application directory has none; shown as rich text
// when it is RTF, else as plain text.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

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

// The help has a section per window, headed by a paragraph that names the window's caption:
// the paragraph's text up to its first " (" (which may say the window's file) is the caption,
// letter case, blanks around and dots at the end aside. The first such paragraph, or nothing
// when the help has none for the caption; the help's start tells the main window.
std::optional<std::size_t> HelpSection(const RtfDocument& document, std::string_view caption);

}  // namespace quastor
