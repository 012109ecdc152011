#include "j1939/FrameInfo.h"

#include <array>

#include "j1939/J1939Texts.h"
#include "platform/IntegerText.h"
#include "platform/Text.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = j1939_texts;

const FrameInfoKind kReceive{FrameDirection::kReceive,
                             texts::kReceiveInfoCaption,
                             texts::kReceiveInfoRoot,
                             texts::kReceiveByteLabel,
                             texts::kReceiveByteTail,
                             false,
                             true};
const FrameInfoKind kSend{FrameDirection::kSend,
                          texts::kSendInfoCaption,
                          texts::kSendInfoRoot,
                          texts::kSendByteLabel,
                          texts::kSendByteTail,
                          true,
                          false};

constexpr std::uint8_t TFrameInfoRec::*kByteFields[kFrameBytes] = {
    &TFrameInfoRec::B1, &TFrameInfoRec::B2, &TFrameInfoRec::B3, &TFrameInfoRec::B4,
    &TFrameInfoRec::B5, &TFrameInfoRec::B6, &TFrameInfoRec::B7, &TFrameInfoRec::B8};

std::string ByteAttribute(int k) {
  return texts::kByteAttributePrefix + std::to_string(k);
}

bool IsByteAttribute(const std::string& name) {
  for (int k = 1; k <= kFrameBytes; ++k) {
    if (name == ByteAttribute(k))
      return true;
  }
  return false;
}

// A field of the label: the number in decimal (or, for the PGN, hexadecimal) when the text
// reads as one, else the text as it stands.
std::string LabelField(const std::string& text, bool hex) {
  const std::optional<std::int32_t> value = ReadInteger(text);
  if (!value || (hex && *value < 0))
    return text;
  if (!hex)
    return std::to_string(*value);
  static const char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  for (auto v = static_cast<std::uint32_t>(*value); v != 0 || digits.size() < 4; v >>= 4)
    digits.insert(digits.begin(), kDigits[v & 0xF]);
  return "0x" + digits;
}

// A value that does not read: the number conversion's message, shown as it is. The windows
// give it as the reason too; the project check, whose lines stand alone, names the attribute.
FrameRowFailure NotAnInteger(const std::string& name, const std::string& message,
                             FrameReading reading) {
  if (reading == FrameReading::kStopAtFirstFailure)
    return {message, message};
  return {message, FormatText(texts::kAttributeNotInteger, {name, message})};
}

// Reads frame i of the list into the table; the frame is listed once it has a label.
std::optional<FrameRowFailure> ReadFrame(const XmlNode& row, const std::filesystem::path& file,
                                         std::size_t i, FrameReading reading,
                                         FrameInfoTable& table) {
  if (!row.IsElement())
    return RowNotAnElement();
  Result<std::string> label = FrameLabel(row);
  if (!label)
    return FrameRowFailure{MissingAttribute(texts::kCobidAttribute).shown, label.error()};
  table.labels.push_back(std::move(label.value()));
  table.frames.emplace_back();
  const std::optional<std::string> dim = row.Attribute(texts::kDimAttribute);
  if (!dim) {
    table.frames.back().Dim = kFrameBytes;
    return std::nullopt;
  }
  const Result<std::int32_t> value = StrictInteger(*dim);
  if (!value)
    return NotAnInteger(texts::kDimAttribute, value.error(), reading);
  // The byte count as read: 9 to 255 put all eight bytes in use.
  if (*value < 0 || *value > kMaxDim)
    return RowOutOfRange(file, i + 1, FormatText(texts::kDimOutOfRange, {*dim}));
  table.frames.back().Dim = static_cast<std::uint8_t>(*value);
  return std::nullopt;
}

// Reads byte k of info row i into byte; why it cannot be read otherwise.
std::optional<FrameRowFailure> ReadInfoByte(const XmlNode& row, const std::filesystem::path& file,
                                            std::size_t i, int k, FrameReading reading,
                                            std::uint8_t& byte) {
  const std::string name = ByteAttribute(k);
  const std::optional<std::string> text = row.Attribute(name);
  if (!text)
    return MissingAttribute(name);
  const Result<std::int32_t> value = StrictInteger(*text);
  if (!value)
    return NotAnInteger(name, value.error(), reading);
  // Anything else would index past CheckBytes' tables or stand for no byte at all.
  if ((*value < 0 || *value >= kDeviceNetBytes) && *value != kNoByte)
    return RowOutOfRange(file, i + 1, FormatText(texts::kByteOutOfRange, {name, *text}));
  byte = static_cast<std::uint8_t>(*value);
  return std::nullopt;
}

