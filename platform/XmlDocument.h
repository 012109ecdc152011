#pragma once
// An XML document as the project files use it, over pugixml (which no other folder sees): load
// with a readable message on failure, the first top-level node or the document element as
// root, a walk over child nodes, attributes with "absent" told apart from "empty" and listed in
// document order, and save without declaration and without indentation (atomically).

#include <cstddef>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Result.h"

namespace pugi {
struct xml_node_struct;
class xml_document;
}  // namespace pugi

namespace quastor {

class XmlChildren;

// A node of an XmlDocument; a null node when a lookup finds nothing. Valid while its document
// lives and is not cleared.
class XmlNode {
 public:
  enum class Kind { kNull, kElement, kText, kOther };

  XmlNode() = default;
  explicit XmlNode(pugi::xml_node_struct* node) : node_(node) {}

  explicit operator bool() const { return node_ != nullptr; }
  Kind kind() const;
  bool IsElement() const { return kind() == Kind::kElement; }
  std::string Name() const;

  // Child nodes of any kind (elements and character data; the parser keeps no comments and no
  // blank text) in document order: each step goes to the next sibling, so a walk over all of
  // them is linear however many there are.
  std::size_t ChildCount() const;
  XmlChildren Children() const;
  std::vector<XmlNode> ElementChildren() const;
  // The first element child of that name.
  XmlNode Child(const std::string& name) const;

  // Value of the attribute, or nothing when the node has no such attribute.
  std::optional<std::string> Attribute(const std::string& name) const;
  // Every attribute, name and value, in document order.
  std::vector<std::pair<std::string, std::string>> Attributes() const;
  // All character data below the node, in document order (the node's "text").
  std::string Text() const;

  XmlNode AppendElement(const std::string& name);
  // Appends an element child holding text.
  XmlNode AppendTextElement(const std::string& name, const std::string& text);
  void SetAttribute(const std::string& name, const std::string& value);
  void SetText(const std::string& text);

  pugi::xml_node_struct* Native() const { return node_; }

 private:
  pugi::xml_node_struct* node_ = nullptr;
};

// A walk over a node's children, for range-for: `for (const XmlNode& row : root.Children())`.
class XmlChildIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = XmlNode;
  using difference_type = std::ptrdiff_t;
  using pointer = const XmlNode*;
  using reference = const XmlNode&;

  XmlChildIterator() = default;
  explicit XmlChildIterator(XmlNode node) : node_(node) {}

  const XmlNode& operator*() const { return node_; }
  const XmlNode* operator->() const { return &node_; }
  XmlChildIterator& operator++();
  XmlChildIterator operator++(int) {
    XmlChildIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const XmlChildIterator& other) const {
    return node_.Native() == other.node_.Native();
  }
  bool operator!=(const XmlChildIterator& other) const { return !(*this == other); }

 private:
  XmlNode node_;  // null past the last child
};

class XmlChildren {
 public:
  explicit XmlChildren(XmlNode first) : first_(first) {}
  XmlChildIterator begin() const { return XmlChildIterator(first_); }
  XmlChildIterator end() const { return XmlChildIterator(); }

 private:
  XmlNode first_;
};

class XmlDocument {
 public:
  XmlDocument();
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  // Failure messages name the file and say what is wrong with it, with line and column.
  // Bytes that are not UTF-8 and carry no other byte order mark are read as Windows-1252.
  Status Load(const std::filesystem::path& file);
  Status LoadText(std::string_view text, const std::string& source_name = "XML text");

  // The first top-level node (comments, processing instructions and the declaration are not
  // kept by the parser, so this is the root element of a well-formed file).
  XmlNode FirstTopLevelNode() const;
  XmlNode DocumentElement() const;

  void Clear();
  XmlNode AddRoot(const std::string& name);

  // The document as text: UTF-8, no declaration, no indentation, no line breaks.
  std::string ToText() const;
  // Atomic replace; the failure message is the system's reason.
  Status Save(const std::filesystem::path& file) const;

 private:
  // Parses bytes in place: the document keeps them, its nodes point into them.
  Status Parse(std::string bytes, const std::string& source_name);

  std::unique_ptr<pugi::xml_document> doc_;
  std::string buffer_;
};

}  // namespace quastor
