#pragma once
// An XML document over pugixml, as the project files use it: load with a readable message on
// failure, the first top-level node or the document element as root, attributes with "absent"
// told apart from "empty", and save without declaration and without indentation (atomically).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "platform/Result.h"

namespace quastor {

class XmlDocument {
 public:
  // Failure messages name the file and say what is wrong with it, with line and column.
  Status Load(const std::filesystem::path& file);
  Status LoadText(std::string_view text, const std::string& source_name = "XML text");

  // The first top-level node (comments, processing instructions and the declaration are not
  // kept by the parser, so this is the root element of a well-formed file).
  pugi::xml_node FirstTopLevelNode() const { return doc_.first_child(); }
  pugi::xml_node DocumentElement() const { return doc_.document_element(); }

  void Clear() { doc_.reset(); }
  pugi::xml_node AddRoot(const std::string& name);

  // The document as text: UTF-8, no declaration, no indentation, no line breaks.
  std::string ToText() const;
  // Atomic replace; the failure message is the system's reason.
  Status Save(const std::filesystem::path& file) const;

  pugi::xml_document& Native() { return doc_; }

 private:
  pugi::xml_document doc_;
};

// Value of the attribute, or nothing when the element has no such attribute.
std::optional<std::string> AttributeText(pugi::xml_node node, const char* name);

// All character data below node, in document order (the node's "text").
std::string NodeText(pugi::xml_node node);

// Element children of node, in document order.
std::vector<pugi::xml_node> ElementChildren(pugi::xml_node node);

// Appends an element child holding text.
pugi::xml_node AppendTextChild(pugi::xml_node parent, const std::string& name,
                               const std::string& text);

}  // namespace quastor
