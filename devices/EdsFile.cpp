#include "devices/EdsFile.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "devices/DeviceTexts.h"
#include "devices/IniSections.h"
#include "platform/FileReading.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/TextCodec.h"

namespace quastor {
namespace {

namespace texts = device_texts;

enum class SectionKind { kObject, kSub, kNames, kValues, kList, kDeviceInfo, kOther, kBadIndex };

struct SectionName {
  SectionKind kind = SectionKind::kOther;
  std::uint16_t index = 0;
  std::uint8_t sub = 0;
};

bool AllHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return HexDigitValue(c) >= 0; });
}

std::uint32_t HexValue(std::string_view digits) {
  std::uint32_t value = 0;
  for (const char c : digits)
    value = value * 16 + static_cast<std::uint32_t>(HexDigitValue(c));
  return value;
}

// What a section's name makes of it: "1018" an object, "1018sub2" a sub-object, "1003Name" and
// "1003Value" the names and values of a compact array, and the lists and [DeviceInfo] by name.
SectionName Classify(const std::string& name) {
  const std::string lower = LowerCase(name);
  if (lower == "mandatoryobjects" || lower == "optionalobjects" || lower == "manufacturerobjects")
    return {SectionKind::kList};
  if (lower == "deviceinfo")
    return {SectionKind::kDeviceInfo};
  std::size_t digits = 0;
  while (digits < lower.size() && HexDigitValue(lower[digits]) >= 0)
    ++digits;
  if (digits == 0)
    return {};
  const std::string_view rest = std::string_view(lower).substr(digits);
  SectionKind kind = SectionKind::kOther;
  std::string_view sub_digits;
  if (rest.empty()) {
    kind = SectionKind::kObject;
  } else if (rest.rfind("sub", 0) == 0 && AllHex(rest.substr(3))) {
    kind = SectionKind::kSub;
    sub_digits = rest.substr(3);
    if (sub_digits.empty() || sub_digits.size() > 2)
      return {SectionKind::kBadIndex};
  } else if (rest == "name") {
    kind = SectionKind::kNames;
  } else if (rest == "value") {
    kind = SectionKind::kValues;
  } else {
    return {};
  }
  if (digits > 4)
    return {SectionKind::kBadIndex};
  return {kind, static_cast<std::uint16_t>(HexValue(lower.substr(0, digits))),
          static_cast<std::uint8_t>(HexValue(sub_digits))};
}

std::string Hex4(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
  return text;
}

Failure At(int line, const char* pattern, const std::vector<std::string>& values) {
  return Failure{LineMessage(line, FormatText(pattern, values))};
}

// The number a key gives, between 0 and max; fallback when the key is absent, a failure when
// it is absent without a fallback.
Result<std::uint32_t> NumberKey(const IniSection& section, const char* key, std::uint32_t max,
                                std::optional<std::uint32_t> fallback = std::nullopt) {
  const IniKey* entry = section.Find(key);
  if (entry == nullptr) {
    if (fallback)
      return *fallback;
    return At(section.line, texts::kEdsKeyMissing, {section.name, key});
  }
  const std::optional<std::uint32_t> value = EdsNumber(entry->value);
  if (!value)
    return At(entry->line, texts::kEdsNotANumber, {entry->key, entry->value});
  if (*value > max)
    return At(entry->line, texts::kEdsNumberRange,
              {entry->key, entry->value, "0", "0x" + Hex4(max)});
  return *value;
}

Result<std::string> TextKey(const IniSection& section, const char* key) {
  const IniKey* entry = section.Find(key);
  if (entry == nullptr)
    return At(section.line, texts::kEdsKeyMissing, {section.name, key});
  return entry->value;
}

// ParameterName and ObjectType of an object or a sub-object.
Status ReadNameAndType(const IniSection& section, std::string& name, std::uint8_t& object_type) {
  const Result<std::string> named = TextKey(section, "ParameterName");
  if (!named)
    return named.failure();
  const Result<std::uint32_t> type = NumberKey(section, "ObjectType", 0xFF, kObjectVar);
  if (!type)
    return type.failure();
  name = *named;
  object_type = static_cast<std::uint8_t>(*type);
  return Status::Ok();
}

// DataType, AccessType and DefaultValue of a value.
Status ReadValueKeys(const IniSection& section, EdsEntry& entry) {
  const Result<std::uint32_t> type = NumberKey(section, "DataType", 0xFFFF);
  if (!type)
    return type.failure();
  const Result<std::string> access_text = TextKey(section, "AccessType");
  if (!access_text)
    return access_text.failure();
  const std::optional<EdsAccess> access = AccessFromText(*access_text);
  if (!access)
    return At(section.Find("AccessType")->line, texts::kEdsUnknownAccess, {*access_text});
  entry.dataType = static_cast<std::uint16_t>(*type);
  entry.access = *access;
  if (const IniKey* value = section.Find("DefaultValue"))
    entry.defaultValue = value->value;
  return Status::Ok();
}

