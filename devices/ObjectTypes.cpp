#include "devices/ObjectTypes.h"

#include <cstdio>

#include "platform/Text.h"

namespace quastor {
namespace {

struct DataType {
  std::uint16_t code;
  const char* name;
  int size;
};

// The basic data types of the object dictionary (indexes 0x0001 to 0x001B).
constexpr DataType kDataTypes[] = {
    {0x0001, "BOOLEAN", 1},         {0x0002, "INTEGER8", 1},       {0x0003, "INTEGER16", 2},
    {0x0004, "INTEGER32", 4},       {0x0005, "UNSIGNED8", 1},      {0x0006, "UNSIGNED16", 2},
    {0x0007, "UNSIGNED32", 4},      {0x0008, "REAL32", 4},         {0x0009, "VISIBLE_STRING", 0},
    {0x000A, "OCTET_STRING", 0},    {0x000B, "UNICODE_STRING", 0}, {0x000C, "TIME_OF_DAY", 6},
    {0x000D, "TIME_DIFFERENCE", 6}, {0x000F, "DOMAIN", 0},         {0x0010, "INTEGER24", 3},
    {0x0011, "REAL64", 8},          {0x0012, "INTEGER40", 5},      {0x0013, "INTEGER48", 6},
    {0x0014, "INTEGER56", 7},       {0x0015, "INTEGER64", 8},      {0x0016, "UNSIGNED24", 3},
    {0x0018, "UNSIGNED40", 5},      {0x0019, "UNSIGNED48", 6},     {0x001A, "UNSIGNED56", 7},
    {0x001B, "UNSIGNED64", 8},
};

const DataType* FindDataType(std::uint16_t code) {
  for (const DataType& type : kDataTypes) {
    if (type.code == code)
      return &type;
  }
  return nullptr;
}

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

constexpr const char* kAccessTexts[] = {"ro", "wo", "rw", "rwr", "rww", "const"};

}  // namespace

std::string ObjectTypeName(std::uint8_t object_type) {
  switch (object_type) {
    case kObjectNull:
      return "NULL";
    case kObjectDomain:
      return "DOMAIN";
    case kObjectDefType:
      return "DEFTYPE";
    case kObjectDefStruct:
      return "DEFSTRUCT";
    case kObjectVar:
      return "VAR";
    case kObjectArray:
      return "ARRAY";
    case kObjectRecord:
      return "RECORD";
    default:
      return Hex(object_type, 2);
  }
}

bool HoldsOwnValue(std::uint8_t object_type) {
  return object_type == kObjectVar || object_type == kObjectDomain || object_type == kObjectDefType;
}

std::string DataTypeName(std::uint16_t data_type) {
  const DataType* type = FindDataType(data_type);
  return type != nullptr ? type->name : Hex(data_type, 4);
}

int DataTypeSize(std::uint16_t data_type) {
  const DataType* type = FindDataType(data_type);
  return type != nullptr ? type->size : 0;
}

bool AccessAllows(EdsAccess access, AccessDirection direction) {
  switch (access) {
    case EdsAccess::kRo:
    case EdsAccess::kConst:
      return direction == AccessDirection::kRead;
    case EdsAccess::kWo:
      return direction == AccessDirection::kWrite;
    case EdsAccess::kRw:
    case EdsAccess::kRwr:
    case EdsAccess::kRww:
      return true;
  }
  return false;
}

const char* AccessText(EdsAccess access) {
  return kAccessTexts[static_cast<int>(access)];
}

std::optional<EdsAccess> AccessFromText(std::string_view text) {
  for (int i = 0; i < 6; ++i) {
    if (EqualsIgnoringCase(text, kAccessTexts[i]))
      return static_cast<EdsAccess>(i);
  }
  return std::nullopt;
}

}  // namespace quastor
