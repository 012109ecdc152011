// The EDS reader over the hand-written files of tests/data/devices/eds: every value of a sound
// file with each kind of section, the Windows-1252 file with CR LF line ends, and each damaged
// file's message naming its line; the access and data type rules once.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "devices/EdsFile.h"
#include "platform/PathText.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

std::filesystem::path EdsData(const std::string& name) {
  return DataFile("devices/eds/" + name);
}

struct Value {
  std::uint16_t index;
  std::uint8_t sub;
  const char* name;
  std::uint8_t objectType;
  std::uint16_t dataType;
  int size;
  EdsAccess access;
  const char* defaultValue;  // null: none given
};

// Catches: a sub-object lost or misnumbered, a lower-case or "SUB" section not read, ObjectType
// not taken as VAR when left out, a decimal DataType misread, an access type read in its
// letter case only, $NODEID or an empty default rewritten, a compact array not expanded or
// named against the convention, its [Name] and [Value] entries not applied, a DOMAIN object
// without its value, a comment line or a [Comments] line taken as a section.
TEST(EdsFile, ReadsEveryValueOfEverySectionKind) {
  const Result<EdsFile> file = ReadEdsFile(EdsData("sound.eds"));
  ASSERT_TRUE(file.ok()) << file.error();
  const Value values[] = {
      {0x1000, 0, "Device type", kObjectVar, 0x0007, 4, EdsAccess::kRo, "0x00000191"},
      {0x1001, 0, "Error register", kObjectVar, 0x0005, 1, EdsAccess::kRo, nullptr},
      {0x1003, 0, "NrOfObjects", kObjectVar, 0x0005, 1, EdsAccess::kRo, "3"},
      {0x1003, 1, "Pre-defined error field1", kObjectVar, 0x0007, 4, EdsAccess::kRo, "0"},
      {0x1003, 2, "Second error", kObjectVar, 0x0007, 4, EdsAccess::kRo, "0"},
      {0x1003, 3, "Pre-defined error field3", kObjectVar, 0x0007, 4, EdsAccess::kRo, "0x00001000"},
      {0x1008, 0, "Device name", kObjectVar, 0x0009, 0, EdsAccess::kConst, "IO Block 8"},
      {0x1017, 0, "Producer heartbeat time", kObjectVar, 0x0006, 2, EdsAccess::kRw, "0"},
      {0x1018, 0, "Number of entries", kObjectVar, 0x0005, 1, EdsAccess::kRo, "2"},
      {0x1018, 1, "Vendor-ID", kObjectVar, 0x0007, 4, EdsAccess::kRo, "0x00000123"},
      {0x1018, 2, "Product code", kObjectVar, 0x0007, 4, EdsAccess::kConst, "16"},
      {0x1400, 0, "Highest sub-index supported", kObjectVar, 0x0005, 1, EdsAccess::kRo, "2"},
      {0x1400, 1, "COB-ID used by RPDO", kObjectVar, 0x0007, 4, EdsAccess::kRw, "$NODEID+0x200"},
      {0x2000, 0, "Calibration table", kObjectDomain, 0x000F, 0, EdsAccess::kWo, nullptr},
      {0x2001, 0, "Number of offsets", kObjectVar, 0x0005, 1, EdsAccess::kRo, "2"},
      {0x2001, 1, "Offset \"A\"", kObjectVar, 0x0010, 3, EdsAccess::kRww, "-5"},
      {0x2001, 2, "Offset B", kObjectVar, 0x001B, 8, EdsAccess::kRwr, ""},
      {0xA0FF, 0, "Lower-case index", kObjectVar, 0x0004, 4, EdsAccess::kRw, nullptr},
  };
  std::size_t entries = 0;
  for (const EdsObject& object : file->objects)
    entries += object.entries.size();
  EXPECT_EQ(entries, std::size(values));
  for (const Value& v : values) {
    SCOPED_TRACE(std::to_string(v.index) + " sub " + std::to_string(v.sub));
    const EdsObject* object = file->Object(v.index);
    ASSERT_NE(object, nullptr);
    const EdsEntry* entry = object->Entry(v.sub);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->name, v.name);
    EXPECT_EQ(entry->objectType, v.objectType);
    EXPECT_EQ(entry->dataType, v.dataType);
    EXPECT_EQ(entry->Size(), v.size);
    EXPECT_EQ(entry->access, v.access);
    EXPECT_EQ(entry->defaultValue,
              v.defaultValue ? std::optional<std::string>(v.defaultValue) : std::nullopt);
  }
  EXPECT_EQ(file->Object(0x1018)->objectType, kObjectRecord);
  EXPECT_EQ(file->Object(0x1003)->objectType, kObjectArray);
  EXPECT_EQ(file->Object(0x1003)->name, "Pre-defined error field");
  EXPECT_EQ(file->vendorName, "Test Devices");
  EXPECT_EQ(file->productName, "IO Block 8");
}