// An object while the file is read: where its keys stand, for later complaints.
struct ObjectBuild {
  EdsObject object;
  const IniSection* section = nullptr;
  std::uint32_t compact = 0;
  EdsEntry compactValue;  // the data type, access and default that compact entries share
  std::vector<const IniSection*> subSections;
};

Status ReadObject(const IniSection& section, ObjectBuild& build) {
  EdsObject& object = build.object;
  build.section = &section;
  Status read = ReadNameAndType(section, object.name, object.objectType);
  if (!read)
    return read;
  if (HoldsOwnValue(object.objectType)) {
    EdsEntry entry;
    entry.name = object.name;
    entry.objectType = object.objectType;
    read = ReadValueKeys(section, entry);
    if (!read)
      return read;
    object.entries.push_back(std::move(entry));
    return Status::Ok();
  }
  const Result<std::uint32_t> compact = NumberKey(section, "CompactSubObj", 0xFE, 0);
  if (!compact)
    return compact.failure();
  build.compact = *compact;
  if (build.compact > 0)
    return ReadValueKeys(section, build.compactValue);
  return Status::Ok();
}

// Sub-index 0 counting the entries, then entries 1 to N alike.
void ExpandCompact(ObjectBuild& build) {
  EdsObject& object = build.object;
  EdsEntry count;
  count.name = texts::kEdsCountName;
  count.dataType = 0x0005;  // UNSIGNED8
  count.access = EdsAccess::kRo;
  count.defaultValue = std::to_string(build.compact);
  object.entries.push_back(count);
  for (std::uint32_t sub = 1; sub <= build.compact; ++sub) {
    EdsEntry entry = build.compactValue;
    entry.subIndex = static_cast<std::uint8_t>(sub);
    entry.name = object.name + std::to_string(sub);
    object.entries.push_back(std::move(entry));
  }
}

// The sub-objects of an ARRAY or RECORD, in sub-index order, against its SubNumber.
Status AddSubObjects(ObjectBuild& build) {
  EdsObject& object = build.object;
  const IniSection& section = *build.section;
  const IniKey* sub_number = section.Find("SubNumber");
  if (build.compact > 0) {
    if (!build.subSections.empty()) {
      return At(section.Find("CompactSubObj")->line, texts::kEdsCompactWithSubs,
                {section.Find("CompactSubObj")->value, Hex4(object.index)});
    }
    ExpandCompact(build);
    return Status::Ok();
  }
  std::map<std::uint8_t, const IniSection*> by_sub;
  for (const IniSection* sub : build.subSections) {
    const std::uint8_t sub_index = Classify(sub->name).sub;
    const auto [first, added] = by_sub.emplace(sub_index, sub);
    if (!added) {
      return At(sub->line, texts::kEdsSectionTwice,
                {sub->name, std::to_string(first->second->line)});
    }
  }
  for (const auto& [sub_index, sub] : by_sub) {
    EdsEntry entry;
    entry.subIndex = sub_index;
    Status read = ReadNameAndType(*sub, entry.name, entry.objectType);
    if (read)
      read = ReadValueKeys(*sub, entry);
    if (!read)
      return read;
    object.entries.push_back(std::move(entry));
  }
  if (sub_number != nullptr) {
    const Result<std::uint32_t> count = NumberKey(section, "SubNumber", 0x100);
    if (!count)
      return count.failure();
    if (*count != object.entries.size()) {
      return At(sub_number->line, texts::kEdsSubNumberDiffers,
                {sub_number->value, Hex4(object.index),
                 Counted(object.entries.size(), "sub-object section", "sub-object sections")});
    }
  }
  return Status::Ok();
}

// [<index>Name] or [<index>Value]: NrOfEntries, then sub-index=text for a compact array.
Status ApplyCompactTexts(const IniSection& section, const SectionName& kind,
                         std::map<std::uint16_t, ObjectBuild>& objects) {
  const auto found = objects.find(kind.index);
  if (found == objects.end() || found->second.compact == 0)
    return At(section.line, texts::kEdsNameWithoutCompact, {section.name, Hex4(kind.index)});
  ObjectBuild& build = found->second;
  for (const IniKey& key : section.keys) {
    if (EqualsIgnoringCase(key.key, "NrOfEntries"))
      continue;
    const std::optional<std::uint32_t> sub = EdsNumber(key.key);
    if (!sub || *sub == 0 || *sub > build.compact) {
      return At(key.line, texts::kEdsNameEntry,
                {key.key, section.name, std::to_string(build.compact)});
    }
    EdsEntry& entry = build.object.entries[*sub];
    if (kind.kind == SectionKind::kNames)
      entry.name = key.value;
    else
      entry.defaultValue = key.value;
  }
  return Status::Ok();
}

