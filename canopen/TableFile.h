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
#include <optional>
#include <string>
#include <vector>

#include "canopen/LoadGaps.h"
#include "platform/Result.h"
#include "platform/XmlDocument.h"

namespace quastor {

// One record of a table file, as an editor's per-record step reads it.
class TableRecord {
 public:
  explicit TableRecord(XmlNode node) : node_(node) {}
  // The attribute's text; fails with "attribute "name" is missing" when it is absent.
  Result<std::string> Text(const std::string& name) const;
  // The attribute's text, or nothing when it is absent.
  std::optional<std::string> OptionalText(const std::string& name) const;
  // The attribute read strictly as an integer.
  Result<std::int32_t> Number(const std::string& name) const;

 private:
  XmlNode node_;
};

// Reads a record and places it; a failure ends the reading, its message being the reason.
using RecordStep = std::function<Status(const TableRecord&)>;

struct TableFileRead {
  bool found = false;     // the file exists
  bool complete = false;  // every record was read (a missing file counts as complete)
  std::size_t recordCount = 0;
  LoadGaps gaps;  // what was not read, when not complete
};

// Runs step on every record of the file in document order until one fails. A file that does
// not parse, a record that is not an element and a failing step end the reading; the records
// placed before stay placed. The gaps name the file by its file name.
TableFileRead ReadTableFile(const std::filesystem::path& file, const RecordStep& step);

// The text of a table file: element table_name holding one "row" per record, the record's
// values set to the attributes in list order.
std::string TableFileText(const std::string& table_name, const std::vector<std::string>& attributes,
                          const std::vector<std::vector<std::string>>& records);

// Replaces file with TableFileText atomically; fails with the "Cannot create file" message
// and leaves the file as it was.
Status WriteTableFile(const std::filesystem::path& file, const std::string& table_name,
                      const std::vector<std::string>& attributes,
                      const std::vector<std::vector<std::string>>& records);

// The name of a file as the gap texts use it.
std::string SourceName(const std::filesystem::path& file);

}  // namespace quastor
