#pragma once
// The XML tool's tree: one item per parse tree node, with the node's display text and kind,
// in the order the window shows them (the file item first, then depth first in child order).
// Items keep the bytes of the file, in the file's encoding, so that what the user did not
// touch is written back byte for byte; the text shown to the user is UTF-8. The file item
// (the file's name as the file system gave it) and edited items hold UTF-8 text; the writer
// puts them into the encoding of the file it writes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"
#include "tools/XmlParser.h"

namespace quastor {

// The item text of a node: "File: " and the file name for the document, the name (the target
// followed by "ProcessingInstruction" for a processing instruction, "XMLDeclaration" for the
// declaration), then " = " and the value when the value is not empty.
std::string DisplayText(const XmlParseNode& node, const std::string& file_name);

// The image of a kind in the window's image list; the selected image is the next one.
int ImageIndex(XmlNodeKind kind);

class XmlItemTree {
 public:
  // The items of a parsed document opened from a file of that name (without directory).
  static XmlItemTree FromDocument(const XmlParseTree& document, const std::string& file_name);

  bool Empty() const { return items_.empty(); }
  int Size() const { return static_cast<int>(items_.size()); }
  // Item 0 is the file item; every item stands after its parent, in the order the tree shows
  // them (depth first, in child order).
  XmlNodeKind Kind(int item) const { return items_[item].kind; }
  int Parent(int item) const { return items_[item].parent; }  // -1 for the file item
  int Row(int item) const { return items_[item].row; }        // among the parent's items
  int ChildCount(int item) const { return static_cast<int>(items_[item].childCount); }
  int Child(int item, int row) const { return children_[items_[item].firstChild + row]; }
  // The item's text: the file's bytes in Encoding(), or UTF-8 when HeldAsUtf8.
  std::string_view Text(int item) const {
    return std::string_view(texts_).substr(items_[item].textOffset, items_[item].textLength);
  }
  bool HeldAsUtf8(int item) const { return items_[item].utf8; }
  // The encoding of the file's bytes: UTF-8, ISO-8859-1 or Windows-1252.
  XmlEncoding Encoding() const { return encoding_; }

  // The item's text as the user sees it, and an edit of it.
  std::string ShownText(int item) const;
  void SetShownText(int item, const std::string& shown);

  // One line per item: two blanks per level of depth, then the shown text.
  std::vector<std::string> Lines() const;

 private:
  struct Item {
    std::uint32_t textOffset;
    std::uint32_t textLength;
    std::uint32_t firstChild;  // into children_
    std::uint32_t childCount;
    int parent;
    int row;
    XmlNodeKind kind;
    bool utf8;
  };
  void SetText(int item, std::string_view text, bool utf8);

  std::vector<Item> items_;
  std::vector<int> children_;  // each item's children one after the other
  std::string texts_;          // the items' texts; an edit appends the new one
  XmlEncoding encoding_ = XmlEncoding::kUtf8;
};

// Reads the file as bytes, parses it and makes its tree. The failure is the system's reason
// for an unreadable file, or the parser's message.
Result<XmlItemTree> OpenXmlTree(const std::filesystem::path& file);

}  // namespace quastor
