#include "tools/XmlParser.h"

#include <array>
#include <cstring>
#include <limits>
#include <utility>

#include "platform/Text.h"
#include "platform/TextCodec.h"
#include "tools/ToolsTexts.h"
#include "tools/XmlCharacters.h"

namespace quastor {
namespace {

namespace texts = tools_texts;
using namespace xml_characters;

// The first fault ends the parse: thrown inside, returned as a Failure at the interface.
struct ParseError {
  std::string message;
};

[[noreturn]] void Fail(std::string message) {
  throw ParseError{std::move(message)};
}

std::string_view StripXmlSpace(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && Is(text[end - 1], kSpace))
    --end;
  std::size_t begin = 0;
  while (begin < end && Is(text[begin], kSpace))
    ++begin;
  return text.substr(begin, end - begin);
}

}  // namespace

// Reads the bytes into a tree's records: each node is opened where it starts, so that the
// records stand in document order, and closed when its last descendant is read.
class XmlParser {
 public:
  explicit XmlParser(std::string_view in) : in_(in) {}

  XmlParseTree Document() {
    // Offsets into the tree's text are 32 bits.
    if (in_.size() >= std::numeric_limits<std::uint32_t>::max())
      Fail(texts::kTooLarge);
    tree_.text_.reset(new char[in_.size() + 1]);
    capacity_ = in_.size();
    const std::uint32_t document = Open(XmlNodeKind::kDocument, 0);
    // A UTF-8 byte order mark is no part of the text.
    if (StartsWith("\xEF\xBB\xBF"))
      pos_ = 3;
    // Without a declaration that names another, the bytes tell the encoding.
    tree_.encoding_ = IsValidUtf8(in_) ? XmlEncoding::kUtf8 : XmlEncoding::kWindows1252;
    references_ = tree_.encoding_;
    referencesName_ = XmlEncodingName(references_);
    if (StartsWith("<?xml") && pos_ + 5 < in_.size() && Is(in_[pos_ + 5], kSpace))
      Declared(Declaration(document));
    Misc(document);
    if (StartsWith("<!DOCTYPE"))
      Fail(texts::kDocTypeNotImplemented);
    if (AtEnd() || in_[pos_] != '<')
      Fail(texts::kMissingElement);
    Element(document, 1);
    Misc(document);
    Close(document);
    return std::move(tree_);
  }

 private:
  using Span = XmlParseTree::Span;
  using Record = XmlParseTree::Record;

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

  std::uint32_t Open(XmlNodeKind kind, std::uint32_t parent) {
    return tree_.Add({kind, parent, 0, {0, 0}, {0, 0}});
  }
  void Close(std::uint32_t node) { tree_.At(node).end = tree_.count_; }
  // Appends bytes to the tree's text. What is kept is never more than what was read, so the
  // text never outgrows the input's size; the check holds the bound all the same.
  void Put(const char* bytes, std::size_t count) {
    if (count > capacity_ - tree_.textSize_)
      Fail(texts::kUnexpectedEnd);
    char* out = tree_.text_.get() + tree_.textSize_;
    tree_.textSize_ += count;
    // Names and values are mostly short: copied in place rather than by a call.
    if (count > 16) {
      std::memcpy(out, bytes, count);
      return;
    }
    for (std::size_t i = 0; i < count; ++i)
      out[i] = bytes[i];
  }
  // Keeps text in the tree.
  Span Keep(std::string_view text) {
    const Span span{static_cast<std::uint32_t>(tree_.textSize_),
                    static_cast<std::uint32_t>(text.size())};
    Put(text.data(), text.size());
    return span;
  }

