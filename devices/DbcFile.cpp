#include "devices/DbcFile.h"

#include <set>

#include "devices/DbcLine.h"
#include "devices/DeviceTexts.h"
#include "devices/IniSections.h"
#include "platform/FileReading.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/TextCodec.h"

namespace quastor {
namespace {

namespace texts = device_texts;

// The largest message J1939's transport protocol carries; CAN FD frames hold at most 64.
constexpr std::uint32_t kMaxLength = 1785;
// The identifier under which DBC writers keep signals of no message; it is no message itself.
constexpr std::uint32_t kIndependentSignals = 0xC0000000u;

// The statements that end with ";" and hold nothing this reader keeps.
const std::set<std::string_view> kSkipped = {"CM_",
                                             "BA_DEF_",
                                             "BA_DEF_DEF_",
                                             "BA_",
                                             "BA_DEF_REL_",
                                             "BA_REL_",
                                             "BA_DEF_DEF_REL_",
                                             "BA_DEF_SGTYPE_",
                                             "BA_SGTYPE_",
                                             "VAL_",
                                             "VAL_TABLE_",
                                             "SIG_VALTYPE_",
                                             "SG_MUL_VAL_",
                                             "BO_TX_BU_",
                                             "EV_",
                                             "ENVVAR_DATA_",
                                             "SIG_GROUP_",
                                             "SGTYPE_",
                                             "SGTYPE_VAL_",
                                             "SIG_TYPE_REF_",
                                             "CAT_DEF_",
                                             "CAT_",
                                             "FILTER",
                                             "BU_SG_REL_",
                                             "BU_EV_REL_",
                                             "BU_BO_REL_",
                                             "SIGTYPE_VALTYPE_"};

Failure At(int line, const char* pattern, const std::vector<std::string>& values) {
  return Failure{LineMessage(line, FormatText(pattern, values))};
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// BO_ <identifier> <name>: <length> <sender>
Result<DbcMessage> ParseMessage(std::string_view rest, int line_number) {
  DbcLine line(rest);
  const Failure bad =
      At(line_number, texts::kDbcBadMessage, {QuotedLine("BO_ " + std::string(Trim(rest)))});
  DbcMessage message;
  message.line = line_number;
  const std::optional<std::uint32_t> raw = line.Unsigned(0xFFFFFFFFu);
  const std::optional<std::string> name = line.Name();
  if (!raw || !name || !line.Take(':'))
    return bad;
  const std::optional<std::uint32_t> length = line.Unsigned(0xFFFFFFFFu);
  const std::optional<std::string> sender = line.Name();
  if (!length || !sender || !line.AtEnd())
    return bad;
  message.extended = (*raw & 0x80000000u) != 0;
  message.identifier = *raw & 0x7FFFFFFFu;
  if ((message.extended && message.identifier > 0x1FFFFFFFu) ||
      (!message.extended && message.identifier > 0x7FFu)) {
    if (*raw != kIndependentSignals)
      return At(line_number, texts::kDbcIdentifierRange, {std::to_string(*raw)});
  }
  if (*length > kMaxLength) {
    return At(line_number, texts::kDbcLengthRange,
              {*name, std::to_string(*length), std::to_string(kMaxLength)});
  }
  message.name = *name;
  message.length = static_cast<int>(*length);
  message.sender = *sender;
  return message;
}

// "M", "m<n>" or "m<n>M".
bool IsMultiplexMark(const std::string& mark) {
  if (mark == "M")
    return true;
  if (mark.size() < 2 || mark[0] != 'm')
    return false;
  std::size_t digits = 1;
  while (digits < mark.size() && mark[digits] >= '0' && mark[digits] <= '9')
    ++digits;
  return digits > 1 && (digits == mark.size() || (digits + 1 == mark.size() && mark.back() == 'M'));
}

// SG_ <name> [M|m<n>] : <start>|<length>@<order><sign> (<factor>,<offset>) [<min>|<max>]
// "<unit>" <receivers>
Result<DbcSignal> ParseSignal(std::string_view rest, int line_number) {
  DbcLine line(rest);
  const Failure bad =
      At(line_number, texts::kDbcBadSignal, {QuotedLine("SG_ " + std::string(Trim(rest)))});
  DbcSignal signal;
  const std::optional<std::string> name = line.Name();
  if (!name)
    return bad;
  signal.name = *name;
  if (line.Peek() != ':') {
    const std::optional<std::string> mark = line.Name();
    if (!mark || !IsMultiplexMark(*mark))
      return bad;
    signal.multiplex = *mark;
  }
  if (!line.Take(':'))
    return bad;
  const std::optional<std::uint32_t> start = line.Unsigned(0xFFFFFF);
  if (!start || !line.Take('|'))
    return bad;
  const std::optional<std::uint32_t> length = line.Unsigned(0xFFFFFF);
  if (!length || !line.Take('@'))
    return bad;
  const char order = line.Peek();
  if ((order != '0' && order != '1') || !line.Take(order))
    return bad;
  const char sign = line.Peek();
  if ((sign != '+' && sign != '-') || !line.Take(sign))
    return bad;
  std::optional<std::string> factor, offset, minimum, maximum, unit;
  if (!line.Take('(') || !(factor = line.Real()) || !line.Take(',') || !(offset = line.Real()) ||
      !line.Take(')') || !line.Take('[') || !(minimum = line.Real()) || !line.Take('|') ||
      !(maximum = line.Real()) || !line.Take(']') || !(unit = line.Quoted()))
    return bad;
  while (!line.AtEnd()) {
    if (line.Take(','))
      continue;
    const std::optional<std::string> receiver = line.Name();
    if (!receiver)
      return bad;
    signal.receivers.push_back(*receiver);
  }
  if (*length < 1 || *length > 64)
    return At(line_number, texts::kDbcSignalLengthRange, {*name, std::to_string(*length)});
  signal.startBit = static_cast<int>(*start);
  signal.length = static_cast<int>(*length);
  signal.byteOrder = order == '0' ? ByteOrder::kBigEndian : ByteOrder::kLittleEndian;
  signal.isSigned = sign == '-';
  signal.factorText = *factor;
  signal.offsetText = *offset;
  signal.minimumText = *minimum;
  signal.maximumText = *maximum;
  signal.factor = *RealValue(*factor);
  signal.offset = *RealValue(*offset);
  signal.minimum = *RealValue(*minimum);
  signal.maximum = *RealValue(*maximum);
  signal.unit = *unit;
  return signal;
}

// Walks the text statement by statement, counting lines.
class DbcReader {
 public:
  explicit DbcReader(std::string_view text) : text_(text) {}

  Result<DbcFile> Read() {
    DbcFile file;
    DbcMessage* message = nullptr;  // the one whose signals follow
    bool dropping = false;          // the signals of no message follow
    while (SkipSpace()) {
      const int line = line_;
      const std::string keyword = Word();
      if (keyword == "BO_") {
        const Result<DbcMessage> read = ParseMessage(RestOfLine(), line);
        if (!read)
          return read.failure();
        dropping = read->RawIdentifier() == kIndependentSignals;
        message = nullptr;
        if (!dropping) {
          file.messages.push_back(*read);
          message = &file.messages.back();
        }
        continue;
      }
      if (keyword == "SG_") {
        const Result<DbcSignal> signal = ParseSignal(RestOfLine(), line);
        if (!signal)
          return signal.failure();
        if (message == nullptr && !dropping)
          return At(line, texts::kDbcSignalOutsideMessage, {signal->name});
        if (message != nullptr)
          message->signals.push_back(*signal);
        continue;
      }
      message = nullptr;
      dropping = false;
      Status skipped;
      if (keyword == "VERSION" || keyword == "BS_" || keyword == "BU_") {
        skipped = SkipLine();
      } else if (keyword == "NS_") {
        skipped = SkipLine();
        SkipNewSymbols();
      } else if (kSkipped.count(keyword) != 0) {
        skipped = SkipStatement(keyword, line);
      } else {
        const std::string shown = keyword.empty() ? std::string(Trim(RestOfLine())) : keyword;
        return At(line, texts::kDbcUnknownKeyword, {QuotedLine(shown)});
      }
      if (!skipped)
        return skipped.failure();
    }
    return file;
  }

 private:
  char Next() {
    const char c = text_[pos_++];
    if (c == '\n')
      ++line_;
    return c;
  }

  // Skips blanks and line ends; whether text remains.
  bool SkipSpace() {
    while (pos_ < text_.size() && IsBlank(text_[pos_]))
      Next();
    return pos_ < text_.size();
  }

  // The statement's keyword: up to a blank, ':', ';' or '"'.
  std::string Word() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != ':' &&
           text_[pos_] != ';' && text_[pos_] != '"')
      ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  // The rest of the line, without its end.
  std::string_view RestOfLine() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != '\n')
      ++pos_;
    return text_.substr(start, pos_ - start);
  }

