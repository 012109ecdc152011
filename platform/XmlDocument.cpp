#include "platform/XmlDocument.h"

#include <algorithm>
#include <sstream>

#include "platform/FileReading.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"

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

}  // namespace

Status XmlDocument::LoadText(std::string_view text, const std::string& source_name) {
  doc_.reset();
  const pugi::xml_parse_result result =
      doc_.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto);
  if (!result) {
    doc_.reset();
    const LineColumn at = PositionOf(text, result.offset);
    return Failure{"\"" + source_name + "\" is not a valid XML document: " + result.description() +
                   " at line " + std::to_string(at.line) + ", column " + std::to_string(at.column) +
                   "."};
  }
  if (!doc_.first_child()) {
    return Failure{"\"" + source_name + "\" is not a valid XML document: it holds no element."};
  }
  return Status::Ok();
}

Status XmlDocument::Load(const std::filesystem::path& file) {
  doc_.reset();
  const Result<std::string> text = ReadWholeFile(file);
  if (!text)
    return Failure{"Cannot open file \"" + Utf8FromPath(file) + "\". " + text.error()};
  return LoadText(*text, Utf8FromPath(file));
}

pugi::xml_node XmlDocument::AddRoot(const std::string& name) {
  return doc_.append_child(name.c_str());
}

std::string XmlDocument::ToText() const {
  std::ostringstream out;
  doc_.save(out, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  return out.str();
}

Status XmlDocument::Save(const std::filesystem::path& file) const {
  return WriteFileAtomic(file, ToText());
}

std::optional<std::string> AttributeText(pugi::xml_node node, const char* name) {
  const pugi::xml_attribute attribute = node.attribute(name);
  if (!attribute)
    return std::nullopt;
  return std::string(attribute.value());
}

std::string NodeText(pugi::xml_node node) {
  if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
    return node.value();
  std::string text;
  for (pugi::xml_node child : node.children())
    text += NodeText(child);
  return text;
}

std::vector<pugi::xml_node> ElementChildren(pugi::xml_node node) {
  std::vector<pugi::xml_node> children;
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element)
      children.push_back(child);
  }
  return children;
}

pugi::xml_node AppendTextChild(pugi::xml_node parent, const std::string& name,
                               const std::string& text) {
  pugi::xml_node child = parent.append_child(name.c_str());
  child.text().set(text.c_str());
  return child;
}

}  // namespace quastor
