#include "j1939/FrameList.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "j1939/J1939Texts.h"
#include "platform/IntegerText.h"
#include "platform/PlatformTexts.h"
#include "platform/Text.h"
#include "platform/XmlDocument.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = j1939_texts;

const FrameListKind kReceive{
    FrameDirection::kReceive,
    texts::kReceiveFramesCaption,
    65,
    {{{texts::kDataPageTitle, 76, texts::kDataPageAttribute, false, 0, 1, texts::kDataPageRange},
      {texts::kPgnTitle, 95, texts::kPgnAttribute, false, 0, 0xFFFF, texts::kPgnRange},
      {texts::kSourceAddressTitle, 70, texts::kSourceAddressAttribute, false, 0, 255,
       texts::kSourceAddressRange},
      {texts::kCancelDataTitle, 94, texts::kDeleteAttribute, true},
      {texts::kMnemonicTitle, 200, texts::kMnemonicAttribute}}}};

const FrameListKind kSend{
    FrameDirection::kSend,
    texts::kSendFramesCaption,
    64,
    {{{texts::kPriorityTitle, 83, texts::kPriorityAttribute, false, 0, 7, texts::kPriorityRange},
      {texts::kDataPageTitle, 82, texts::kDataPageAttribute, false, 0, 1, texts::kDataPageRange},
      {texts::kPgnTitle, 70, texts::kPgnAttribute, false, 0, 0xFFFF, texts::kPgnRange},
      {texts::kSourceAddressTitle, 87, texts::kSourceAddressAttribute, false, 0, 255,
       texts::kSourceAddressRange},
      {texts::kMnemonicTitle, 190, texts::kMnemonicAttribute}}}};

// Whether a row holds anything OK would write; an unticked box holds nothing.
bool RowFilled(const FrameListKind& kind, const std::vector<std::string>& row) {
  for (std::size_t c = 0; c < row.size(); ++c) {
    const bool unticked = kind.columns[c].checkBox && row[c] != texts::kTicked;
    if (!row[c].empty() && !unticked)
      return true;
  }
  return false;
}

// Reads a frame row's cells in column order; the cells before a failure stay. With kEveryRow
// the reading goes on past a missing attribute, so that every one is told.
std::vector<FrameRowFailure> ReadRow(const FrameListKind& kind, const XmlNode& row,
                                     FrameReading reading, std::vector<std::string>& cells,
                                     XmlAttributeList& kept) {
  if (!row.IsElement())
    return {RowNotAnElement()};
  kept = row.Attributes();
  std::vector<FrameRowFailure> failures;
  for (std::size_t c = 0; c < kFrameColumnCount; ++c) {
    const char* attribute = kind.columns[c].attribute;
    std::optional<std::string> text = row.Attribute(attribute);
    if (!text && kind.columns[c].checkBox)
      text = texts::kNotTicked;
    if (!text) {
      failures.push_back(MissingAttribute(attribute));
      if (reading == FrameReading::kStopAtFirstFailure)
        return failures;
      continue;
    }
    cells[c] = std::move(*text);
  }
  return failures;
}

}  // namespace

const FrameListKind& FrameListOf(FrameDirection direction) {
  return direction == FrameDirection::kReceive ? kReceive : kSend;
}

FrameRows EmptyFrameRows() {
  return FrameRows(kFrameRowCount, std::vector<std::string>(kFrameColumnCount));
}

FrameListLoad LoadFrameList(FrameDirection direction, const std::filesystem::path& file,
                            FrameReading reading) {
  FrameListLoad load;
  load.model = EmptyFrameRows();
  load.kept = FrameRowsKept(kFrameRowCount);
  std::error_code error;
  if (!std::filesystem::exists(file, error))
    return load;
  load.found = true;
  XmlDocument document;
  if (Status loaded = document.Load(file); !loaded) {
    NoteFrameFileUnread(load.messages, load.report, file, loaded.error());
    return load;
  }
  const FrameListKind& kind = FrameListOf(direction);
  const XmlNode root = document.FirstTopLevelNode();
  const std::size_t count = root.ChildCount();
  load.fileRows = count;
  std::size_t i = 0;
  for (auto row = root.Children().begin(); i < count && i < kFrameRowCount; ++row, ++i) {
    const std::vector<FrameRowFailure> failures =
        ReadRow(kind, *row, reading, load.model[i], load.kept[i]);
    if (failures.empty())
      continue;
    if (reading == FrameReading::kStopAtFirstFailure) {
      NoteFrameReadingStopped(load.messages, load.report, file, i + 1, count, failures.front());
      return load;
    }
    for (const FrameRowFailure& failure : failures)
      NoteFrameRowUnread(load.messages, load.report, file, i + 1, failure);
  }
  if (count > kFrameRowCount) {
    TellGap(load.messages, load.report,
            FormatText(texts::kFramesNotShown, {std::to_string(count), FrameSourceName(file)}));
  }
  return load;
}

