#include "tools/XmlTree.h"

#include <utility>

#include "platform/FileReading.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/TextCodec.h"
#include "tools/ToolsTexts.h"

namespace quastor {

namespace texts = tools_texts;

std::string DisplayText(const XmlParseNode& node, const std::string& file_name) {
  std::string text;
  switch (node.kind) {
    case XmlNodeKind::kDocument:
      text = texts::kFilePrefix + file_name;
      break;
    case XmlNodeKind::kElement:
    case XmlNodeKind::kAttribute:
      text = node.name;
      break;
    case XmlNodeKind::kProcessingInstruction:
      text = node.name + texts::kProcessingInstructionSuffix;
      break;
    case XmlNodeKind::kDeclaration:
      text = texts::kDeclarationText;
      break;
  }
  if (!node.value.empty()) {
    text += texts::kValueSeparator;
    text += node.value;
  }
  return text;
}

int ImageIndex(XmlNodeKind kind) {
  return 2 * static_cast<int>(kind);
}

XmlItemTree XmlItemTree::FromDocument(const XmlParseNode& document, const std::string& file_name) {
  XmlItemTree tree;
  tree.Add(document, -1, file_name);
  for (std::size_t i = 1; i < tree.items_.size() && !tree.eightBit_; ++i)
    tree.eightBit_ = !IsValidUtf8(tree.items_[i].text);
  // The file name joins the file's texts in their encoding.
  if (tree.eightBit_)
    tree.items_[0].text = DisplayText(document, EncodeText(file_name, TextEncoding::kWindows1252));
  return tree;
}

// Depth first: the parser bounds the depth, and with it this recursion.
void XmlItemTree::Add(const XmlParseNode& node, int parent, const std::string& file_name) {
  const int index = Size();
  XmlTreeItem item;
  item.text = DisplayText(node, file_name);
  item.kind = node.kind;
  item.parent = parent;
  if (parent >= 0) {
    item.row = static_cast<int>(items_[parent].children.size());
    items_[parent].children.push_back(index);
  }
  items_.push_back(std::move(item));
  items_[index].children.reserve(node.children.size());
  for (const XmlParseNode& child : node.children)
    Add(child, index, file_name);
}

std::string XmlItemTree::ShownText(int index) const {
  const std::string& text = items_[index].text;
  return eightBit_ ? Windows1252ToUtf8(text) : text;
}

void XmlItemTree::SetShownText(int index, const std::string& shown) {
  items_[index].text = eightBit_ ? EncodeText(shown, TextEncoding::kWindows1252) : shown;
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
  const Result<std::string> bytes = ReadWholeFile(file);
  if (!bytes)
    return Failure{FormatText(texts::kCannotOpenFile, {Utf8FromPath(file), bytes.error()})};
  const Result<XmlParseNode> document = ParseXml(*bytes);
  if (!document)
    return document.failure();
  return XmlItemTree::FromDocument(*document, Utf8FromPath(file.filename()));
}

}  // namespace quastor
