#include "canopen/TableFile.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "canopen/CanopenTexts.h"
#include "platform/FieldRule.h"
#include "platform/IntegerText.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {

namespace texts = canopen_texts;

Result<std::string> TableRecord::Text(const std::string& name) const {
  std::optional<std::string> text = node_.Attribute(name);
  if (!text)
    return Failure{FormatText(texts::kAttributeMissing, {name})};
  return std::move(*text);
}

std::optional<std::string> TableRecord::OptionalText(const std::string& name) const {
  return node_.Attribute(name);
}

Result<std::int32_t> TableRecord::Number(const std::string& name) const {
  const Result<std::string> text = Text(name);
  if (!text)
    return text.failure();
  Result<std::int32_t> value = StrictInteger(*text);
  if (value)
    return value;
  // Blanks around a number are named as the fault.
  const std::string reason = NumberProblem(*text).value_or(value.error());
  if (reading_ == TableReading::kEveryRecord)
    return Failure{FormatText(texts::kAttributeNotInteger, {name, reason})};
  return Failure{reason};
}

XmlAttributeList TableRecord::Others(const std::vector<std::string>& known) const {
  XmlAttributeList others;
  for (auto& attribute : node_.Attributes()) {
    if (std::find(known.begin(), known.end(), attribute.first) == known.end())
      others.push_back(std::move(attribute));
  }
  return others;
}

std::string SourceName(const std::filesystem::path& file) {
  return Utf8FromPath(file.filename());
}

TableFileRead ReadTableFile(const std::filesystem::path& file, const RecordStep& step,
                            TableReading reading) {
  TableFileRead read;
  std::error_code ec;
  // A file whose state cannot be learnt counts as present, so that loading it tells why.
  if (!std::filesystem::exists(file, ec) && !ec) {
    read.complete = true;
    return read;
  }
  read.found = true;
  const std::string source = SourceName(file);
  XmlDocument document;
  if (Status loaded = document.Load(file); !loaded) {
    NoteFileUnread(read.report, source, loaded.error());
    return read;
  }
  const XmlNode root = document.DocumentElement();
  read.recordCount = root.ChildCount();
  std::size_t i = 0;
  for (const XmlNode& record : root.Children()) {
    ++i;
    Status placed = record.IsElement() ? step(TableRecord(record, i, reading))
                                       : Status(Failure{texts::kNotAnElement});
    if (placed)
      continue;
    if (reading == TableReading::kStopAtFirstFailure) {
      NoteReadingStopped(read.report, source, i, read.recordCount, placed.error());
      return read;
    }
    NoteRecordUnread(read.report, source, i, placed.error());
  }
  read.complete = read.report.failures.empty();
  return read;
}

TableFileWriter::TableFileWriter(const std::string& table_name, std::vector<std::string> attributes,
                                 std::size_t expected_records)
    : writer_(table_name), attributes_(std::move(attributes)) {
  // A record: "<row", per attribute its name, =, quotes, blank and about eight bytes, "/>".
  std::size_t record_bytes = 6;
  for (const std::string& attribute : attributes_)
    record_bytes += attribute.size() + 12;
  writer_.Reserve(expected_records * record_bytes + table_name.size() + 8);
}

void TableFileWriter::Add(std::initializer_list<std::string_view> values,
                          const XmlAttributeList& others) {
  writer_.AddRecord(texts::kRecordName, attributes_, values, others);
}

void TableFileWriter::Add(const std::vector<std::string_view>& values,
                          const XmlAttributeList& others) {
  writer_.AddRecord(texts::kRecordName, attributes_, values, others);
}

Status WriteTableFile(const std::filesystem::path& file, TableFileWriter records) {
  return WriteXmlFileKeepingEncoding(file, records.Finish());
}

}  // namespace quastor
