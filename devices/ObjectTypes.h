#pragma once
// The vocabulary of a CANopen object dictionary as an EDS file writes it: object types, the
// basic data types with their sizes, and the access types with the directions they allow.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quastor {

// ObjectType codes.
inline constexpr std::uint8_t kObjectNull = 0x0;
inline constexpr std::uint8_t kObjectDomain = 0x2;
inline constexpr std::uint8_t kObjectDefType = 0x5;
inline constexpr std::uint8_t kObjectDefStruct = 0x6;
inline constexpr std::uint8_t kObjectVar = 0x7;
inline constexpr std::uint8_t kObjectArray = 0x8;
inline constexpr std::uint8_t kObjectRecord = 0x9;

// "VAR", "ARRAY", ...; "0x0B" for a code of no known type.
std::string ObjectTypeName(std::uint8_t object_type);

// Whether objects of this type hold their value themselves (sub-index 0) rather than in
// sub-objects.
bool HoldsOwnValue(std::uint8_t object_type);

// The basic data types' names ("UNSIGNED32"), or "0x0123" for another code.
std::string DataTypeName(std::uint16_t data_type);

// The size in bytes of a value of a basic data type, or 0 when it has no fixed size (the
// strings, DOMAIN) or the type is not a basic one.
int DataTypeSize(std::uint16_t data_type);

// AccessType values.
enum class EdsAccess { kRo, kWo, kRw, kRwr, kRww, kConst };

// An SDO reads a value (upload) or writes it (download).
enum class AccessDirection { kRead, kWrite };

// Whether an entry of this access may be read or written: ro and const are read only, wo is
// write only, rw, rwr and rww (which only say how PDOs may map the entry) allow both.
bool AccessAllows(EdsAccess access, AccessDirection direction);

// "ro", "rw", ... as EDS files write them.
const char* AccessText(EdsAccess access);

// The access written as text, in any letter case; nothing for another word.
std::optional<EdsAccess> AccessFromText(std::string_view text);

}  // namespace quastor
