#pragma once
// A reader for the common subset of rich text (RTF) used by help files: paragraphs and line
// breaks, bold, italic, underline, font size, "\'hh" bytes of the document's code page and
// "\uN" characters. Destinations that carry no text (font and colour tables, pictures, "\*"
// groups and the like) are skipped.

#include <string>
#include <string_view>
#include <vector>

namespace quastor {

struct RtfRun {
  std::string text;  // UTF-8
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int halfPoints = 24;  // font size in half points (\fsN); 24 = 12 pt
};

struct RtfParagraph {
  std::vector<RtfRun> runs;
};

struct RtfDocument {
  std::vector<RtfParagraph> paragraphs;
  std::string PlainText() const;  // paragraphs joined by "\n"
};

// Whether the bytes are rich text (they begin with "{\rtf").
bool LooksLikeRtf(std::string_view bytes);

// Reads rich text; never fails: whatever cannot be understood is skipped.
RtfDocument ReadRtf(std::string_view rtf);

}  // namespace quastor
