// The CANopen table files. Each is loaded as its editor's show loads it, reading on past a
// record it cannot read so that every such record is named; then every record is read again
// for the values that the editor keeps but cannot show as they are, or that a later step of
// the editor (OK's key order, choosing an entry) reads as a number and would refuse.

#include <cstdint>
#include <functional>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "canopen/CanopenTexts.h"
#include "canopen/EmcyRules.h"
#include "canopen/EmcyRulesFiles.h"
#include "canopen/EmcyTexts.h"
#include "canopen/EmcyWordFiles.h"
#include "canopen/EmcyWords.h"
#include "canopen/PdoTable.h"
#include "canopen/SdoTable.h"
#include "canopen/StoredPdo.h"
#include "canopen/StoredPdoFiles.h"
#include "canopen/TableFields.h"
#include "canopen/TableFile.h"
#include "check/CheckTexts.h"
#include "check/FileChecks.h"
#include "platform/FieldRule.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = check_texts;
namespace canopen = canopen_texts;
namespace emcy = emcy_texts;
namespace fs = std::filesystem;

constexpr TableReading kEvery = TableReading::kEveryRecord;

// What the load could not read: the whole file, or each record with its reason.
void AddReading(const LoadReport& report, ProblemList& list) {
  for (const LoadFailure& failure : report.failures) {
    if (failure.position == 0)
      list.File(failure.reason);
    else
      list.Record(failure.position, failure.reason);
  }
}

// The records of each side beyond its grid's rows.
void AddNotShown(const LoadReport& report, const char* page_a, const char* page_b, int rows,
                 ProblemList& list) {
  const std::pair<std::size_t, const char*> sides[] = {{report.notShown[0], page_a},
                                                       {report.notShown[1], page_b}};
  for (int s = 0; s < 2; ++s) {
    const auto& [count, page] = sides[s];
    if (count == 0)
      continue;
    ProblemPlace place;
    place.page = s;
    list.Whole(FormatText(texts::kWherePage, {page}),
               FormatText(texts::kRecordsNotShown, {std::to_string(rows), std::to_string(count)}),
               place);
  }
}

// The editors' show stops at the first record it cannot read: only the records before it are
// in the window.
std::size_t FirstUnread(const LoadReport& gaps) {
  return gaps.failures.empty() ? std::numeric_limits<std::size_t>::max()
                               : gaps.failures.front().position;
}

// Counts the records that a list editor shows, per list, in file order: each record's item.
class ListItems {
 public:
  explicit ListItems(std::size_t first_unread) : firstUnread_(first_unread) {}
  // Places the record at the next item of list `key` on page side, if the window shows it.
  void Place(std::size_t record, Side side, int key, ProblemList& list, int row = -1) {
    if (record >= firstUnread_)
      return;
    int& next = next_[{static_cast<int>(side), key}];
    if (row < 0)
      list.PlaceRecord(record, static_cast<int>(side), next++);
    else
      list.PlaceRecord(record, static_cast<int>(side), row, next++);
  }

 private:
  std::size_t firstUnread_;
  std::map<std::pair<int, int>, int> next_;
};

using RecordCheck = std::function<void(const TableRecord&, ProblemList&)>;

// Runs check on every record of the file; the load has told what it could not read.
void CheckRecords(const fs::path& file, const RecordCheck& check, ProblemList& list) {
  ReadTableFile(
      file,
      [&](const TableRecord& record) {
        check(record, list);
        return Status::Ok();
      },
      kEvery);
}

// Every attribute the load reads of a record: the load stops at the first one missing, so the
// others are told here (the list keeps one line of the same problem). The first `columns` names
// are those of the table's fields, in their order.
void CheckPresent(const TableRecord& record, const std::vector<std::string>& names,
                  ProblemList& list, std::size_t columns = 0) {
  for (std::size_t n = 0; n < names.size(); ++n) {
    if (const Result<std::string> text = record.Text(names[n]); !text)
      list.Record(record.number(), text.error(), n < columns ? static_cast<int>(n) : -1);
  }
}