// Reads info row i into frame; the bytes read before a failure stay. With kEveryRow the
// reading goes on past a byte that fails, which stays none, so that every one is told.
std::vector<FrameRowFailure> ReadInfoRow(const XmlNode& row, const std::filesystem::path& file,
                                         std::size_t i, FrameReading reading,
                                         TFrameInfoRec& frame) {
  if (!row.IsElement())
    return {RowNotAnElement()};
  std::vector<FrameRowFailure> failures;
  for (int k = 1; k <= frame.Dim && k <= kFrameBytes; ++k) {
    std::optional<FrameRowFailure> failure = ReadInfoByte(row, file, i, k, reading, frame.B(k));
    if (!failure)
      continue;
    failures.push_back(std::move(*failure));
    if (reading == FrameReading::kStopAtFirstFailure)
      break;
  }
  return failures;
}

void ReadInfoFile(const std::filesystem::path& info_file, FrameReading reading,
                  FrameInfoLoad& load) {
  XmlDocument document;
  if (Status loaded = document.Load(info_file); !loaded) {
    NoteFrameFileUnread(load.messages, load.report, info_file, loaded.error());
    load.stopped = true;
    return;
  }
  const XmlNode root = document.FirstTopLevelNode();
  const std::size_t count = root.ChildCount();
  load.infoRows = count;
  const std::size_t rows = std::min(count, load.model.frames.size());
  load.model.kept.resize(rows);
  std::size_t i = 0;
  for (auto row = root.Children().begin(); i < rows; ++row, ++i) {
    for (auto& attribute : row->Attributes()) {
      if (!IsByteAttribute(attribute.first))
        load.model.kept[i].push_back(std::move(attribute));
    }
    const std::vector<FrameRowFailure> failures =
        ReadInfoRow(*row, info_file, i, reading, load.model.frames[i]);
    if (failures.empty())
      continue;
    load.stopped = true;
    if (reading == FrameReading::kStopAtFirstFailure) {
      NoteFrameReadingStopped(load.messages, load.report, info_file, i + 1, count,
                              failures.front());
      return;
    }
    for (const FrameRowFailure& failure : failures)
      NoteFrameRowUnread(load.messages, load.report, info_file, i + 1, failure);
  }
}

// Reads the frame list into the table. A frame that fails has no byte in use; reading on past
// it, a frame without label keeps its place with an empty one, so that the info rows after it
// still meet their frames. Whether the reading went to the end.
bool ReadFrameList(const std::filesystem::path& frame_list, FrameReading reading,
                   FrameInfoLoad& load) {
  XmlDocument document;
  if (Status loaded = document.Load(frame_list); !loaded) {
    NoteFrameFileUnread(load.messages, load.report, frame_list, loaded.error());
    load.stopped = true;
    return false;
  }
  const XmlNode root = document.FirstTopLevelNode();
  const std::size_t count = root.ChildCount();
  load.model.labels.reserve(count);
  load.model.frames.reserve(count);
  const XmlChildren rows = root.Children();
  std::size_t i = 0;
  for (auto row = rows.begin(); row != rows.end(); ++row, ++i) {
    auto failure = ReadFrame(*row, frame_list, i, reading, load.model);
    if (!failure)
      continue;
    load.stopped = true;
    if (load.model.frames.size() > i) {
      load.model.frames[i].Dim = 0;  // a frame without a byte count has no byte in use
    } else if (reading == FrameReading::kEveryRow) {
      load.model.labels.emplace_back();
      load.model.frames.emplace_back();
    }
    if (reading == FrameReading::kStopAtFirstFailure) {
      NoteFrameReadingStopped(load.messages, load.report, frame_list, i + 1, count, *failure);
      return false;
    }
    NoteFrameRowUnread(load.messages, load.report, frame_list, i + 1, *failure);
  }
  return true;
}

}  // namespace

std::vector<std::pair<std::size_t, std::string>> InfoBytesWithoutFrames(
    const std::filesystem::path& info_file) {
  std::vector<std::pair<std::size_t, std::string>> problems;
  XmlDocument document;
  if (!document.Load(info_file))
    return problems;
  std::size_t i = 0;
  for (const XmlNode& row : document.FirstTopLevelNode().Children()) {
    ++i;
    if (!row.IsElement())
      continue;
    for (int k = 1; k <= kFrameBytes; ++k) {
      if (!row.Attribute(ByteAttribute(k)))
        continue;
      std::uint8_t byte = kNoByte;
      if (std::optional<FrameRowFailure> failure =
              ReadInfoByte(row, info_file, i - 1, k, FrameReading::kEveryRow, byte))
        problems.emplace_back(i, std::move(failure->reason));
    }
  }
  return problems;
}

std::uint8_t& TFrameInfoRec::B(int k) {
  return this->*kByteFields[k - 1];
}

std::uint8_t TFrameInfoRec::B(int k) const {
  return this->*kByteFields[k - 1];
}

const FrameInfoKind& FrameInfoOf(FrameDirection direction) {
  return direction == FrameDirection::kReceive ? kReceive : kSend;
}

