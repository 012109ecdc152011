#include "platform/XmlDocument.h"

#include <algorithm>
#include <sstream>

#include <pugixml.hpp>

#include "platform/FileReading.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/TextCodec.h"

namespace quastor {
namespace {

struct LineColumn {
  std::size_t line = 1;
  std::size_t column = 1;
};

LineColumn PositionOf(std::string_view text, std::ptrdiff_t offset) {
  LineColumn at;
  const auto end = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, offset));
  for (std::size_t i = 0; i < end && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++at.line;
      at.column = 1;
    } else {
      ++at.column;
    }
  }
  return at;
}

bool HasUtf16Or32Mark(std::string_view text) {
  auto starts = [&](std::string_view mark) { return text.substr(0, mark.size()) == mark; };
  using namespace std::string_view_literals;
  return starts("\xFF\xFE"sv) || starts("\xFE\xFF"sv) || starts("\x00\x00\xFE\xFF"sv);
}

pugi::xml_node Node(const XmlNode& node) {
  return pugi::xml_node(node.Native());
}

std::string AllText(pugi::xml_node node) {
  if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
    return node.value();
  std::string text;
  for (pugi::xml_node child : node.children())
    text += AllText(child);
  return text;
}

// Whether text is UTF-8 of Unicode scalar values (no surrogate, nothing past U+10FFFF, no
// overlong form).
bool ScalarUtf8(const char* text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p != 0) {
    const unsigned char b = *p++;
    if (b < 0x80)
      continue;
    int extra = 0;
    unsigned char low = 0x80;  // the bounds of the second byte
    unsigned char high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      low = b == 0xE0 ? 0xA0 : 0x80;
      high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      low = b == 0xF0 ? 0x90 : 0x80;
      high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
      return false;
    }
    for (int k = 0; k < extra; ++k, ++p) {
      if (*p < (k == 0 ? low : 0x80) || *p > (k == 0 ? high : 0xBF))
        return false;
    }
  }
  return true;
}

// Whether every name and value in the tree is UTF-8 of scalar values. The text given to pugixml
// is UTF-8, but pugixml writes a numeric character reference to a surrogate or past U+10FFFF
// as bytes that are not: such a string, saved later into another file, would make that whole
// file read as 8-bit text.
bool TreeIsUtf8(const pugi::xml_node& root) {
  pugi::xml_node node = root.first_child();
  while (node) {
    if (!ScalarUtf8(node.name()) || !ScalarUtf8(node.value()))
      return false;
    for (const pugi::xml_attribute& attribute : node.attributes()) {
      if (!ScalarUtf8(attribute.name()) || !ScalarUtf8(attribute.value()))
        return false;
    }
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node != root && !node.next_sibling())
      node = node.parent();
    if (node == root)
      break;
    node = node.next_sibling();
  }
  return true;
}

}  // namespace

XmlNode::Kind XmlNode::kind() const {
  switch (Node(*this).type()) {
    case pugi::node_null:
      return Kind::kNull;
    case pugi::node_element:
      return Kind::kElement;
    case pugi::node_pcdata:
    case pugi::node_cdata:
      return Kind::kText;
    default:
      return Kind::kOther;
  }
}

std::string XmlNode::Name() const {
  return Node(*this).name();
}

std::size_t XmlNode::ChildCount() const {
  std::size_t count = 0;
  for (pugi::xml_node child = Node(*this).first_child(); child; child = child.next_sibling())
    ++count;
  return count;
}

XmlChildren XmlNode::Children() const {
  return XmlChildren(XmlNode(Node(*this).first_child().internal_object()));
}

XmlChildIterator& XmlChildIterator::operator++() {
  node_ = XmlNode(Node(node_).next_sibling().internal_object());
  return *this;
}

std::vector<XmlNode> XmlNode::ElementChildren() const {
  std::vector<XmlNode> children;
  for (pugi::xml_node child : Node(*this).children()) {
    if (child.type() == pugi::node_element)
      children.emplace_back(child.internal_object());
  }
  return children;
}