  // A quoted text from its opening quote on, across lines; a backslash takes the next
  // character as it is.
  Status SkipQuoted() {
    const int start = line_;
    Next();
    while (pos_ < text_.size()) {
      const char c = Next();
      if (c == '"')
        return Status::Ok();
      if (c == '\\' && pos_ < text_.size())
        Next();
    }
    return At(start, texts::kDbcUnclosedQuote, {});
  }

  // To the end of the line, or past it where a quoted text goes on.
  Status SkipLine() {
    while (pos_ < text_.size() && text_[pos_] != '\n') {
      if (text_[pos_] == '"') {
        const Status skipped = SkipQuoted();
        if (!skipped)
          return skipped;
      } else {
        Next();
      }
    }
    return Status::Ok();
  }

  // Past the ";" that ends the statement, outside quoted texts.
  Status SkipStatement(const std::string& keyword, int start) {
    while (pos_ < text_.size()) {
      if (text_[pos_] == '"') {
        const Status skipped = SkipQuoted();
        if (!skipped)
          return skipped;
      } else if (Next() == ';') {
        return Status::Ok();
      }
    }
    return At(start, texts::kDbcUnterminated, {keyword});
  }

  // The indented lines of the new symbols that follow "NS_ :", one name each.
  void SkipNewSymbols() {
    while (pos_ < text_.size() && text_[pos_] == '\n') {
      std::size_t end = text_.find('\n', pos_ + 1);
      if (end == std::string_view::npos)
        end = text_.size();
      const std::string_view next = text_.substr(pos_ + 1, end - pos_ - 1);
      const std::string_view name = Trim(TrimEnd(next.substr(0, next.find('\r'))));
      if (next.empty() || (next[0] != ' ' && next[0] != '\t') || name.empty() ||
          name.find_first_of(" \t") != std::string_view::npos || name == "SG_")
        return;
      Next();
      pos_ = end;
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

std::optional<int> J1939Id::Destination() const {
  if (!IsPdu1())
    return std::nullopt;
  return pduSpecific;
}

J1939Id SplitJ1939(std::uint32_t identifier) {
  J1939Id id;
  id.priority = static_cast<int>((identifier >> 26) & 0x7);
  id.extendedDataPage = static_cast<int>((identifier >> 25) & 0x1);
  id.dataPage = static_cast<int>((identifier >> 24) & 0x1);
  id.pduFormat = static_cast<int>((identifier >> 16) & 0xFF);
  id.pduSpecific = static_cast<int>((identifier >> 8) & 0xFF);
  id.sourceAddress = static_cast<int>(identifier & 0xFF);
  id.pgn = (static_cast<std::uint32_t>(id.extendedDataPage) << 17) |
           (static_cast<std::uint32_t>(id.dataPage) << 16) |
           (static_cast<std::uint32_t>(id.pduFormat) << 8) |
           (id.IsPdu1() ? 0u : static_cast<std::uint32_t>(id.pduSpecific));
  return id;
}

std::optional<J1939Id> DbcMessage::J1939() const {
  if (!extended)
    return std::nullopt;
  return SplitJ1939(identifier);
}

Result<DbcFile> ParseDbc(std::string_view text) {
  return DbcReader(text).Read();
}

Result<DbcFile> ReadDbcFile(const std::filesystem::path& file) {
  const Result<std::string> bytes = ReadWholeFile(file, texts::kCannotOpenFile);
  if (!bytes)
    return bytes.failure();
  TextEncoding encoding = TextEncoding::kLocal;
  Result<DbcFile> read = ParseDbc(DecodeText(*bytes, &encoding));
  if (!read)
    return Failure{FormatText(texts::kDamagedFile, {Utf8FromPath(file), read.error()})};
  return read;
}

}  // namespace quastor
