#pragma once
// A document of records written straight into text: one element holding empty elements that
// carry attributes only, the shape of every table file. The bytes are those XmlDocument::ToText
// gives for the same document (no declaration, no indentation, attribute values escaped as its
// serializer escapes them), but no node tree is built, so that a table of 100,000 records is
// written in a fraction of the time.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quastor {

// Attributes as name and value, in document order.
using XmlAttributeList = std::vector<std::pair<std::string, std::string>>;

class XmlRecordWriter {
 public:
  explicit XmlRecordWriter(std::string root_name);
  // Makes room for bytes of text in advance.
  void Reserve(std::size_t bytes) { text_.reserve(bytes); }
  // Appends an element of that name whose attributes are names[k] = values[k], in order (a
  // name without a value gets ""), then those of more, in their order.
  void AddRecord(std::string_view element, const std::vector<std::string>& names,
                 std::initializer_list<std::string_view> values,
                 const XmlAttributeList& more = {}) {
    AddRecord(element, names, values.begin(), values.end(), more);
  }
  // The same for values counted at run time.
  void AddRecord(std::string_view element, const std::vector<std::string>& names,
                 const std::vector<std::string_view>& values, const XmlAttributeList& more = {}) {
    AddRecord(element, names, values.data(), values.data() + values.size(), more);
  }
  // Closes the document and gives its text; the writer is left without text.
  std::string Finish();

 private:
  void AddRecord(std::string_view element, const std::vector<std::string>& names,
                 const std::string_view* first, const std::string_view* last,
                 const XmlAttributeList& more);
  void AddAttribute(std::string_view name, std::string_view value);
  std::string root_name_;
  std::string text_;  // the root's start tag and the records so far
  bool empty_ = true;
};

}  // namespace quastor
