#include "app/RtfText.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "platform/Text.h"
#include "platform/TextCodec.h"

namespace quastor {
namespace {

struct CharacterState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int halfPoints = 24;
  bool skip = false;    // inside a destination without text
  int unicodeSkip = 1;  // \ucN: bytes that stand in for each \uN character
};

// Destinations whose content is not text to show.
bool IsHiddenDestination(const std::string& word) {
  static const char* const kHidden[] = {
      "fonttbl",      "colortbl",  "stylesheet", "info",
      "pict",         "header",    "footer",     "headerl",
      "headerr",      "headerf",   "footerl",    "footerr",
      "footerf",      "object",    "listtable",  "listoverridetable",
      "rsidtbl",      "generator", "themedata",  "colorschememapping",
      "latentstyles", "datastore", "xmlnstbl",   "filetbl",
      "revtbl",       "pgdsctbl",  "fldinst",    "bkmkstart",
      "bkmkend",      "field",     "nonshppict", "template",
      "docvar"};
  for (const char* hidden : kHidden) {
    if (word == hidden)
      return true;
  }
  return false;
}

class Reader {
 public:
  explicit Reader(std::string_view rtf) : in_(rtf) { doc_.paragraphs.emplace_back(); }

  RtfDocument Read() {
    std::vector<CharacterState> stack;
    while (pos_ < in_.size()) {
      const char c = in_[pos_++];
      if (c == '{') {
        stack.push_back(state_);
        destination_start_ = true;
      } else if (c == '}') {
        if (!stack.empty()) {
          state_ = stack.back();
          stack.pop_back();
        }
        destination_start_ = false;
      } else if (c == '\\') {
        ControlSymbol();
      } else if (c == '\r' || c == '\n') {
        // line ends in the source carry no meaning
      } else if (static_cast<unsigned char>(c) >= 0x80) {
        // Bytes beyond ASCII are characters of the document's code page.
        destination_start_ = false;
        Text(Windows1252ToUtf8(std::string_view(&c, 1)));
      } else {
        destination_start_ = false;
        Text(std::string(1, c));
      }
    }
    // Drop a trailing empty paragraph left by the final \par.
    if (doc_.paragraphs.size() > 1 && doc_.paragraphs.back().runs.empty()) {
      doc_.paragraphs.pop_back();
    }
    return std::move(doc_);
  }

 private:
  void ControlSymbol() {
    if (pos_ >= in_.size())
      return;
    const char c = in_[pos_];
    if (std::isalpha(static_cast<unsigned char>(c))) {
      ControlWord();
      return;
    }
    ++pos_;
    const bool at_start = destination_start_;
    destination_start_ = false;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        Text(std::string(1, c));
        break;
      case '~':
        Text("\xC2\xA0");
        break;
      case '_':
        Text("-");
        break;
      case '*':
        if (at_start)
          state_.skip = true;
        break;
      case '\'':
        HexByte();
        break;
      case '\r':
      case '\n':
        Paragraph();
        break;
      default:
        break;  // \- (optional hyphen) and unknown symbols show nothing
    }
  }