// Catches: the file's bytes taken as UTF-8 when they are Windows-1252, a CR left on a value.
TEST(EdsFile, ReadsWindowsTextWithCrLf) {
  const Result<EdsFile> file = ReadEdsFile(EdsData("windows-1252-crlf.eds"));
  ASSERT_TRUE(file.ok()) << file.error();
  ASSERT_EQ(file->objects.size(), 2u);
  EXPECT_EQ(file->objects[0].entries[0].access, EdsAccess::kRo);
  EXPECT_EQ(file->objects[1].entries[0].name, "Ger\xC3\xA4tename");
}

// Catches: a damaged file read as sound, or refused without its line or with the wrong one.
TEST(EdsFile, NamesTheLineOfEachDamage) {
  const struct {
    const char* file;
    const char* message;
  } cases[] = {
      {"no-parametername.eds", "line 1: [1000] has no ParameterName"},
      {"bad-access.eds", "line 4: AccessType=readonly is none of ro, wo, rw, rwr, rww, const"},
      {"bad-number.eds",
       "line 4: DataType=0x00G7 is not a number (decimal, or hexadecimal behind 0x)"},
      {"not-a-line.eds",
       "line 3: \"DataType 0x0007\" is neither a [section], a key=value pair nor a comment"},
      {"sub-without-object.eds",
       "line 6: [1018sub1] is a sub-object of 0x1018, which has no section"},
      {"sub-of-variable.eds", "line 6: [1000sub1] is a sub-object of 0x1000, which is a variable"},
      {"subnumber-differs.eds", "line 4: SubNumber=3, but object 0x1018 has 2 sub-object sections"},
      {"listed-without-section.eds",
       "line 4: [MandatoryObjects] lists object 0x1001, which has no section"},
      {"list-count.eds", "line 7: [MandatoryObjects] has SupportedObjects=2, but lists 1 object"},
      {"section-twice.eds", "line 6: section [1000] appears a second time (first on line 1)"},
      {"key-twice.eds", "line 4: key \"DataType\" appears a second time in section [1000]"},
      {"index-too-long.eds",
       "line 1: [10000] names no object: the index is 4 hexadecimal digits at most and the "
       "sub-index 2"},
      {"compact-with-subs.eds",
       "line 6: CompactSubObj=2, but object 0x1003 has sub-object sections of its own"},
      {"name-beyond-compact.eds",
       "line 10: key \"3\" of [1003Name] is no sub-index between 1 and 2"},
      {"unclosed-section.eds", "line 4: the section name \"[1000\" has no closing \"]\""},
  };
  for (const auto& c : cases) {
    const Result<EdsFile> file = ReadEdsFile(EdsData(c.file));
    ASSERT_FALSE(file.ok()) << c.file;
    EXPECT_EQ(file.error(), "\"" + Utf8FromPath(EdsData(c.file)) + "\", " + c.message);
  }
}

