#include "check/ProblemList.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "check/CheckTexts.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = check_texts;

constexpr std::size_t kAfterRecords = std::numeric_limits<std::size_t>::max();

// The windows' messages end with a blank; a line does not.
std::string WithoutTrailingBlanks(std::string text) {
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
    text.pop_back();
  return text;
}

// A row of a frame file is its window's row (or frame) row - 1.
ProblemPlace RowPlace(std::size_t row, int column) {
  ProblemPlace place;
  place.row = row > 0 ? static_cast<int>(row - 1) : -1;
  place.column = column;
  return place;
}

ProblemPlace ColumnPlace(int column) {
  ProblemPlace place;
  place.column = column;
  return place;
}

}  // namespace

std::string ProblemLine(const CheckProblem& problem) {
  return problem.file + ": " + problem.where + ": " + (problem.note ? texts::kNote : "") +
         problem.reason;
}

std::size_t FaultCount(const std::vector<CheckProblem>& problems) {
  return static_cast<std::size_t>(std::count_if(
      problems.begin(), problems.end(), [](const CheckProblem& problem) { return !problem.note; }));
}

void ProblemList::Add(std::size_t position, std::string where, std::string reason, bool note,
                      ProblemPlace place, bool record) {
  reason = WithoutTrailingBlanks(std::move(reason));
  if (!added_.emplace(position, where, reason).second)
    return;
  entries_.push_back(
      {position, record,
       CheckProblem{file_, std::move(where), std::move(reason), note, std::move(place)}});
}

std::string ProblemList::RecordWhere(std::size_t record) const {
  std::string where = FormatText(texts::kWhereRecord, {std::to_string(record)});
  if (const auto shown = shown_.find(record); shown != shown_.end())
    where += ", " + shown->second;
  return where;
}

void ProblemList::ShowRecordAs(std::size_t record, const std::string& shown) {
  shown_[record] = shown;
  // What was added before is named the same way.
  const std::string plain = FormatText(texts::kWhereRecord, {std::to_string(record)});
  for (Entry& entry : entries_) {
    if (entry.position == record && entry.problem.where == plain)
      entry.problem.where = RecordWhere(record);
  }
}

void ProblemList::File(std::string reason) {
  Add(0, texts::kWhereFile, std::move(reason));
}

void ProblemList::Record(std::size_t record, std::string reason, int column) {
  Add(record, RecordWhere(record), std::move(reason), false, ColumnPlace(column), true);
}

void ProblemList::RecordNote(std::size_t record, std::string reason) {
  Add(record, RecordWhere(record), std::move(reason), true, {}, true);
}

void ProblemList::PlaceRecord(std::size_t record, int page, int row, int entry) {
  ProblemPlace& place = places_[record];
  place.page = page;
  place.row = row;
  place.entry = entry;
}

void ProblemList::Row(std::size_t row, std::string reason, int column) {
  Add(row, FormatText(texts::kWhereRow, {std::to_string(row)}), std::move(reason), false,
      RowPlace(row, column));
}

void ProblemList::RowNote(std::size_t row, std::string reason) {
  Add(row, FormatText(texts::kWhereRow, {std::to_string(row)}), std::move(reason), true,
      RowPlace(row, -1));
}

void ProblemList::Rows(std::size_t first, std::size_t last, std::string reason) {
  if (first == last) {
    Row(first, std::move(reason));
    return;
  }
  Add(first, FormatText(texts::kWhereRows, {std::to_string(first), std::to_string(last)}),
      std::move(reason), false, RowPlace(first, -1));
}

void ProblemList::Whole(std::string where, std::string reason, ProblemPlace place) {
  Add(kAfterRecords, std::move(where), std::move(reason), false, std::move(place));
}

std::vector<CheckProblem> ProblemList::Sorted() const {
  std::vector<Entry> entries = entries_;
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.position < b.position; });
  std::vector<CheckProblem> problems;
  for (Entry& entry : entries) {
    if (const auto placed = places_.find(entry.position); entry.record && placed != places_.end()) {
      ProblemPlace& place = entry.problem.place;
      place.page = placed->second.page;
      place.row = placed->second.row;
      place.entry = placed->second.entry;
    }
    problems.push_back(std::move(entry.problem));
  }
  return problems;
}

std::string ProblemFileName(const std::filesystem::path& file) {
  return Utf8FromPath(file.filename());
}

}  // namespace quastor
