// The XML tool's own parser beside pugixml on the same 10 MB generated file, both from the
// bytes in memory to a freed tree, with freed memory kept as the program keeps it; and the
// tool's whole opening of it (parse and items). The budget: the own parser within twice
// pugixml's time.
//
//   xml_parser_bench [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <string>

#include "platform/MemoryTuning.h"
#include "tools/XmlParser.h"
#include "tools/XmlTree.h"

namespace {

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

// Table rows with attributes, as the project files hold them, with references, a text
// element, a comment and a CDATA section now and then; about 10 MB.
const std::string& File() {
  static const std::string file = [] {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<sdo>\n";
    for (int i = 0; text.size() < kFileSize; ++i) {
      text += "  <row conf=\"" + std::to_string(i % 17) + "\" IndexA=\"0x" +
              std::to_string(2000 + i % 7000) + "\" SubindexA=\"" + std::to_string(i % 8) +
              "\" devIDB=\"5\" IndexB=\"0x6000\" SubindexB=\"1\" nbyteB=\"2\" mnemonico=\"entry " +
              std::to_string(i) + (i % 10 == 0 ? " &amp; &#x41;" : "") + "\"/>\n";
      if (i % 50 == 0)
        text += "  <note>value &lt;" + std::to_string(i) + "&gt; <![CDATA[raw <text>]]></note>\n";
      if (i % 100 == 0)
        text += "  <!-- block " + std::to_string(i / 100) + " -->\n";
    }
    return text + "</sdo>\n";
  }();
  return file;
}

void OwnParser(benchmark::State& state) {
  const std::string& file = File();
  for (auto _ : state) {
    const quastor::Result<quastor::XmlParseTree> document = quastor::ParseXml(file);
    if (!document) {
      state.SkipWithError(document.error().c_str());
      break;
    }
    benchmark::DoNotOptimize(document->Size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(OwnParser)->Unit(benchmark::kMillisecond);

void Pugixml(benchmark::State& state) {
  const std::string& file = File();
  for (auto _ : state) {
    pugi::xml_document document;
    const pugi::xml_parse_result result =
        document.load_buffer(file.data(), file.size(), pugi::parse_default);
    if (!result) {
      state.SkipWithError(result.description());
      break;
    }
    benchmark::DoNotOptimize(document.first_child());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(Pugixml)->Unit(benchmark::kMillisecond);

// What the window's Open does after reading: parse, make the items, free the parse tree.
void OwnParserAndItems(benchmark::State& state) {
  const std::string& file = File();
  for (auto _ : state) {
    const quastor::XmlItemTree tree =
        quastor::XmlItemTree::FromDocument(*quastor::ParseXml(file), "bench.xml");
    benchmark::DoNotOptimize(tree.Size());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(OwnParserAndItems)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  quastor::KeepFreedMemoryForReuse();  // as the program does
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
