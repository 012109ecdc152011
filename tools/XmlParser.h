#pragma once
// The XML tool's own small non-validating parser. It works on bytes as read from the file,
// without any character-set conversion: names and values keep the file's bytes, and a
// character reference becomes the bytes of its character in the file's encoding (the one its
// declaration names, else UTF-8 when the bytes are UTF-8 and Windows-1252 when they are not);
// a reference to a character that encoding cannot hold is refused. Names are ASCII (and the
// byte 0xB7). A document type declaration is refused; the rest of the input after the
// document element and its trailing comments and processing instructions is ignored.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "tools/XmlEncoding.h"

namespace quastor {

// The kinds of parse tree nodes; the numbers are those of the tree's image list (times two).
enum class XmlNodeKind : std::uint8_t {
  kDocument = 0,
  kElement = 1,
  kAttribute = 2,
  kProcessingInstruction = 3,
  kDeclaration = 4,
};

class XmlParseTree;

// A node of a parse tree; valid while its tree lives.
class XmlParseNode {
 public:
  XmlNodeKind Kind() const;
  // Element or attribute name, processing instruction target; empty for the document and
  // the declaration.
  std::string_view Name() const;
  // Attribute value, element character data (stripped of blanks, tabs and line ends at both
  // ends), processing instruction content.
  std::string_view Value() const;
  // Attributes first, in source order, then content nodes in source order.
  std::vector<XmlParseNode> Children() const;
  // The node's position in document order (the document is 0).
  std::size_t Index() const { return index_; }

 private:
  friend class XmlParseTree;
  XmlParseNode(const XmlParseTree* tree, std::uint32_t index) : tree_(tree), index_(index) {}

  const XmlParseTree* tree_;
  std::uint32_t index_;
};

// The parse tree of a document: it owns every node and every name and value.
class XmlParseTree {
 public:
  XmlParseNode Document() const { return Node(0); }
  // Every node in document order: a node, then its attributes and content with theirs,
  // then its next sibling. So a node's parent always stands before it.
  std::size_t Size() const { return count_; }
  XmlParseNode Node(std::size_t index) const {
    return XmlParseNode(this, static_cast<std::uint32_t>(index));
  }
  // The length of all names and values together.
  std::size_t TextSize() const { return textSize_; }
  // The parent's index in document order; the document has none (0 is returned).
  std::size_t ParentIndex(std::size_t index) const { return At(index).parent; }
  // The encoding of the names' and values' bytes: UTF-8, ISO-8859-1 or Windows-1252.
  XmlEncoding Encoding() const { return encoding_; }

 private:
  friend class XmlParseNode;
  friend class XmlParser;

  struct Span {
    std::uint32_t offset;
    std::uint32_t length;
  };
  struct Record {
    XmlNodeKind kind;
    std::uint32_t parent;
    std::uint32_t end;  // one past the node's last descendant
    Span name;
    Span value;
  };
  // The records lie in blocks of a fixed size, which the heap hands out again after a tree
  // is freed: a large file's nodes are neither copied as they grow nor faulted in anew.
  static constexpr std::size_t kBlockBits = 12;
  static constexpr std::size_t kBlockSize = std::size_t(1) << kBlockBits;

  const Record& At(std::size_t index) const {
    return blocks_[index >> kBlockBits][index & (kBlockSize - 1)];
  }
  Record& At(std::size_t index) { return blocks_[index >> kBlockBits][index & (kBlockSize - 1)]; }
  std::uint32_t Add(const Record& record) {
    if ((count_ & (kBlockSize - 1)) == 0)
      blocks_.emplace_back(new Record[kBlockSize]);
    At(count_) = record;
    return count_++;
  }
  std::string_view Text(Span span) const {
    return std::string_view(text_.get() + span.offset, span.length);
  }

  std::vector<std::unique_ptr<Record[]>> blocks_;
  std::uint32_t count_ = 0;
  // The names and values, decoded, one after the other; never longer than the input.
  std::unique_ptr<char[]> text_;
  std::size_t textSize_ = 0;
  XmlEncoding encoding_ = XmlEncoding::kUtf8;
};

// The deepest element nesting the parser follows; deeper input fails with a message, so that
// no step over the tree recurses without bound.
inline constexpr int kMaxXmlDepth = 256;

// The parse tree of bytes, or the message of the first fault.
Result<XmlParseTree> ParseXml(std::string_view bytes);

// The code point a whole reference such as "&amp;", "&#65;" or "&#x41;" stands for (a number
// that is no character's comes as it is).
Result<std::uint32_t> DecodeReference(std::string_view reference);

// Whether text is a name by the parser's rule: an ASCII letter, "_" or ":", then ASCII
// letters, digits, ".", "-", "_", ":" and the byte 0xB7.
bool IsXmlName(std::string_view text);

}  // namespace quastor
