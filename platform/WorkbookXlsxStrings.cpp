#include "platform/WorkbookXlsxStrings.h"

#include <cstdint>
#include <cstring>
#include <exception>
#include <string>

#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>
#include <pugixml.hpp>

namespace quastor::workbook {

namespace {

// An element's name without its namespace prefix ("x:si" -> "si").
bool NameIs(pugi::xml_node node, const char* local) {
  const char* name = node.name();
  const char* colon = std::strrchr(name, ':');
  return std::strcmp(colon != nullptr ? colon + 1 : name, local) == 0;
}

bool Load(const orcus::zip_archive& archive, const std::string& entry, pugi::xml_document& doc) {
  std::vector<unsigned char> bytes;
  if (!archive.read_file_entry(entry, bytes))
    return false;
  // Whitespace-only text counts: <t xml:space="preserve"> </t> is not empty.
  return static_cast<bool>(
      doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_minimal | pugi::parse_ws_pcdata));
}

// The shared strings part named by the workbook's relationships, else the usual name.
std::string SharedStringsEntry(const orcus::zip_archive& archive) {
  pugi::xml_document rels;
  if (Load(archive, "xl/_rels/workbook.xml.rels", rels)) {
    for (pugi::xml_node rel : rels.document_element().children()) {
      const std::string type = rel.attribute("Type").value();
      const std::string target = rel.attribute("Target").value();
      static constexpr std::string_view kSuffix = "/sharedStrings";
      if (type.size() >= kSuffix.size() &&
          type.compare(type.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0 &&
          !target.empty())
        return target.front() == '/' ? target.substr(1) : "xl/" + target;
    }
  }
  return "xl/sharedStrings.xml";
}

// True when one of the text elements t holds a character.
bool HasText(pugi::xml_node parent) {
  for (pugi::xml_node t : parent.children()) {
    if (!NameIs(t, "t"))
      continue;
    for (pugi::xml_node data : t.children()) {
      if ((data.type() == pugi::node_pcdata || data.type() == pugi::node_cdata) &&
          *data.value() != '\0')
        return true;
    }
  }
  return false;
}

}  // namespace

std::vector<bool> EmptySharedStrings(std::string_view xlsxBytes) {
  std::vector<bool> empty;
  try {
    orcus::zip_archive_stream_blob stream(reinterpret_cast<const std::uint8_t*>(xlsxBytes.data()),
                                          xlsxBytes.size());
    orcus::zip_archive archive(&stream);
    archive.load();
    pugi::xml_document doc;
    if (!Load(archive, SharedStringsEntry(archive), doc))
      return empty;
    for (pugi::xml_node si : doc.document_element().children()) {
      if (!NameIs(si, "si"))
        continue;
      // Plain text in <t>, rich text in the <t> of each run <r>; phonetic runs do not count.
      bool text = HasText(si);
      for (pugi::xml_node run : si.children()) {
        if (NameIs(run, "r"))
          text = text || HasText(run);
      }
      empty.push_back(!text);
    }
  } catch (const std::exception&) {
    empty.clear();  // the import proper reports what is wrong with the file
  }
  return empty;
}

}  // namespace quastor::workbook
