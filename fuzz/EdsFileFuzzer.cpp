// Any bytes as an EDS file: reading ends without a fault, objects come in index order with
// their values in sub-index order, a variable holds its one value at sub-index 0, and a failure
// names its line.
//
//   eds_file_fuzzer fuzz/corpus/eds_file

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "devices/EdsFile.h"
#include "fuzz/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quastor;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Result<EdsFile> file = ReadEdsFile(fuzz::Put("device.eds", bytes));
  if (!file) {
    fuzz::Require(file.error().find(", line ") != std::string::npos ||
                      file.error().rfind("Cannot open", 0) == 0,
                  "a damaged file's message names its line");
    return 0;
  }
  for (std::size_t i = 0; i < file->objects.size(); ++i) {
    const EdsObject& object = file->objects[i];
    fuzz::Require(i == 0 || file->objects[i - 1].index < object.index, "objects by index");
    for (std::size_t k = 1; k < object.entries.size(); ++k)
      fuzz::Require(object.entries[k - 1].subIndex < object.entries[k].subIndex,
                    "values by sub-index");
    if (HoldsOwnValue(object.objectType))
      fuzz::Require(object.entries.size() == 1 && object.entries[0].subIndex == 0,
                    "a variable holds one value at sub-index 0");
  }
  return 0;
}