XmlNode XmlNode::Child(const std::string& name) const {
  return XmlNode(Node(*this).child(name.c_str()).internal_object());
}

std::optional<std::string> XmlNode::Attribute(const std::string& name) const {
  const pugi::xml_attribute attribute = Node(*this).attribute(name.c_str());
  if (!attribute)
    return std::nullopt;
  return std::string(attribute.value());
}

std::vector<std::pair<std::string, std::string>> XmlNode::Attributes() const {
  std::vector<std::pair<std::string, std::string>> attributes;
  for (pugi::xml_attribute attribute : Node(*this).attributes())
    attributes.emplace_back(attribute.name(), attribute.value());
  return attributes;
}

std::string XmlNode::Text() const {
  return AllText(Node(*this));
}

XmlNode XmlNode::AppendElement(const std::string& name) {
  return XmlNode(Node(*this).append_child(name.c_str()).internal_object());
}

XmlNode XmlNode::AppendTextElement(const std::string& name, const std::string& text) {
  XmlNode child = AppendElement(name);
  child.SetText(text);
  return child;
}

void XmlNode::SetAttribute(const std::string& name, const std::string& value) {
  pugi::xml_node node = Node(*this);
  pugi::xml_attribute attribute = node.attribute(name.c_str());
  if (!attribute)
    attribute = node.append_attribute(name.c_str());
  attribute.set_value(value.c_str());
}

void XmlNode::SetText(const std::string& text) {
  Node(*this).text().set(text.c_str());
}

XmlDocument::XmlDocument() : doc_(std::make_unique<pugi::xml_document>()) {}
XmlDocument::~XmlDocument() = default;

Status XmlDocument::LoadText(std::string_view text, const std::string& source_name) {
  return Parse(std::string(text), source_name);
}

Status XmlDocument::Parse(std::string bytes, const std::string& source_name) {
  doc_->reset();
  // Files written on Windows may hold 8-bit text of its code page without saying so.
  pugi::xml_encoding encoding = pugi::encoding_auto;
  if (!HasUtf16Or32Mark(bytes) && !IsValidUtf8(bytes)) {
    bytes = Windows1252ToUtf8(bytes);
    encoding = pugi::encoding_utf8;
  }
  buffer_ = std::move(bytes);
  const pugi::xml_parse_result result =
      doc_->load_buffer_inplace(buffer_.data(), buffer_.size(), pugi::parse_default, encoding);
  if (!result) {
    doc_->reset();
    const LineColumn at = PositionOf(buffer_, result.offset);
    buffer_.clear();
    return Failure{"\"" + source_name + "\" is not a valid XML document: " + result.description() +
                   " at line " + std::to_string(at.line) + ", column " + std::to_string(at.column) +
                   "."};
  }
  if (!doc_->first_child()) {
    return Failure{"\"" + source_name + "\" is not a valid XML document: it holds no element."};
  }
  if (!TreeIsUtf8(*doc_)) {
    doc_->reset();
    buffer_.clear();
    return Failure{"\"" + source_name +
                   "\" is not a valid XML document: a character reference names no character."};
  }
  return Status::Ok();
}

Status XmlDocument::Load(const std::filesystem::path& file) {
  doc_->reset();
  Result<std::string> text = ReadWholeFile(file, "Cannot open file \"%s\". %s");
  if (!text)
    return text.failure();
  return Parse(std::move(text.value()), Utf8FromPath(file));
}

XmlNode XmlDocument::FirstTopLevelNode() const {
  return XmlNode(doc_->first_child().internal_object());
}

XmlNode XmlDocument::DocumentElement() const {
  return XmlNode(doc_->document_element().internal_object());
}

void XmlDocument::Clear() {
  doc_->reset();
  buffer_.clear();
}

XmlNode XmlDocument::AddRoot(const std::string& name) {
  return XmlNode(doc_->append_child(name.c_str()).internal_object());
}

std::string XmlDocument::ToText() const {
  std::ostringstream out;
  doc_->save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

Status XmlDocument::Save(const std::filesystem::path& file) const {
  return WriteFileAtomic(file, ToText());
}

}  // namespace quastor
