#pragma once
// The problems of one project file as the checks of its subsystem find them, put in file order
// at the end: the whole file first, then records or rows by number, then what concerns the
// file's windows as a whole (a page, a step).

#include <cstddef>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "check/ProjectCheck.h"

namespace quastor {

class ProblemList {
 public:
  explicit ProblemList(std::string file) : file_(std::move(file)) {}

  const std::string& file() const { return file_; }

  void File(std::string reason);
  // column: the record's grid column or field (see ProblemPlace) when the reason is its value.
  void Record(std::size_t record, std::string reason, int column = -1);
  void RecordNote(std::size_t record, std::string reason);
  // Names a record as its window shows it from now on (its grid row), after its number.
  void ShowRecordAs(std::size_t record, const std::string& shown);
  // Where the record's window shows it; every problem of the record, told before or after,
  // is placed there.
  void PlaceRecord(std::size_t record, int page, int row, int entry = -1);
  // A row of a frame file, which its window shows as its row (or frame) row - 1; column: the
  // cell's column or the frame's byte, when the reason is its value.
  void Row(std::size_t row, std::string reason, int column = -1);
  void RowNote(std::size_t row, std::string reason);
  // Rows first to last; a single row when they are the same.
  void Rows(std::size_t first, std::size_t last, std::string reason);
  // After every record and row, in the order added. A problem added again is told once.
  void Whole(std::string where, std::string reason, ProblemPlace place = {});

  // The problems in file order; equal positions keep the order they were added in.
  std::vector<CheckProblem> Sorted() const;

 private:
  struct Entry {
    std::size_t position;
    bool record;  // position is a record's number, placed by PlaceRecord
    CheckProblem problem;
  };
  void Add(std::size_t position, std::string where, std::string reason, bool note = false,
           ProblemPlace place = {}, bool record = false);
  std::string RecordWhere(std::size_t record) const;

  std::string file_;
  std::vector<Entry> entries_;
  std::map<std::size_t, std::string> shown_;    // per record, its grid row
  std::map<std::size_t, ProblemPlace> places_;  // per record, where its window shows it
  // What has been added, so that a problem that two checks find is told once.
  std::set<std::tuple<std::size_t, std::string, std::string>> added_;
};

// The name of a project file, as the problems give it.
std::string ProblemFileName(const std::filesystem::path& file);

}  // namespace quastor
