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

}  // namespace

std::string ProblemLine(const CheckProblem& problem) {
  return problem.file + ": " + problem.where + ": " + problem.reason;
}

void ProblemList::Add(std::size_t position, std::string where, std::string reason) {
  reason = WithoutTrailingBlanks(std::move(reason));
  if (!added_.emplace(position, where, reason).second)
    return;
  entries_.push_back({position, CheckProblem{file_, std::move(where), std::move(reason)}});
}

void ProblemList::File(std::string reason) {
  Add(0, texts::kWhereFile, std::move(reason));
}

void ProblemList::Record(std::size_t record, std::string reason) {
  Add(record, FormatText(texts::kWhereRecord, {std::to_string(record)}), std::move(reason));
}

void ProblemList::Row(std::size_t row, std::string reason) {
  Add(row, FormatText(texts::kWhereRow, {std::to_string(row)}), std::move(reason));
}

void ProblemList::Rows(std::size_t first, std::size_t last, std::string reason) {
  if (first == last) {
    Row(first, std::move(reason));
    return;
  }
  Add(first, FormatText(texts::kWhereRows, {std::to_string(first), std::to_string(last)}),
      std::move(reason));
}

void ProblemList::Whole(std::string where, std::string reason) {
  Add(kAfterRecords, std::move(where), std::move(reason));
}

std::vector<CheckProblem> ProblemList::Sorted() const {
  std::vector<Entry> entries = entries_;
  std::stable_sort(entries.begin(), entries.end(),
                   [](const Entry& a, const Entry& b) { return a.position < b.position; });
  std::vector<CheckProblem> problems;
  for (Entry& entry : entries)
    problems.push_back(std::move(entry.problem));
  return problems;
}

std::string ProblemFileName(const std::filesystem::path& file) {
  return Utf8FromPath(file.filename());
}

}  // namespace quastor