template <std::size_t N>
std::vector<std::string> Names(const char* const (&names)[N], std::size_t count = N) {
  return std::vector<std::string>(names, names + count);
}

// An attribute that the load reads as a number; nothing when it does not read, which the load
// has told.
std::optional<std::int32_t> LoadedNumber(const TableRecord& record, const char* name) {
  const Result<std::int32_t> value = record.Number(name);
  if (!value)
    return std::nullopt;
  return *value;
}

// column: the flags' field, when the window shows them in one.
void CheckUnusedBits(const TableRecord& record, const char* name, std::int32_t used,
                     ProblemList& list, int column = -1) {
  const std::optional<std::int32_t> value = LoadedNumber(record, name);
  if (!value || (*value & ~used) == 0)
    return;
  list.Record(record.number(),
              FormatText(texts::kUnusedBits,
                         {name, *record.OptionalText(name), std::to_string(*value & used)}),
              column);
}

// The fields of a record that its table's list of fields refuses, as OK would refuse them;
// skip is a flags column, which its own check tells. An empty text is no value where
// empty_is_zero (the window reads it as 0). A record that holds nothing is no entry.
void CheckFields(const TableRecord& record, const TableFields& fields, ProblemList& list,
                 std::optional<std::size_t> skip = std::nullopt, bool empty_is_zero = false) {
  std::vector<std::optional<std::string>> texts;
  bool holds_something = false;
  for (std::size_t f = 0; f < fields.size(); ++f) {
    texts.push_back(f == skip ? std::nullopt : record.OptionalText(fields[f].attribute));
    if (texts.back() && !FieldHoldsNothing(fields[f].rule, *texts.back()))
      holds_something = true;
  }
  if (!holds_something)
    return;
  for (std::size_t f = 0; f < fields.size(); ++f) {
    if (!texts[f] || (empty_is_zero && texts[f]->empty()))
      continue;
    if (const std::optional<std::string> reason = FieldProblem(fields[f].rule, *texts[f])) {
      list.Record(record.number(),
                  FormatText(texts::kAttributeValue, {fields[f].attribute, *reason}),
                  static_cast<int>(f));
    }
  }
}

// The attributes that the table does not know: OK keeps them, so they are told as notes.
void NoteUnknown(const TableRecord& record, const std::vector<std::string>& known,
                 ProblemList& list) {
  for (const auto& [name, value] : record.Others(known))
    list.RecordNote(record.number(), FormatText(texts::kUnknownAttribute, {name}));
}

// Names each record that a grid shows by its grid row as well, as the grid numbers it, and
// places it there when the window's show reaches it.
void NameGridRows(const GridLoad& load, const char* page_a, const char* page_b, ProblemList& list) {
  const char* pages[] = {page_a, page_b};
  const std::size_t first_unread = FirstUnread(load.report);
  for (int s = 0; s < 2; ++s) {
    for (std::size_t r = 0; r < load.records[s].size(); ++r) {
      const std::size_t record = load.records[s][r];
      list.ShowRecordAs(record, FormatText(texts::kWhereGridRow, {std::to_string(r), pages[s]}));
      if (record < first_unread)
        list.PlaceRecord(record, s, static_cast<int>(r));
    }
  }
}

ProblemList CheckSdo(const fs::path& file) {
  ProblemList list(ProblemFileName(file));
  const GridLoad load = LoadSdoTable(file, kEvery);
  NameGridRows(load, canopen::kSdoPageA, canopen::kSdoPageB, list);
  AddReading(load.report, list);
  // The stored PDO definitions' collision test reads the virtual index and subindex.
  CheckRecords(
      file,
      [](const TableRecord& record, ProblemList& problems) {
        // Every column but the last, "mnemonico", which may be absent.
        static const std::vector<std::string> kRead =
            Names(canopen::kSdoAttributes, std::size(canopen::kSdoAttributes) - 1);
        CheckPresent(record, kRead, problems, kRead.size());
        CheckUnusedBits(record, canopen::kSdoAttributes[0], kSdoConfBits, problems, 0);
        CheckFields(record, SdoFields(), problems, 0);
        NoteUnknown(record, FieldAttributes(SdoFields()), problems);
      },
      list);
  AddNotShown(load.report, canopen::kSdoPageA, canopen::kSdoPageB, canopen::kSdoRowCount, list);
  return list;
}

