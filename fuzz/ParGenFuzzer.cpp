// Any bytes as a project's pargen.xml: the settings dialog's load and the GSD file's reading
// of the sizes end without a fault; sizes the GSD reading accepts lie in 0 to 244; and values
// the dialog would let OK write read back unchanged from the file OK writes.
//
//   pargen_fuzzer fuzz/corpus/pargen

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/FuzzFiles.h"
#include "gateway/GsdFile.h"
#include "gateway/ParGen.h"

namespace {

using namespace quastor;
using fuzz::Require;

bool Same(const ParGen& a, const ParGen& b) {
  return a.profiId == b.profiId && a.profiBaud == b.profiBaud && a.profiNbIn == b.profiNbIn &&
         a.profiNbOut == b.profiNbOut && a.dnetDevId == b.dnetDevId && a.dnetBaud == b.dnetBaud;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto file = fuzz::Put("pargen.xml", bytes);
  const ParGenLoad load = LoadParGen(file);
  Require(load.found, "an existing pargen.xml is found");

  const Result<GsdSizes> sizes = ReadGsdSizes(fuzz::Dir());
  if (sizes) {
    Require(sizes->nin >= 0 && sizes->nin <= kGsdMaxBytes && sizes->nout >= 0 &&
                sizes->nout <= kGsdMaxBytes,
            "the GSD reading accepts sizes of 0 to 244 only");
    Require(!GsdLines(*sizes).empty(), "a GSD file has lines");
  }

  const ParGen shown = AsDialogShows(load.model);
  if (!ValidateParGen(shown))
    return 0;
  Require(SaveParGen(file, shown).ok(), "pargen.xml is written");
  const ParGenLoad again = LoadParGen(file);
  Require(again.report.Complete(), "pargen.xml written by OK loads without a problem");
  Require(Same(again.model, shown), "pargen.xml written by OK reads back the same values");
  return 0;
}
