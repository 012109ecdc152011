#include "tools/XmlParser.h"

#include <array>
#include <utility>

#include "platform/IntegerText.h"
#include "platform/Text.h"
#include "tools/ToolsTexts.h"

namespace quastor {
namespace {

namespace texts = tools_texts;

constexpr unsigned kNameStart = 1;
constexpr unsigned kNameChar = 2;
constexpr unsigned kSpace = 4;
constexpr unsigned kTextStop = 8;  // ends a run of character data: "<", "&", "]"

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    unsigned bits = 0;
    if (letter || c == '_' || c == ':')
      bits |= kNameStart | kNameChar;
    if (digit || c == '.' || c == '-' || c == 0xB7)
      bits |= kNameChar;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
      bits |= kSpace;
    if (c == '<' || c == '&' || c == ']')
      bits |= kTextStop;
    classes[c] = static_cast<unsigned char>(bits);
  }
  return classes;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

bool Is(char c, unsigned what) {
  return (kClasses[static_cast<unsigned char>(c)] & what) != 0;
}

// The first fault ends the parse: thrown inside, returned as a Failure at the interface.
struct ParseError {
  std::string message;
};

[[noreturn]] void Fail(std::string message) {
  throw ParseError{std::move(message)};
}

void StripXmlSpace(std::string& text) {
  std::size_t end = text.size();
  while (end > 0 && Is(text[end - 1], kSpace))
    --end;
  std::size_t begin = 0;
  while (begin < end && Is(text[begin], kSpace))
    ++begin;
  text.erase(end);
  text.erase(0, begin);
}

class Parser {
 public:
  explicit Parser(std::string_view in) : in_(in) {}

  XmlParseNode Document() {
    XmlParseNode document;
    // A UTF-8 byte order mark is no part of the text.
    if (StartsWith("\xEF\xBB\xBF"))
      pos_ = 3;
    if (StartsWith("<?xml") && pos_ + 5 < in_.size() && Is(in_[pos_ + 5], kSpace))
      Declaration(document);
    Misc(document);
    if (StartsWith("<!DOCTYPE"))
      Fail(texts::kDocTypeNotImplemented);
    if (AtEnd() || in_[pos_] != '<')
      Fail(texts::kMissingElement);
    Element(document, 1);
    Misc(document);
    return document;
  }

 private:
  bool AtEnd() const { return pos_ >= in_.size(); }
  bool StartsWith(std::string_view text) const {
    return in_.size() - pos_ >= text.size() && in_.compare(pos_, text.size(), text) == 0;
  }
  char Peek() const {
    if (AtEnd())
      Fail(texts::kUnexpectedEnd);
    return in_[pos_];
  }
  bool SkipSpace() {
    const std::size_t start = pos_;
    while (!AtEnd() && Is(in_[pos_], kSpace))
      ++pos_;
    return pos_ != start;
  }
  // A name at the current position, or nothing when none starts here.
  std::string_view Name() {
    if (AtEnd() || !Is(in_[pos_], kNameStart))
      return {};
    const std::size_t start = pos_++;
    while (!AtEnd() && Is(in_[pos_], kNameChar))
      ++pos_;
    return in_.substr(start, pos_ - start);
  }

  // Whitespace, comments and processing instructions, as between the prolog's parts and after
  // the document element.
  void Misc(XmlParseNode& parent) {
    for (;;) {
      SkipSpace();
      if (StartsWith("<!--"))
        Comment();
      else if (StartsWith("<?"))
        ProcessingInstruction(parent);
      else
        return;
    }
  }

  void Declaration(XmlParseNode& document) {
    pos_ += 5;
    XmlParseNode declaration;
    declaration.kind = XmlNodeKind::kDeclaration;
    for (;;) {
      SkipSpace();
      if (Peek() == '?') {
        if (!StartsWith("?>"))
          Fail(texts::kDeclarationNotTerminated);
        pos_ += 2;
        break;
      }
      if (!Is(in_[pos_], kNameStart))
        Fail(texts::kDeclarationNotTerminated);
      Attribute(declaration);
      if (!AtEnd() && !Is(in_[pos_], kSpace) && in_[pos_] != '?')
        Fail(texts::kDeclarationNotTerminated);
    }
    document.children.push_back(std::move(declaration));
  }