  // Whitespace, comments and processing instructions, as between the prolog's parts and after
  // the document element.
  void Misc(std::uint32_t parent) {
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

  // The encoding that the declaration names decides how the bytes read and what a reference
  // may name: ISO-8859-1 and Windows-1252 hold their own characters, US-ASCII and encodings
  // the tool does not know only ASCII ones. UTF-8 (named, or by default) and the rest read as
  // the bytes tell.
  void Declared(std::uint32_t declaration) {
    const Record& record = tree_.At(declaration);
    for (std::uint32_t child = declaration + 1; child < record.end; child = tree_.At(child).end) {
      if (tree_.Text(tree_.At(child).name) != "encoding")
        continue;
      const std::string_view name = tree_.Text(tree_.At(child).value);
      const XmlEncoding named = XmlEncodingNamed(name);
      if (named == XmlEncoding::kLatin1 || named == XmlEncoding::kWindows1252)
        tree_.encoding_ = named;
      references_ = named == XmlEncoding::kOther ? XmlEncoding::kAscii : named;
      if (named == XmlEncoding::kUtf8)
        references_ = tree_.encoding_;
      referencesName_ = std::string(name);
      return;
    }
  }

  std::uint32_t Declaration(std::uint32_t document) {
    pos_ += 5;
    const std::uint32_t declaration = Open(XmlNodeKind::kDeclaration, document);
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
    Close(declaration);
    return declaration;
  }

  // name, optional whitespace, "=", optional whitespace, a quoted value.
  void Attribute(std::uint32_t owner) {
    const std::uint32_t attribute = Open(XmlNodeKind::kAttribute, owner);
    const std::string_view name = Name();
    tree_.At(attribute).name = Keep(name);
    SkipSpace();
    if (Peek() != '=')
      Fail(texts::kEqualsMissing);
    ++pos_;
    SkipSpace();
    const char quote = Peek();
    if (quote != '"' && quote != '\'')
      Fail(FormatText(texts::kAttributeMissingValue, {std::string(name)}));
    ++pos_;
    const std::size_t value_start = tree_.textSize_;
    const unsigned ends = quote == '"' ? kEndsDoubleQuoted : kEndsSingleQuoted;
    for (;;) {
      const std::size_t start = pos_;
      while (!AtEnd() && !Is(in_[pos_], ends))
        ++pos_;
      Put(in_.data() + start, pos_ - start);
      const char c = Peek();
      if (c == quote) {
        ++pos_;
        break;
      }
      if (c == '<')
        Fail(texts::kLessThanInAttribute);
      const std::string bytes = Reference();
      Put(bytes.data(), bytes.size());
    }
    tree_.At(attribute).value = {static_cast<std::uint32_t>(value_start),
                                 static_cast<std::uint32_t>(tree_.textSize_ - value_start)};
    Close(attribute);
  }

  void Element(std::uint32_t parent, int depth) {
    if (depth > kMaxXmlDepth)
      Fail(FormatText(texts::kNestedTooDeep, {std::to_string(kMaxXmlDepth)}));
    ++pos_;  // "<"
    Peek();
    const std::string_view name = Name();
    if (name.empty())
      Fail(texts::kMissingElement);
    const std::uint32_t element = Open(XmlNodeKind::kElement, parent);
    tree_.At(element).name = Keep(name);
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
        Content(element, name, depth);
        break;
      }
      if (!spaced || !Is(c, kNameStart))
        Fail(texts::kTagNotTerminated);
      Attribute(element);
    }
    Close(element);
  }

  // Character data, references, CDATA sections, comments, processing instructions and child
  // elements, up to the end tag. The value gathers in a buffer of its depth, as the child
  // elements keep their own texts meanwhile.
  void Content(std::uint32_t element, std::string_view name, int depth) {
    std::string& value = values_[static_cast<std::size_t>(depth)];
    value.clear();
    for (;;) {
      if (AtEnd())
        Fail(FormatText(texts::kNoEndingTag, {std::string(name)}));
      const char c = in_[pos_];
      if (c == '<') {
        if (StartsWith("</")) {
          EndTag(name);
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
        value += Reference();
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
    tree_.At(element).value = Keep(StripXmlSpace(value));
  }

  void EndTag(std::string_view start_name) {
    pos_ += 2;
    Peek();
    const std::string_view name = Name();
    if (name != start_name)
      Fail(FormatText(texts::kEndTagMismatch, {std::string(name), std::string(start_name)}));
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

  void ProcessingInstruction(std::uint32_t parent) {
    pos_ += 2;
    if (AtEnd())
      Fail(texts::kPiUnterminated);
    const std::string_view target = Name();
    if (target.empty())
      Fail(texts::kPiNoValidName);
    if (target == "xml")
      Fail(texts::kPiReservedName);
    SkipSpace();
    const std::size_t end = in_.find("?>", pos_);
    if (end == std::string_view::npos)
      Fail(texts::kPiUnterminated);
    const std::uint32_t instruction = Open(XmlNodeKind::kProcessingInstruction, parent);
    tree_.At(instruction).name = Keep(target);
    tree_.At(instruction).value = Keep(in_.substr(pos_, end - pos_));
    pos_ = end + 2;
    Close(instruction);
  }

  // "&" up to ";", as the bytes of its character in the file's encoding. They are never more
  // than the reference's own: "&#128;" gives at most two, "&#x10000;" four.
  std::string Reference() {
    const std::size_t end = in_.find(';', pos_);
    if (end == std::string_view::npos)
      Fail(texts::kUnexpectedEnd);
    const std::string_view reference = in_.substr(pos_, end + 1 - pos_);
    const Result<std::uint32_t> code_point = DecodeReference(reference);
    if (!code_point)
      Fail(code_point.error());
    std::string bytes;
    // A character that the declaration allows is written in the bytes' own encoding.
    if ((*code_point > 0x7F && references_ == XmlEncoding::kAscii) ||
        !AppendInEncoding(bytes, *code_point, tree_.encoding_)) {
      Fail(FormatText(texts::kReferenceNotHeld, {std::string(reference), referencesName_}));
    }
    pos_ = end + 1;
    return bytes;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  XmlParseTree tree_;
  std::size_t capacity_ = 0;  // of the tree's text
  // What the references may name, and the encoding's name for the message.
  XmlEncoding references_ = XmlEncoding::kUtf8;
  std::string referencesName_;
  // The value of the element being read at each depth.
  std::array<std::string, kMaxXmlDepth + 1> values_;
};

XmlNodeKind XmlParseNode::Kind() const {
  return tree_->At(index_).kind;
}

std::string_view XmlParseNode::Name() const {
  return tree_->Text(tree_->At(index_).name);
}

std::string_view XmlParseNode::Value() const {
  return tree_->Text(tree_->At(index_).value);
}

std::vector<XmlParseNode> XmlParseNode::Children() const {
  std::vector<XmlParseNode> children;
  const std::uint32_t end = tree_->At(index_).end;
  for (std::uint32_t child = index_ + 1; child < end; child = tree_->At(child).end)
    children.push_back(XmlParseNode(tree_, child));
  return children;
}

Result<XmlParseTree> ParseXml(std::string_view bytes) {
  try {
    return XmlParser(bytes).Document();
  } catch (const ParseError& error) {
    return Failure{error.message};
  }
}

}  // namespace quastor
