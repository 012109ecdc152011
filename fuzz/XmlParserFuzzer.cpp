// Any bytes through the XML tool: parsing fails with one of its messages or gives a tree whose
// items and lines stand in order, and which the writer either refuses with a message or turns
// into a document that the tool parses again.
//
//   xml_parser_fuzzer fuzz/corpus/xml_parser

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tools/XmlParser.h"
#include "tools/XmlTree.h"
#include "tools/XmlWrite.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quastor;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Result<XmlParseTree> document = ParseXml(bytes);
  if (!document) {
    if (document.error().empty())
      std::abort();
    return 0;
  }
  const XmlItemTree tree = XmlItemTree::FromDocument(*document, "fuzz.xml");
  if (tree.Empty() || tree.Kind(0) != XmlNodeKind::kDocument)
    std::abort();
  for (int i = 1; i < tree.Size(); ++i) {
    const int parent = tree.Parent(i);
    if (parent < 0 || parent >= i || tree.Child(parent, tree.Row(i)) != i)
      std::abort();
  }
  if (tree.Lines().size() != static_cast<std::size_t>(tree.Size()))
    std::abort();
  const Result<std::string> written = XmlTreeDocument(tree);
  if (written && !ParseXml(*written))
    std::abort();
  return 0;
}
