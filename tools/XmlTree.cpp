#include "tools/XmlTree.h"

#include <utility>

#include "platform/FileReading.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "tools/ToolsTexts.h"

namespace quastor {

namespace texts = tools_texts;

std::string DisplayText(const XmlParseNode& node, const std::string& file_name) {
  std::string text;
  switch (node.Kind()) {
    case XmlNodeKind::kDocument:
      text = texts::kFilePrefix + file_name;
      break;
    case XmlNodeKind::kElement:
    case XmlNodeKind::kAttribute:
      text = node.Name();
      break;
    case XmlNodeKind::kProcessingInstruction:
      text.append(node.Name()).append(texts::kProcessingInstructionSuffix);
      break;
    case XmlNodeKind::kDeclaration:
      text = texts::kDeclarationText;
      break;
  }
  if (!node.Value().empty())
    text.append(texts::kValueSeparator).append(node.Value());
  return text;
}

int ImageIndex(XmlNodeKind kind) {
  return 2 * static_cast<int>(kind);
}

// The parse tree's nodes stand in the order of the items, each after its parent: one pass
// counts each item's children, a second places the texts and the children.
XmlItemTree XmlItemTree::FromDocument(const XmlParseTree& document, const std::string& file_name) {
  XmlItemTree tree;
  const std::size_t count = document.Size();
  tree.items_.resize(count);
  for (std::size_t i = 1; i < count; ++i)
    ++tree.items_[document.ParentIndex(i)].childCount;
  std::uint32_t next = 0;
  for (Item& item : tree.items_) {
    item.firstChild = next;
    next += item.childCount;
    item.childCount = 0;
  }
  tree.children_.resize(next);
  tree.texts_.reserve(document.TextSize() + 4 * count + file_name.size() + 16);
  for (std::size_t i = 0; i < count; ++i) {
    Item& item = tree.items_[i];
    const XmlParseNode node = document.Node(i);
    item.kind = node.Kind();
    item.parent = i == 0 ? -1 : static_cast<int>(document.ParentIndex(i));
    if (i > 0) {
      Item& parent = tree.items_[item.parent];
      item.row = static_cast<int>(parent.childCount);
      tree.children_[parent.firstChild + parent.childCount++] = static_cast<int>(i);
    }
    // The file item holds the name as the file system gave it, whatever the file's encoding.
    tree.SetText(static_cast<int>(i), DisplayText(node, file_name), i == 0);
  }
  tree.encoding_ = document.Encoding();
  return tree;
}

void XmlItemTree::SetText(int item, std::string_view text, bool utf8) {
  items_[item].textOffset = static_cast<std::uint32_t>(texts_.size());
  items_[item].textLength = static_cast<std::uint32_t>(text.size());
  items_[item].utf8 = utf8;
  texts_.append(text);
}

std::string XmlItemTree::ShownText(int item) const {
  if (HeldAsUtf8(item) || encoding_ == XmlEncoding::kUtf8)
    return std::string(Text(item));
  return XmlBytesToUtf8(Text(item), encoding_);
}

void XmlItemTree::SetShownText(int item, const std::string& shown) {
  SetText(item, shown, true);
}

std::vector<std::string> XmlItemTree::Lines() const {
  std::vector<std::string> lines;
  lines.reserve(items_.size());
  std::vector<int> depth(items_.size(), 0);
  for (int i = 0; i < Size(); ++i) {
    if (items_[i].parent >= 0)
      depth[i] = depth[items_[i].parent] + 1;
    lines.push_back(std::string(2 * static_cast<std::size_t>(depth[i]), ' ') + ShownText(i));
  }
  return lines;
}

Result<XmlItemTree> OpenXmlTree(const std::filesystem::path& file) {
  const Result<std::string> bytes = ReadWholeFile(file, texts::kCannotOpenFile);
  if (!bytes)
    return bytes.failure();
  const Result<XmlParseTree> document = ParseXml(*bytes);
  if (!document)
    return document.failure();
  return XmlItemTree::FromDocument(*document, Utf8FromPath(file.filename()));
}

}  // namespace quastor
