// The J1939 frame files of each direction: the frame list as its window loads it and as its
// OK checks the rows, then the frame list and the info file as the info window loads them, the
// receive side's DeviceNet bytes taken twice, and the info rows that no frame stands for. Every
// load reads on past a row it cannot read, so that every such row is named.

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "check/CheckTexts.h"
#include "check/FileChecks.h"
#include "j1939/FrameFile.h"
#include "j1939/FrameInfo.h"
#include "j1939/FrameList.h"
#include "j1939/J1939Texts.h"
#include "platform/Text.h"
#include "platform/XmlDocument.h"

namespace quastor {
namespace {

namespace texts = check_texts;
namespace fs = std::filesystem;

constexpr FrameReading kEvery = FrameReading::kEveryRow;

// The frame list: what it could not read, the rows past 16 and the checks of OK.
struct ListCheck {
  bool loaded = true;            // the file is missing or loads
  std::set<std::size_t> unread;  // rows that could not be read
};

ListCheck CheckFrameList(FrameDirection direction, const fs::path& file, ProblemList& list) {
  ListCheck check;
  FrameListLoad load = LoadFrameList(direction, file, kEvery);
  for (const LoadFailure& failure : load.report.failures) {
    if (failure.position == 0) {
      list.File(failure.reason);
      check.loaded = false;
    } else {
      list.Row(failure.position, failure.reason);
      check.unread.insert(failure.position);
    }
  }
  if (load.fileRows > kFrameRowCount)
    list.Rows(kFrameRowCount + 1, load.fileRows, texts::kBeyondSixteen);
  // A row that could not be read counts as listed, so that the rows below it are checked as
  // OK will check them once it reads; its cells that could not be read are not checked.
  std::set<std::pair<std::size_t, std::size_t>> unread_cells;
  for (const std::size_t row : check.unread) {
    std::vector<std::string>& cells = load.model[row - 1];
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (cells[c].empty())
        unread_cells.emplace(row, c);
    }
    if (cells[0].empty())
      cells[0] = "?";
  }
  const FrameColumn* first_column = FrameListOf(direction).columns.data();
  for (const FrameRowProblem& problem : RowProblems(direction, load.model)) {
    if (problem.column == nullptr) {
      list.Row(problem.row, problem.message);
      continue;
    }
    const auto column = static_cast<std::size_t>(problem.column - first_column);
    if (unread_cells.count({problem.row, column}) != 0)
      continue;
    list.Row(
        problem.row,
        FormatText(texts::kCellRefused, {problem.column->attribute, problem.cell, problem.message}),
        static_cast<int>(column));
  }
  return check;
}

void CheckInfoLoads(const fs::path& info_file, ProblemList& info) {
  std::error_code error;
  if (!fs::exists(info_file, error))
    return;
  XmlDocument document;
  if (Status loaded = document.Load(info_file); !loaded)
    info.File(loaded.error());
}

// The attributes of each row that no window of the file knows: OK keeps them on their row.
void NoteUnknown(const fs::path& file, const std::function<bool(const std::string&)>& known,
                 ProblemList& list) {
  std::error_code error;
  XmlDocument document;
  if (!fs::is_regular_file(file, error) || !document.Load(file))
    return;
  std::size_t row = 0;
  for (const XmlNode& node : document.FirstTopLevelNode().Children()) {
    ++row;
    if (!node.IsElement())
      continue;
    for (const auto& [name, value] : node.Attributes()) {
      if (!known(name))
        list.RowNote(row, FormatText(texts::kUnknownAttribute, {name}));
    }
  }
}

bool FrameListKnows(FrameDirection direction, const std::string& name) {
  if (name == j1939_texts::kCobidAttribute || name == j1939_texts::kDimAttribute)
    return true;
  for (const FrameColumn& column : FrameListOf(direction).columns) {
    if (name == column.attribute)
      return true;
  }
  return false;
}

bool InfoFileKnows(const std::string& name) {
  for (int k = 1; k <= kFrameBytes; ++k) {
    if (name == j1939_texts::kByteAttributePrefix + std::to_string(k))
      return true;
  }
  return false;
}

void CheckDirection(FrameDirection direction, const ProjectFileSet& files, ProblemList& list,
                    ProblemList& info) {
  const fs::path& list_file = FrameListFile(files, direction);
  const fs::path& info_file = FrameInfoFile(files, direction);
  ListCheck check = CheckFrameList(direction, list_file, list);
  NoteUnknown(
      list_file, [direction](const std::string& name) { return FrameListKnows(direction, name); },
      list);
  NoteUnknown(info_file, InfoFileKnows, info);

  const FrameInfoLoad load = LoadFrameInfo(list_file, info_file, kEvery);
  for (const LoadFailure& failure : load.report.failures) {
    if (failure.source == info.file()) {
      if (failure.position == 0)
        info.File(failure.reason);
      else
        info.Row(failure.position, failure.reason);
    } else if (failure.position > 0 && check.unread.insert(failure.position).second) {
      // The list's own load told its load error and the rows it could not read.
      list.Row(failure.position, failure.reason);
    }
  }
  if (FrameInfoOf(direction).checkBytes) {
    for (const ByteConflict& conflict : ByteConflicts(load.model))
      info.Row(conflict.frame + 1, conflict.message, conflict.position - 1);
  }
  // The info window reads its file only when the list gives it frames; the file is told
  // unreadable all the same, since OK would write over it.
  if (!check.loaded || load.model.frames.empty())
    CheckInfoLoads(info_file, info);
  if (!check.loaded) {
    // Its frames are not known; what each info row holds is read all the same.
    for (const auto& [row, reason] : InfoBytesWithoutFrames(info_file))
      info.Row(row, reason);
    return;
  }
  const std::size_t frames = load.model.frames.size();
  const std::size_t rows = load.infoRows ? *load.infoRows : InfoRowCount(info_file);
  if (rows > frames) {
    const char* reason = rows == frames + 1 ? texts::kNoFrame : texts::kNoFrames;
    info.Rows(frames + 1, rows, FormatText(reason, {list.file()}));
  }
}

}  // namespace

std::vector<ProblemList> CheckJ1939Files(const ProjectFileSet& files) {
  std::vector<ProblemList> lists;
  for (const FrameDirection direction : {FrameDirection::kReceive, FrameDirection::kSend}) {
    ProblemList list(ProblemFileName(FrameListFile(files, direction)));
    ProblemList info(ProblemFileName(FrameInfoFile(files, direction)));
    CheckDirection(direction, files, list, info);
    lists.push_back(std::move(list));
    lists.push_back(std::move(info));
  }
  return lists;
}

}  // namespace quastor