  // name, optional whitespace, "=", optional whitespace, a quoted value.
  void Attribute(XmlParseNode& owner) {
    XmlParseNode attribute;
    attribute.kind = XmlNodeKind::kAttribute;
    attribute.name = Name();
    SkipSpace();
    if (Peek() != '=')
      Fail(texts::kEqualsMissing);
    ++pos_;
    SkipSpace();
    const char quote = Peek();
    if (quote != '"' && quote != '\'')
      Fail(FormatText(texts::kAttributeMissingValue, {attribute.name}));
    ++pos_;
    std::string& value = attribute.value;
    for (;;) {
      const std::size_t start = pos_;
      while (!AtEnd() && in_[pos_] != quote && in_[pos_] != '<' && in_[pos_] != '&')
        ++pos_;
      value.append(in_, start, pos_ - start);
      const char c = Peek();
      if (c == quote) {
        ++pos_;
        break;
      }
      if (c == '<')
        Fail(texts::kLessThanInAttribute);
      Reference(value);
    }
    owner.children.push_back(std::move(attribute));
  }

  void Element(XmlParseNode& parent, int depth) {
    if (depth > kMaxXmlDepth)
      Fail(FormatText(texts::kNestedTooDeep, {std::to_string(kMaxXmlDepth)}));
    ++pos_;  // "<"
    Peek();
    XmlParseNode element;
    element.kind = XmlNodeKind::kElement;
    element.name = Name();
    if (element.name.empty())
      Fail(texts::kMissingElement);
    for (;;) {
      const bool spaced = SkipSpace();
      const char c = Peek();
      if (c == '/') {
        ++pos_;
        if (Peek() != '>')
          Fail(texts::kTagNotTerminated);
        ++pos_;
        break;
      }
      if (c == '>') {
        ++pos_;
        Content(element, depth);
        break;
      }
      if (!spaced || !Is(c, kNameStart))
        Fail(texts::kTagNotTerminated);
      Attribute(element);
    }
    parent.children.push_back(std::move(element));
  }

  // Character data, references, CDATA sections, comments, processing instructions and child
  // elements, up to the end tag.
  void Content(XmlParseNode& element, int depth) {
    std::string& value = element.value;
    for (;;) {
      if (AtEnd())
        Fail(FormatText(texts::kNoEndingTag, {element.name}));
      const char c = in_[pos_];
      if (c == '<') {
        if (StartsWith("</")) {
          EndTag(element.name);
          break;
        }
        if (StartsWith("<![CDATA["))
          CData(value);
        else if (StartsWith("<!--"))
          Comment();
        else if (StartsWith("<?"))
          ProcessingInstruction(element);
        else if (StartsWith("<!DOCTYPE"))
          Fail(texts::kDocTypeNotImplemented);
        else
          Element(element, depth + 1);
      } else if (c == '&') {
        Reference(value);
      } else if (c == ']') {
        if (StartsWith("]]>"))
          Fail(texts::kCDataEndInText);
        value += c;
        ++pos_;
      } else {
        const std::size_t start = pos_;
        while (!AtEnd() && !Is(in_[pos_], kTextStop))
          ++pos_;
        value.append(in_, start, pos_ - start);
      }
    }
    StripXmlSpace(value);
  }

  void EndTag(const std::string& start_name) {
    pos_ += 2;
    Peek();
    const std::string_view name = Name();
    if (name != start_name)
      Fail(FormatText(texts::kEndTagMismatch, {std::string(name), start_name}));
    SkipSpace();
    if (Peek() != '>')
      Fail(texts::kEndTagMissingGreater);
    ++pos_;
  }