Result<std::string> FrameLabel(const XmlNode& row) {
  if (std::optional<std::string> cobid = row.Attribute(texts::kCobidAttribute))
    return *cobid;
  const struct {
    const char* name;
    bool hex;
  } kLabelFields[] = {{texts::kDataPageAttribute, false},
                      {texts::kPgnAttribute, true},
                      {texts::kSourceAddressAttribute, false}};
  std::vector<std::string> fields;
  for (const auto& field : kLabelFields) {
    const std::optional<std::string> text = row.Attribute(field.name);
    if (!text)
      return Failure{FormatText(texts::kNoLabel, {field.name})};
    fields.push_back(LabelField(*text, field.hex));
  }
  std::string label = FormatText(texts::kFrameLabel, fields);
  const std::string mnemonic = row.Attribute(texts::kMnemonicAttribute).value_or("");
  if (!mnemonic.empty())
    label += FormatText(texts::kFrameLabelMnemonic, {mnemonic});
  return label;
}

FrameInfoLoad LoadFrameInfo(const std::filesystem::path& frame_list,
                            const std::filesystem::path& info_file, FrameReading reading) {
  FrameInfoLoad load;
  std::error_code error;
  load.found = std::filesystem::exists(info_file, error);
  if (std::filesystem::exists(frame_list, error) && !ReadFrameList(frame_list, reading, load)) {
    if (!load.report.failures.empty() && load.report.failures.back().position > 0 &&
        std::filesystem::exists(info_file, error))
      TellGap(load.messages, load.report,
              FormatText(texts::kInfoNotRead, {FrameSourceName(info_file)}));
    return load;
  }
  if (!load.model.frames.empty() && std::filesystem::exists(info_file, error))
    ReadInfoFile(info_file, reading, load);
  return load;
}

std::optional<std::uint8_t> ReadByteEdit(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
    text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
    text.remove_suffix(1);
  if (text.empty() || EqualsIgnoringCase(text, texts::kNone))
    return kNoByte;
  const std::int32_t value = LenientInteger(text);
  if (value < 0 || value >= kDeviceNetBytes)
    return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

std::string ByteRangeMessage(int k) {
  return FormatText(texts::kByteRange, {std::to_string(k)});
}

std::string ByteEditText(std::uint8_t value) {
  return value == kNoByte ? texts::kNone : std::to_string(value);
}

std::vector<ByteConflict> ByteConflicts(const FrameInfoTable& table) {
  struct User {
    std::size_t frame;
    int position;
  };
  std::array<std::optional<User>, kDeviceNetBytes> users;
  std::vector<ByteConflict> conflicts;
  for (std::size_t f = 0; f < table.frames.size(); ++f) {
    for (int k = 1; k <= kFrameBytes; ++k) {
      const std::uint8_t t = table.frames[f].B(k);
      // Loading and the edits let only 0 to 127 and kNoByte into the table.
      if (t >= kDeviceNetBytes)
        continue;
      if (!users[t]) {
        users[t] = User{f, k};
        continue;
      }
      conflicts.push_back(
          {f, k,
           FormatText(texts::kByteUsedTwice,
                      {std::to_string(t), table.labels[f], std::to_string(k),
                       table.labels[users[t]->frame], std::to_string(users[t]->position)})});
    }
  }
  return conflicts;
}

Status CheckBytes(const FrameInfoTable& table) {
  const std::vector<ByteConflict> conflicts = ByteConflicts(table);
  if (!conflicts.empty())
    return Failure{conflicts.front().message};
  return Status::Ok();
}

std::size_t InfoRowsWritten(const FrameInfoTable& table) {
  return table.frames.size();
}

std::string FrameInfoText(FrameDirection direction, const FrameInfoTable& table) {
  XmlDocument document;
  XmlNode root = document.AddRoot(FrameInfoOf(direction).root);
  for (std::size_t f = 0; f < table.frames.size(); ++f) {
    XmlNode row = root.AppendElement(texts::kRowElement);
    for (int k = 1; k <= kFrameBytes; ++k)
      row.SetAttribute(ByteAttribute(k), std::to_string(table.frames[f].B(k)));
    if (f < table.kept.size()) {
      for (const auto& [name, value] : table.kept[f])
        row.SetAttribute(name, value);
    }
  }
  return document.ToText();
}

std::size_t InfoRowCount(const std::filesystem::path& info_file) {
  std::error_code error;
  if (!std::filesystem::exists(info_file, error))
    return 0;
  XmlDocument document;
  if (!document.Load(info_file))
    return 0;
  return document.FirstTopLevelNode().ChildCount();
}

Status SaveFrameInfo(FrameDirection direction, const std::filesystem::path& frame_list,
                     const std::filesystem::path& info_file, const FrameInfoTable& table) {
  for (const auto* file : {&frame_list, &info_file}) {
    if (Status readable = RefuseUnreadable(*file); !readable)
      return readable;
  }
  return WriteXmlFileKeepingEncoding(info_file, FrameInfoText(direction, table));
}

}  // namespace quastor
