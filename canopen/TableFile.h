#pragma once
// The table files of the CANopen editors: one XML document whose document element is named
// after the table and holds one record element per entry, the entry's fields as attributes.
// Readers take the document element's child nodes by position and check no names; writers
// name every record "row", set the attributes in the order of the table's list and add no
// declaration.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canopen/LoadGaps.h"
#include "platform/Result.h"
#include "platform/XmlDocument.h"
#include "platform/XmlRecordWriter.h"

namespace quastor {

// How far a reading goes past a record it cannot read: the editors stop there, as they always
// did; the project check reads on, so that it names every such record, and its number
// conversion failures name the attribute, since its lines stand without the editor around them.
enum class TableReading { kStopAtFirstFailure, kEveryRecord };

// One record of a table file, as an editor's per-record step reads it.
class TableRecord {
 public:
  explicit TableRecord(XmlNode node, std::size_t number = 0,
                       TableReading reading = TableReading::kStopAtFirstFailure)
      : node_(node), number_(number), reading_(reading) {}
  // The record's position in the file, from 1.
  std::size_t number() const { return number_; }
  // The attribute's text; fails with "attribute "name" is missing" when it is absent.
  Result<std::string> Text(const std::string& name) const;
  // The attribute's text, or nothing when it is absent.
  std::optional<std::string> OptionalText(const std::string& name) const;
  // The attribute read strictly as an integer; with kEveryRecord the failure names the
  // attribute.
  Result<std::int32_t> Number(const std::string& name) const;
  // The attributes whose names known does not hold, in the record's order: what the table
  // does not know, which OK writes back after the known ones.
  XmlAttributeList Others(const std::vector<std::string>& known) const;

 private:
  XmlNode node_;
  std::size_t number_;
  TableReading reading_;
};

// Reads a record and places it; a failure ends the reading, its message being the reason.
using RecordStep = std::function<Status(const TableRecord&)>;

struct TableFileRead {
  bool found = false;     // the file exists
  bool complete = false;  // every record was read (a missing file counts as complete)
  std::size_t recordCount = 0;
  LoadReport report;  // what was not read, when not complete
};

// Runs step on every record of the file in document order until one fails. A file that does
// not parse, a record that is not an element and a failing step end the reading; the records
// placed before stay placed. With kEveryRecord a failing record is noted and the reading goes
// on. The report names the file by its file name.
TableFileRead ReadTableFile(const std::filesystem::path& file, const RecordStep& step,
                            TableReading reading = TableReading::kStopAtFirstFailure);

// A table file built record by record: the document element table_name holding one "row" per
// Add, the values set to the attributes in list order.
class TableFileWriter {
 public:
  // expected_records makes room for that many records in advance.
  TableFileWriter(const std::string& table_name, std::vector<std::string> attributes,
                  std::size_t expected_records = 0);
  // Adds a record; values[k] goes to attribute k, attributes without a value get "", then
  // the record's other attributes follow in their order.
  void Add(std::initializer_list<std::string_view> values, const XmlAttributeList& others = {});
  // The same for values counted at run time (tables of many attributes).
  void Add(const std::vector<std::string_view>& values, const XmlAttributeList& others = {});
  // The file's text (no declaration, no indentation); the writer is done afterwards.
  std::string Finish() { return writer_.Finish(); }

 private:
  XmlRecordWriter writer_;
  std::vector<std::string> attributes_;
};

// Replaces file with the writer's text atomically; fails with the "Cannot create file" message
// and leaves the file as it was.
Status WriteTableFile(const std::filesystem::path& file, TableFileWriter records);

// The name of a file as the gap texts use it.
std::string SourceName(const std::filesystem::path& file);

}  // namespace quastor