  void CData(std::string& value) {
    pos_ += 9;
    const std::size_t end = in_.find("]]>", pos_);
    if (end == std::string_view::npos)
      Fail(texts::kUnexpectedEnd);
    value.append(in_, pos_, end - pos_);
    pos_ = end + 3;
  }

  void Comment() {
    pos_ += 4;
    const std::size_t end = in_.find("-->", pos_);
    if (end == std::string_view::npos)
      Fail(texts::kUnexpectedEnd);
    if (end > pos_ && in_[end - 1] == '-')
      Fail(texts::kCommentTripleDash);
    pos_ = end + 3;
  }

  void ProcessingInstruction(XmlParseNode& parent) {
    pos_ += 2;
    if (AtEnd())
      Fail(texts::kPiUnterminated);
    XmlParseNode instruction;
    instruction.kind = XmlNodeKind::kProcessingInstruction;
    instruction.name = Name();
    if (instruction.name.empty())
      Fail(texts::kPiNoValidName);
    if (instruction.name == "xml")
      Fail(texts::kPiReservedName);
    SkipSpace();
    const std::size_t end = in_.find("?>", pos_);
    if (end == std::string_view::npos)
      Fail(texts::kPiUnterminated);
    instruction.value.assign(in_, pos_, end - pos_);
    pos_ = end + 2;
    parent.children.push_back(std::move(instruction));
  }

  // "&" up to ";", decoded to one byte.
  void Reference(std::string& out) {
    const std::size_t end = in_.find(';', pos_);
    if (end == std::string_view::npos)
      Fail(texts::kUnexpectedEnd);
    const Result<char> byte = DecodeReference(in_.substr(pos_, end + 1 - pos_));
    if (!byte)
      Fail(byte.error());
    out += *byte;
    pos_ = end + 1;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
};

bool AllOf(std::string_view text, int (*digit)(char)) {
  if (text.empty())
    return false;
  for (const char c : text) {
    if (digit(c) < 0)
      return false;
  }
  return true;
}

int DecimalValue(char c) {
  return c >= '0' && c <= '9' ? c - '0' : -1;
}

}  // namespace

Result<XmlParseNode> ParseXml(std::string_view bytes) {
  try {
    return Parser(bytes).Document();
  } catch (const ParseError& error) {
    return Failure{error.message};
  }
}

Result<char> DecodeReference(std::string_view reference) {
  if (reference.empty() || reference.front() != '&')
    return Failure{texts::kReferenceWithoutAmpersand};
  if (reference.size() < 2 || reference.back() != ';')
    return Failure{texts::kUnexpectedEnd};
  const std::string_view body = reference.substr(1, reference.size() - 2);
  if (!body.empty() && body.front() == '#') {
    // The number reads by the system's integer rule: up to eight hexadecimal digits, or a
    // decimal value within 32 bits. The byte is its low 8 bits.
    const bool hex = body.size() > 1 && body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    const bool digits_only = hex ? AllOf(digits, HexDigitValue) : AllOf(digits, DecimalValue);
    const std::optional<std::int32_t> value =
        digits_only ? ReadInteger(hex ? "x" + std::string(digits) : std::string(digits))
                    : std::nullopt;
    if (!value)
      return Failure{FormatText(texts::kInvalidReferenceInteger, {std::string(body)})};
    return static_cast<char>(static_cast<std::uint32_t>(*value) & 0xFF);
  }
  if (body == "amp")
    return '&';
  if (body == "lt")
    return '<';
  if (body == "gt")
    return '>';
  if (body == "quot")
    return '"';
  if (body == "apos")
    return '\'';
  return Failure{texts::kUnrecognizedReference};
}

bool IsXmlName(std::string_view text) {
  if (text.empty() || !Is(text.front(), kNameStart))
    return false;
  for (const char c : text) {
    if (!Is(c, kNameChar))
      return false;
  }
  return true;
}

}  // namespace quastor