std::vector<FrameRowProblem> RowProblems(FrameDirection direction, const FrameRows& rows) {
  const FrameListKind& kind = FrameListOf(direction);
  std::vector<FrameRowProblem> problems;
  const std::size_t listed = ListedRows(rows);
  for (std::size_t r = 0; r < listed; ++r) {
    for (std::size_t c = 0; c < kFrameColumnCount; ++c) {
      const FrameColumn& column = kind.columns[c];
      if (column.rangeMessage == nullptr)
        continue;
      const std::string& cell = rows[r][c];
      const std::int32_t value = LenientInteger(cell);
      if (value >= column.min && value <= column.max)
        continue;
      // A number with blanks after it is told so, rather than as out of range.
      const std::string_view trimmed = Trim(cell);
      const bool blanks = trimmed.size() != cell.size() && ReadInteger(trimmed);
      problems.push_back(
          {r + 1, &column, cell,
           blanks ? FormatText(platform_texts::kHasBlanks, {cell}) : column.rangeMessage});
    }
  }
  for (std::size_t r = listed; r < rows.size(); ++r) {
    if (!RowFilled(kind, rows[r]))
      continue;
    const char* first = kind.columns[0].title;
    problems.push_back(
        {r + 1, nullptr, "",
         r == listed ? FormatText(texts::kFrameWithoutFirst, {std::to_string(r + 1), first})
                     : FormatText(texts::kFrameAfterGap,
                                  {std::to_string(r + 1), first, std::to_string(listed + 1)})});
  }
  return problems;
}

Status CheckRows(FrameDirection direction, const FrameRows& rows) {
  const std::vector<FrameRowProblem> problems = RowProblems(direction, rows);
  if (!problems.empty())
    return Failure{problems.front().message};
  return Status::Ok();
}

std::string RowProblemMessage(const FrameRowProblem& problem) {
  if (problem.column == nullptr)
    return problem.message;
  return FormatText(texts::kCellRefused,
                    {std::to_string(problem.row), problem.column->title, problem.message});
}

bool FrameRowHoldsNothing(FrameDirection direction, const std::vector<std::string>& row) {
  return !RowFilled(FrameListOf(direction), row);
}

std::string FrameListText(FrameDirection direction, const FrameRows& rows,
                          const FrameRowsKept& kept) {
  const FrameListKind& kind = FrameListOf(direction);
  XmlDocument document;
  XmlNode root = document.AddRoot(texts::kFrameListRoot);
  const std::size_t listed = ListedRows(rows);
  for (std::size_t r = 0; r < listed; ++r) {
    XmlNode row = root.AppendElement(texts::kRowElement);
    // The row's attributes in their places, the cells' texts in place of the columns' own;
    // then the columns the file did not hold.
    std::array<bool, kFrameColumnCount> written{};
    for (const auto& [name, value] : r < kept.size() ? kept[r] : XmlAttributeList()) {
      const std::string& attribute = name;  // a lambda may not name a structured binding
      const auto column =
          std::find_if(kind.columns.begin(), kind.columns.end(),
                       [&](const FrameColumn& c) { return attribute == c.attribute; });
      if (column == kind.columns.end()) {
        row.SetAttribute(name, value);
        continue;
      }
      const auto c = static_cast<std::size_t>(column - kind.columns.begin());
      row.SetAttribute(name, rows[r][c]);
      written[c] = true;
    }
    for (std::size_t c = 0; c < kFrameColumnCount; ++c) {
      if (!written[c])
        row.SetAttribute(kind.columns[c].attribute, rows[r][c]);
    }
  }
  return document.ToText();
}

Status SaveFrameList(FrameDirection direction, const std::filesystem::path& file,
                     const FrameRows& rows, const FrameRowsKept& kept) {
  if (Status checked = CheckRows(direction, rows); !checked)
    return checked;
  if (Status readable = RefuseUnreadable(file); !readable)
    return readable;
  return WriteXmlFileKeepingEncoding(file, FrameListText(direction, rows, kept));
}

std::size_t ListedRows(const FrameRows& rows) {
  std::size_t count = 0;
  while (count < rows.size() && !rows[count][0].empty())
    ++count;
  return count;
}

}  // namespace quastor
