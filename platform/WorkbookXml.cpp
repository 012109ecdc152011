#include "platform/WorkbookXml.h"

#include <cstdint>

#include <orcus/sax_parser.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

namespace quastor::workbook {

namespace {

// orcus' parser hands an element's attributes before the element itself.
class Adapter {
 public:
  explicit Adapter(XmlHandler& handler) : handler_(handler) {}

  void doctype(const orcus::sax::doctype_declaration&) {}
  void start_declaration(std::string_view) {}
  void end_declaration(std::string_view) {}
  void start_element(const orcus::sax::parser_element& element) {
    handler_.Open(element.ns, element.name, attributes_);
    attributes_.Clear();
  }
  void end_element(const orcus::sax::parser_element& element) {
    handler_.Close(element.ns, element.name);
  }
  void characters(std::string_view text, bool) { handler_.Text(text); }
  void attribute(const orcus::sax::parser_attribute& attribute) {
    attributes_.Add(attribute.ns, attribute.name, attribute.value);
  }

 private:
  XmlHandler& handler_;
  XmlAttributes attributes_;
};

}  // namespace

const std::string* XmlAttributes::Find(std::string_view local, const char* prefix) const {
  for (std::size_t i = 0; i < used_; ++i) {
    const Entry& entry = entries_[i];
    if (entry.local == local && (prefix == nullptr || entry.prefix == prefix))
      return &entry.value;
  }
  return nullptr;
}

void XmlAttributes::Add(std::string_view prefix, std::string_view local, std::string_view value) {
  if (used_ == entries_.size())
    entries_.emplace_back();
  Entry& entry = entries_[used_++];
  entry.prefix.assign(prefix);
  entry.local.assign(local);
  entry.value.assign(value);
}

void WalkXml(std::string_view xml, XmlHandler& handler) {
  Adapter adapter(handler);
  orcus::sax_parser<Adapter> parser(xml.data(), xml.size(), adapter);
  try {
    parser.parse();
  } catch (const XmlWalkDone&) {
  }
}

ZipParts::ZipParts(std::string_view bytes)
    : stream_(std::make_unique<orcus::zip_archive_stream_blob>(
          reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())),
      archive_(std::make_unique<orcus::zip_archive>(stream_.get())) {
  archive_->load();
}

ZipParts::~ZipParts() = default;

std::optional<std::string> ZipParts::Read(std::string_view name) const {
  std::vector<unsigned char> bytes;
  if (!archive_->read_file_entry(name, bytes))
    return std::nullopt;
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace quastor::workbook