// Catches: a file that is no text (a binary file, one line of megabytes) quoted whole in its
// message, which a message window then cannot show; a quote cut inside a character.
TEST(EdsFile, QuotesOnlyTheStartOfAnOverlongLine) {
  const std::string line(3'000'000, 'x');
  for (const std::string& text : {line + "\n", "[" + line + "\n", line + "=1\n",
                                  "[1000]\n" + line + "=1\n" + line + "=2\n"}) {
    const Result<EdsFile> file = ParseEds(text);
    ASSERT_FALSE(file.ok());
    EXPECT_LT(file.error().size(), 300u) << file.error().substr(0, 300);
    EXPECT_NE(file.error().find("xxx...\""), std::string::npos) << file.error().substr(0, 300);
  }
  // 79 bytes of "x", then a two-byte character that would straddle the 80th byte.
  const Result<EdsFile> file = ParseEds(std::string(79, 'x') + "\xC3\xA4" + line + "\n");
  ASSERT_FALSE(file.ok());
  EXPECT_EQ(file.error(), "line 1: \"" + std::string(79, 'x') +
                              "...\" is neither a [section], a key=value pair nor a comment");
}

// Catches: an SDO allowed in a direction the entry's access forbids, or refused in one it
// allows.
TEST(EdsFile, AccessAllowsItsDirections) {
  const struct {
    const char* text;
    bool read, write;
  } cases[] = {{"ro", true, false},    {"wo", false, true}, {"rw", true, true},
               {"rwr", true, true},    {"rww", true, true}, {"const", true, false},
               {"CONST", true, false}, {"Rw", true, true}};
  for (const auto& c : cases) {
    const std::optional<EdsAccess> access = AccessFromText(c.text);
    ASSERT_TRUE(access.has_value()) << c.text;
    EXPECT_EQ(AccessAllows(*access, AccessDirection::kRead), c.read) << c.text;
    EXPECT_EQ(AccessAllows(*access, AccessDirection::kWrite), c.write) << c.text;
  }
  EXPECT_FALSE(AccessFromText("r").has_value());
  EXPECT_FALSE(AccessFromText("rwx").has_value());
}

// Catches: a wrong byte count for a basic type (which the SDO tables take as nbyte), a size
// given to a type of no fixed size or to a type that is not basic.
TEST(EdsFile, DataTypesHaveTheirSizes) {
  const struct {
    std::uint16_t type;
    int size;
  } cases[] = {{0x0001, 1}, {0x0002, 1}, {0x0003, 2}, {0x0004, 4}, {0x0005, 1},
               {0x0006, 2}, {0x0007, 4}, {0x0008, 4}, {0x0009, 0}, {0x000A, 0},
               {0x000B, 0}, {0x000F, 0}, {0x0010, 3}, {0x0011, 8}, {0x0012, 5},
               {0x0013, 6}, {0x0014, 7}, {0x0015, 8}, {0x0016, 3}, {0x0018, 5},
               {0x0019, 6}, {0x001A, 7}, {0x001B, 8}, {0x0017, 0}, {0x0020, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(DataTypeSize(c.type), c.size) << DataTypeName(c.type);
}

// Catches: a value in another notation than decimal or 0x taken, a hexadecimal or large value
// misread, a value past 32 bits wrapped.
TEST(EdsFile, NumbersAreDecimalOrHexadecimal) {
  const struct {
    const char* text;
    std::optional<std::uint32_t> value;
  } cases[] = {{"26", 26},
               {"0x1A", 26},
               {"0X1a", 26},
               {" 7 ", 7},
               {"0xFFFFFFFF", 0xFFFFFFFFu},
               {"4294967295", 0xFFFFFFFFu},
               {"4294967296", {}},
               {"0x100000000", {}},
               {"0x", {}},
               {"1a", {}},
               {"-1", {}},
               {"$NODEID", {}},
               {"", {}},
               {"$1A", {}}};
  for (const auto& c : cases)
    EXPECT_EQ(EdsNumber(c.text), c.value) << "\"" << c.text << "\"";
}

}  // namespace
}  // namespace quastor::test