  void ControlWord() {
    std::string word;
    while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_]))) {
      word += in_[pos_++];
    }
    bool has_param = false;
    long param = 0;
    const std::size_t number_start = pos_;
    if (pos_ < in_.size() &&
        (in_[pos_] == '-' || std::isdigit(static_cast<unsigned char>(in_[pos_])))) {
      ++pos_;
      while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_])))
        ++pos_;
      const std::string digits(in_.substr(number_start, pos_ - number_start));
      if (digits != "-") {
        has_param = true;
        param = std::strtol(digits.c_str(), nullptr, 10);
      }
    }
    if (pos_ < in_.size() && in_[pos_] == ' ')
      ++pos_;  // the delimiting blank belongs to the word
    const bool at_start = destination_start_;
    destination_start_ = false;
    Apply(word, has_param, param, at_start);
  }

  void Apply(const std::string& word, bool has_param, long param, bool at_start) {
    const bool on = !has_param || param != 0;
    if (at_start && IsHiddenDestination(word)) {
      state_.skip = true;
    } else if (word == "par" || word == "sect") {
      Paragraph();
    } else if (word == "line") {
      Text("\n");
    } else if (word == "tab") {
      Text("\t");
    } else if (word == "b") {
      state_.bold = on;
    } else if (word == "i") {
      state_.italic = on;
    } else if (word == "ul") {
      state_.underline = on;
    } else if (word == "ulnone") {
      state_.underline = false;
    } else if (word == "fs" && has_param && param > 0) {
      state_.halfPoints = static_cast<int>(param);
    } else if (word == "plain") {
      const bool skip = state_.skip;
      const int unicode_skip = state_.unicodeSkip;
      state_ = CharacterState{};
      state_.skip = skip;
      state_.unicodeSkip = unicode_skip;
    } else if (word == "uc" && has_param && param >= 0) {
      state_.unicodeSkip = static_cast<int>(param);
    } else if (word == "u" && has_param) {
      UnicodeCharacter(param);
    } else if (word == "emdash") {
      Text("\xE2\x80\x94");
    } else if (word == "endash") {
      Text("\xE2\x80\x93");
    } else if (word == "bullet") {
      Text("\xE2\x80\xA2");
    } else if (word == "lquote") {
      Text("\xE2\x80\x98");
    } else if (word == "rquote") {
      Text("\xE2\x80\x99");
    } else if (word == "ldblquote") {
      Text("\xE2\x80\x9C");
    } else if (word == "rdblquote") {
      Text("\xE2\x80\x9D");
    }
  }

  void HexByte() {
    if (pos_ + 2 > in_.size())
      return;
    const int high = HexDigitValue(in_[pos_]);
    const int low = HexDigitValue(in_[pos_ + 1]);
    if (high < 0 || low < 0)
      return;
    pos_ += 2;
    const char byte = static_cast<char>(high * 16 + low);
    // Help files are written in Windows-1252, the code page of nearly every such file.
    Text(Windows1252ToUtf8(std::string_view(&byte, 1)));
  }

  void UnicodeCharacter(long value) {
    std::uint32_t cp = static_cast<std::uint32_t>(value < 0 ? value + 65536 : value) & 0xFFFF;
    // Characters beyond the first plane arrive as two surrogates, one \u each.
    if (cp >= 0xD800 && cp < 0xDC00) {
      highSurrogate_ = cp;
      cp = 0;
    } else if (cp >= 0xDC00 && cp < 0xE000) {
      cp = highSurrogate_ != 0 ? 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00)
                               : 0xFFFD;
      highSurrogate_ = 0;
    } else if (highSurrogate_ != 0) {
      highSurrogate_ = 0;
      Text("\xEF\xBF\xBD");
    }
    if (cp != 0) {
      std::string text;
      AppendUtf8(text, cp);
      Text(text);
    }
    // Skip the stand-in characters that follow for readers without Unicode.
    for (int left = state_.unicodeSkip; left > 0 && pos_ < in_.size(); --left) {
      if (in_[pos_] == '\\' && pos_ + 1 < in_.size() && in_[pos_ + 1] == '\'') {
        pos_ += 4;
      } else if (in_[pos_] == '{' || in_[pos_] == '}' || in_[pos_] == '\\') {
        break;
      } else {
        ++pos_;
      }
    }
  }

  void Paragraph() {
    if (state_.skip)
      return;
    doc_.paragraphs.emplace_back();
  }

  void Text(const std::string& text) {
    if (state_.skip || text.empty())
      return;
    auto& runs = doc_.paragraphs.back().runs;
    if (!runs.empty() && runs.back().bold == state_.bold && runs.back().italic == state_.italic &&
        runs.back().underline == state_.underline && runs.back().halfPoints == state_.halfPoints) {
      runs.back().text += text;
      return;
    }
    RtfRun run;
    run.text = text;
    run.bold = state_.bold;
    run.italic = state_.italic;
    run.underline = state_.underline;
    run.halfPoints = state_.halfPoints;
    runs.push_back(std::move(run));
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  CharacterState state_;
  bool destination_start_ = false;
  std::uint32_t highSurrogate_ = 0;
  RtfDocument doc_;
};

}  // namespace

std::string RtfDocument::PlainText() const {
  std::string text;
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0)
      text += '\n';
    for (const auto& run : paragraphs[i].runs)
      text += run.text;
  }
  return text;
}

bool LooksLikeRtf(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
    bytes.remove_prefix(3);
  return bytes.substr(0, 5) == "{\\rtf";
}

RtfDocument ReadRtf(std::string_view rtf) {
  return Reader(rtf).Read();
}

}  // namespace quastor