ProblemList CheckPdo(const fs::path& file) {
  ProblemList list(ProblemFileName(file));
  const GridLoad load = LoadPdoTable(file, kEvery);
  NameGridRows(load, canopen::kPdoPageA, canopen::kPdoPageB, list);
  AddReading(load.report, list);
  // OK orders each side by cobid.
  CheckRecords(
      file,
      [](const TableRecord& record, ProblemList& problems) {
        CheckPresent(record, Names(canopen::kPdoAttributes), problems, PdoFields().size());
        CheckFields(record, PdoFields(), problems, 2);
        CheckUnusedBits(record, canopen::kPdoAttributes[2], kPdoFlagBits, problems, 2);
        NoteUnknown(record, FieldAttributes(PdoFields()), problems);
      },
      list);
  AddNotShown(load.report, canopen::kPdoPageA, canopen::kPdoPageB, canopen::kPdoRowCount, list);
  return list;
}

ProblemList CheckStoredPdo(const fs::path& project_dir, const fs::path& file,
                           const fs::path& pdo_file) {
  ProblemList list(ProblemFileName(file));
  const StoredPdoLoad load = LoadStoredPdo(project_dir, file, kEvery);
  AddReading(load.report, list);
  // The PDOs that "nrpdo" names come from rpdodef.xml: while it does not read whole, its
  // problems show here as PDOs that are not there.
  const LoadReport pdo_report = LoadPdoTable(pdo_file, kEvery).report;
  if (load.found && !pdo_report.failures.empty())
    list.File(texts::kPdosUnread);
  // OK orders by index and subindex; choosing an entry splits its poscomp.
  ListItems items(FirstUnread(load.report));
  CheckRecords(
      file,
      [&](const TableRecord& record, ProblemList& problems) {
        const char* const* names = canopen::kStoredPdoAttributes;
        CheckPresent(record, Names(canopen::kStoredPdoAttributes), problems, 2);
        CheckFields(record, StoredPdoFields(Side::kA), problems);
        NoteUnknown(record, Names(canopen::kStoredPdoAttributes), problems);
        if (const std::optional<std::int32_t> nrpdo = LoadedNumber(record, names[2])) {
          const std::string text = *record.OptionalText(names[2]);
          const auto pdo = PdoOfNrpdo(load.model, *nrpdo, text);
          if (pdo && !*pdo)
            problems.Record(record.number(), FormatText(texts::kNoSuchPdo, {text}));
          // The entry is the next one in its PDO's list.
          if (pdo && *pdo) {
            const auto [side, position] = **pdo;
            const int row = static_cast<int>(position);
            items.Place(record.number(), side, row, problems, row);
          }
        }
        if (const std::optional<std::string> poscomp = record.OptionalText(names[3])) {
          if (const std::optional<std::string> problem = PoscompProblem(*poscomp))
            problems.Record(record.number(),
                            FormatText(texts::kAttributeValue, {names[3], *problem}));
        }
      },
      list);
  return list;
}

