#include "platform/XmlRecordWriter.h"

#include <utility>

namespace quastor {
namespace {

// Escapes as the document's serializer does inside a double-quoted attribute value: &, < and "
// as entities, control characters as two-digit character references; everything else, bytes
// of UTF-8 sequences included, unchanged.
void AppendEscaped(std::string& out, std::string_view value) {
  for (const char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (c > 0 && c < 32) {
          out += "&#";
          out += static_cast<char>('0' + c / 10);
          out += static_cast<char>('0' + c % 10);
          out += ';';
        } else {
          out += c;
        }
    }
  }
}

}  // namespace

XmlRecordWriter::XmlRecordWriter(std::string root_name)
    : root_name_(std::move(root_name)), text_("<" + root_name_) {}

void XmlRecordWriter::AddAttribute(std::string_view name, std::string_view value) {
  text_ += ' ';
  text_ += name;
  text_ += "=\"";
  AppendEscaped(text_, value);
  text_ += '"';
}

void XmlRecordWriter::AddRecord(std::string_view element, const std::vector<std::string>& names,
                                const std::string_view* first, const std::string_view* last,
                                const XmlAttributeList& more) {
  if (empty_) {
    text_ += '>';
    empty_ = false;
  }
  text_ += '<';
  text_ += element;
  const std::string_view* value = first;
  for (const std::string& name : names)
    AddAttribute(name, value != last ? *value++ : std::string_view());
  for (const auto& [name, text] : more)
    AddAttribute(name, text);
  text_ += "/>";
}

std::string XmlRecordWriter::Finish() {
  if (empty_) {
    text_ += "/>";
  } else {
    text_ += "</";
    text_ += root_name_;
    text_ += '>';
  }
  return std::move(text_);
}

}  // namespace quastor
