#pragma once
// The XML tool's own small non-validating parser. It works on bytes as read from the file,
// without any character-set conversion: references decode to one byte, names are ASCII (and
// the byte 0xB7). A document type declaration is refused; the rest of the input after the
// document element and its trailing comments and processing instructions is ignored.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// The kinds of parse tree nodes; the numbers are those of the tree's image list (times two).
enum class XmlNodeKind : std::uint8_t {
  kDocument = 0,
  kElement = 1,
  kAttribute = 2,
  kProcessingInstruction = 3,
  kDeclaration = 4,
};

// A node of the parse tree. The document node owns the whole tree.
struct XmlParseNode {
  XmlNodeKind kind = XmlNodeKind::kDocument;
  // Element or attribute name, processing instruction target; empty for the document and
  // the declaration.
  std::string name;
  // Attribute value, element character data (stripped of blanks, tabs and line ends at both
  // ends), processing instruction content.
  std::string value;
  // Attributes first, in source order, then content nodes in source order.
  std::vector<XmlParseNode> children;
};

// The deepest element nesting the parser follows; deeper input fails with a message, so that
// no step over the tree recurses without bound.
inline constexpr int kMaxXmlDepth = 256;

// The document node of bytes, or the message of the first fault.
Result<XmlParseNode> ParseXml(std::string_view bytes);

// The byte a whole reference such as "&amp;", "&#65;" or "&#x41;" stands for.
Result<char> DecodeReference(std::string_view reference);

// Whether text is a name by the parser's rule: an ASCII letter, "_" or ":", then ASCII
// letters, digits, ".", "-", "_", ":" and the byte 0xB7.
bool IsXmlName(std::string_view text);

}  // namespace quastor