ProblemList CheckEmcyRules(const fs::path& file) {
  ProblemList list(ProblemFileName(file));
  const LoadReport gaps = LoadEmcyRules(file, kEvery).report;
  AddReading(gaps, list);
  // OK orders each side by ID; an empty ID is read as "0".
  ListItems items(FirstUnread(gaps));
  CheckRecords(
      file,
      [&items](const TableRecord& record, ProblemList& problems) {
        CheckPresent(record, Names(emcy::kRuleAttributes), problems, emcy::kRuleTextCount);
        CheckFields(record, EmcyRuleFields(), problems, std::nullopt, true);
        NoteUnknown(record, Names(emcy::kRuleAttributes), problems);
        const char* name = emcy::kRuleAttributes[emcy::kBypassSetField];
        CheckUnusedBits(record, name, kBypassSetBits, problems);
        if (const std::optional<std::int32_t> value = LoadedNumber(record, name)) {
          items.Place(record.number(), UnpackBypassSet(*value).side, 0, problems);
          const int alias = UnpackBypassSet(*value).alias_pos;
          if (!AliasShown(alias)) {
            problems.Record(record.number(),
                            FormatText(texts::kNoAliasButton,
                                       {*record.OptionalText(name), std::to_string(alias)}));
          }
        }
      },
      list);
  return list;
}

void CheckEmcyPoscomp(const TableRecord& record, const std::string& name, ProblemList& list) {
  const std::string text = record.OptionalText(name).value_or("");
  if (text.empty())
    return;  // a bit not yet defined
  const Result<std::int32_t> value = record.Number(name);
  if (!value)
    list.Record(record.number(), value.error());
  else if (!PoscompShowsWhole(*value))
    list.Record(record.number(),
                FormatText(texts::kAttributeValue,
                           {name, FormatText(texts::kEmcyPoscompNotShown, {text})}));
}

ProblemList CheckEmcyWords(const fs::path& file) {
  ProblemList list(ProblemFileName(file));
  const LoadReport gaps = LoadEmcyWords(file, kEvery).report;
  AddReading(gaps, list);
  // OK orders each side by devid, index_addrm and subindex; showing a bit splits its poscomp.
  ListItems items(FirstUnread(gaps));
  CheckRecords(
      file,
      [&items](const TableRecord& record, ProblemList& problems) {
        CheckPresent(record, EmcyWordAttributes(), problems);
        CheckFields(record, EmcyWordFields(Side::kA), problems, std::nullopt, true);
        if (const std::optional<std::int32_t> code = LoadedNumber(record, emcy::kSideAttribute)) {
          if (const std::optional<Side> side = EmcyWordSide(*code)) {
            items.Place(record.number(), *side, 0, problems);
          } else {
            problems.Record(
                record.number(),
                FormatText(texts::kNoWordSide, {*record.OptionalText(emcy::kSideAttribute)}));
          }
        }
        for (int bit = 0; bit < kWordBits; ++bit) {
          const std::string prefix = emcy::kBitPrefix + std::to_string(bit);
          // The mask bytes as the bit's fields take them; poscomp as the two fields show it.
          for (std::size_t f = 0; f < 2; ++f) {
            const TableField& field = EmcyBitFields(Side::kA)[f];
            const std::string name = prefix + field.attribute;
            const std::optional<std::string> text = record.OptionalText(name);
            if (!text)
              continue;
            if (const std::optional<std::string> reason = FieldProblem(field.rule, *text))
              problems.Record(record.number(), FormatText(texts::kAttributeValue, {name, *reason}));
          }
          CheckEmcyPoscomp(record, prefix + emcy::kBitSuffixes[2], problems);
        }
        NoteUnknown(record, EmcyWordAttributes(), problems);
      },
      list);
  return list;
}

}  // namespace

std::vector<ProblemList> CheckCanopenFiles(const fs::path& project_dir,
                                           const ProjectFileSet& files) {
  std::vector<ProblemList> lists;
  lists.push_back(CheckSdo(files.sdo));
  lists.push_back(CheckPdo(files.rpdodef));
  lists.push_back(CheckStoredPdo(project_dir, files.sdopdo, files.rpdodef));
  lists.push_back(CheckEmcyRules(files.emcydef));
  lists.push_back(CheckEmcyWords(files.emcyword));
  return lists;
}

}  // namespace quastor
