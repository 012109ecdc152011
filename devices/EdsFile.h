#pragma once
// A CANopen device's EDS file: the objects of its dictionary with their sub-objects, names,
// data types, access and default values.
//
// Objects come from sections named by their index in hexadecimal ([1000]), sub-objects from
// sections that add "sub" and the sub-index ([1018sub2]), both in any letter case. An array
// stored compactly (CompactSubObj=N) is expanded into sub-index 0, which counts the entries,
// and sub-indexes 1 to N, which share the object's data type, access and default value and
// take their names and values from the sections [<index>Name] and [<index>Value] where those
// give them. The lists [MandatoryObjects], [OptionalObjects] and [ManufacturerObjects] must
// name objects the file has; [FileInfo], [DeviceInfo], [Comments] and other sections are not
// looked at, except the vendor's and product's names of [DeviceInfo].

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/ObjectTypes.h"
#include "platform/Result.h"

namespace quastor {

// One value of the dictionary: the object itself at sub-index 0 when it holds its value (VAR,
// DOMAIN, DEFTYPE), else one of its sub-objects.
struct EdsEntry {
  std::uint8_t subIndex = 0;
  std::string name;
  std::uint8_t objectType = kObjectVar;
  std::uint16_t dataType = 0;
  EdsAccess access = EdsAccess::kRo;
  // As written, "$NODEID+0x180" too; nothing when the file gives none.
  std::optional<std::string> defaultValue;

  // The value's size in bytes, 0 when its type has none of fixed size.
  int Size() const { return DataTypeSize(dataType); }
};

struct EdsObject {
  std::uint16_t index = 0;
  std::string name;
  std::uint8_t objectType = kObjectVar;
  // Its values by sub-index: one at sub-index 0 for a VAR, the sub-objects for an ARRAY or a
  // RECORD, none for a NULL object.
  std::vector<EdsEntry> entries;

  // The entry of this sub-index, or null.
  const EdsEntry* Entry(std::uint8_t sub_index) const;
};

struct EdsFile {
  std::vector<EdsObject> objects;  // by index
  std::string vendorName;          // [DeviceInfo], empty when not given
  std::string productName;

  // The object of this index, or null.
  const EdsObject* Object(std::uint16_t index) const;
};

// The objects of EDS text (UTF-8). A damaged text fails with "line N: reason".
Result<EdsFile> ParseEds(std::string_view text);

// Reads an EDS file through the platform's reader, in UTF-8 or Windows-1252. Fails with the
// reason the file cannot be opened, or "\"<file>\", line N: reason" for a damaged one.
Result<EdsFile> ReadEdsFile(const std::filesystem::path& file);

// A whole number of an EDS value: decimal digits, or hexadecimal ones behind "0x" or "0X",
// with blanks around them; nothing for other text or a value above 0xFFFFFFFF.
std::optional<std::uint32_t> EdsNumber(std::string_view text);

}  // namespace quastor