// A list of objects: SupportedObjects=N, then 1=<index> to N=<index>, each an object the file
// has.
Status CheckList(const IniSection& section, const std::map<std::uint16_t, ObjectBuild>& objects) {
  const Result<std::uint32_t> supported = NumberKey(section, "SupportedObjects", 0x10000);
  if (!supported)
    return supported.failure();
  std::size_t listed = 0;
  for (const IniKey& key : section.keys) {
    if (EqualsIgnoringCase(key.key, "SupportedObjects"))
      continue;
    const std::optional<std::uint32_t> number = EdsNumber(key.key);
    if (!number || *number == 0 || *number > *supported)
      return At(key.line, texts::kEdsListKey, {key.key, section.name});
    const std::optional<std::uint32_t> index = EdsNumber(key.value);
    if (!index)
      return At(key.line, texts::kEdsNotANumber, {key.key, key.value});
    if (*index > 0xFFFF || objects.count(static_cast<std::uint16_t>(*index)) == 0)
      return At(key.line, texts::kEdsListedWithoutSection, {section.name, Hex4(*index)});
    ++listed;
  }
  if (listed != *supported) {
    const IniKey* count = section.Find("SupportedObjects");
    return At(count->line, texts::kEdsListCount,
              {section.name, count->value, Counted(listed, "object", "objects")});
  }
  return Status::Ok();
}

}  // namespace

const EdsEntry* EdsObject::Entry(std::uint8_t sub_index) const {
  for (const EdsEntry& entry : entries) {
    if (entry.subIndex == sub_index)
      return &entry;
  }
  return nullptr;
}

const EdsObject* EdsFile::Object(std::uint16_t index) const {
  const auto found = std::lower_bound(
      objects.begin(), objects.end(), index,
      [](const EdsObject& object, std::uint16_t wanted) { return object.index < wanted; });
  return found != objects.end() && found->index == index ? &*found : nullptr;
}

std::optional<std::uint32_t> EdsNumber(std::string_view text) {
  text = Trim(text);
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty())
    return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    const int digit = base == 16 ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0)
      return std::nullopt;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu)
      return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

Result<EdsFile> ParseEds(std::string_view text) {
  const Result<IniText> ini = ParseIni(text);
  if (!ini)
    return ini.failure();
  EdsFile file;
  std::map<std::uint16_t, ObjectBuild> objects;
  std::vector<std::pair<const IniSection*, SectionName>> later;  // sub-objects, names, lists
  for (const IniSection& section : ini->sections) {
    const SectionName kind = Classify(section.name);
    if (kind.kind == SectionKind::kBadIndex)
      return At(section.line, texts::kEdsIndexRange, {section.name});
    if (kind.kind == SectionKind::kDeviceInfo) {
      if (const IniKey* vendor = section.Find("VendorName"))
        file.vendorName = vendor->value;
      if (const IniKey* product = section.Find("ProductName"))
        file.productName = product->value;
    } else if (kind.kind == SectionKind::kObject) {
      const auto [build, added] = objects.try_emplace(kind.index);
      if (!added) {
        return At(section.line, texts::kEdsSectionTwice,
                  {section.name, std::to_string(build->second.section->line)});
      }
      build->second.object.index = kind.index;
      const Status read = ReadObject(section, build->second);
      if (!read)
        return read.failure();
    } else if (kind.kind != SectionKind::kOther) {
      later.emplace_back(&section, kind);
    }
  }
  for (const auto& [section, kind] : later) {
    if (kind.kind != SectionKind::kSub)
      continue;
    const auto found = objects.find(kind.index);
    if (found == objects.end())
      return At(section->line, texts::kEdsSubWithoutObject, {section->name, Hex4(kind.index)});
    if (HoldsOwnValue(found->second.object.objectType))
      return At(section->line, texts::kEdsSubOfVariable, {section->name, Hex4(kind.index)});
    found->second.subSections.push_back(section);
  }
  for (auto& [index, build] : objects) {
    if (HoldsOwnValue(build.object.objectType))
      continue;
    const Status added = AddSubObjects(build);
    if (!added)
      return added.failure();
  }
  for (const auto& [section, kind] : later) {
    Status done;
    if (kind.kind == SectionKind::kNames || kind.kind == SectionKind::kValues)
      done = ApplyCompactTexts(*section, kind, objects);
    else if (kind.kind == SectionKind::kList)
      done = CheckList(*section, objects);
    if (!done)
      return done.failure();
  }
  file.objects.reserve(objects.size());
  for (auto& [index, build] : objects)
    file.objects.push_back(std::move(build.object));
  return file;
}

Result<EdsFile> ReadEdsFile(const std::filesystem::path& file) {
  const Result<std::string> bytes = ReadWholeFile(file, texts::kCannotOpenFile);
  if (!bytes)
    return bytes.failure();
  TextEncoding encoding = TextEncoding::kLocal;
  Result<EdsFile> read = ParseEds(DecodeText(*bytes, &encoding));
  if (!read)
    return Failure{FormatText(texts::kDamagedFile, {Utf8FromPath(file), read.error()})};
  return read;
}

}  // namespace quastor
