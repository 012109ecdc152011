// The CANopen table files. Each is loaded as its editor's show loads it, reading on past a
// record it cannot read so that every such record is named; then every record is read again
// for the values that the editor keeps but cannot show as they are, or that a later step of
// the editor (OK's key order, choosing an entry) reads as a number and would refuse.

#include <cstdint>
#include <functional>
#include <iterator>
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
#include "canopen/TableFile.h"
#include "check/CheckTexts.h"
#include "check/FileChecks.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = check_texts;
namespace canopen = canopen_texts;
namespace emcy = emcy_texts;
namespace fs = std::filesystem;

constexpr TableReading kEvery = TableReading::kEveryRecord;

// What the load could not read: the whole file, or each record with its reason.
void AddReading(const LoadGaps& gaps, ProblemList& list) {
  if (gaps.fileUnread)
    list.File(gaps.unreadReason);
  for (const RecordFailure& failure : gaps.failures)
    list.Record(failure.record, failure.reason);
}

// The records of each side beyond its grid's rows.
void AddNotShown(const LoadGaps& gaps, const char* page_a, const char* page_b, int rows,
                 ProblemList& list) {
  const std::pair<std::size_t, const char*> sides[] = {{gaps.notShownA, page_a},
                                                       {gaps.notShownB, page_b}};
  for (const auto& [count, page] : sides) {
    if (count == 0)
      continue;
    list.Whole(FormatText(texts::kWherePage, {page}),
               FormatText(texts::kRecordsNotShown, {std::to_string(rows), std::to_string(count)}));
  }
}

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
// others are told here (the list keeps one line of the same problem).
void CheckPresent(const TableRecord& record, const std::vector<std::string>& names,
                  ProblemList& list) {
  for (const std::string& name : names) {
    if (const Result<std::string> text = record.Text(name); !text)
      list.Record(record.number(), text.error());
  }
}

template <std::size_t N>
std::vector<std::string> Names(const char* const (&names)[N], std::size_t count = N) {
  return std::vector<std::string>(names, names + count);
}

// An attribute that is there and is read as a number somewhere, but does not read.
void CheckNumber(const TableRecord& record, const std::string& name, ProblemList& list) {
  if (!record.OptionalText(name))
    return;
  if (const Result<std::int32_t> value = record.Number(name); !value)
    list.Record(record.number(), value.error());
}

// An attribute that the load reads as a number; nothing when it does not read, which the load
// has told.
std::optional<std::int32_t> LoadedNumber(const TableRecord& record, const char* name) {
  const Result<std::int32_t> value = record.Number(name);
  if (!value)
    return std::nullopt;
  return *value;
}

void CheckUnusedBits(const TableRecord& record, const char* name, std::int32_t used,
                     ProblemList& list) {
  const std::optional<std::int32_t> value = LoadedNumber(record, name);
  if (!value || (*value & ~used) == 0)
    return;
  list.Record(record.number(), FormatText(texts::kUnusedBits, {name, *record.OptionalText(name),
                                                               std::to_string(*value & used)}));
}

ProblemList CheckSdo(const fs::path& file) {
  ProblemList list(ProblemFileName(file));
  const GridLoad load = LoadSdoTable(file, kEvery);
  AddReading(load.gaps, list);
  // The stored PDO definitions' collision test reads the virtual index and subindex.
  CheckRecords(
      file,
      [](const TableRecord& record, ProblemList& problems) {
        // Every column but the last, "mnemonico", which may be absent.
        static const std::vector<std::string> kRead =
            Names(canopen::kSdoAttributes, std::size(canopen::kSdoAttributes) - 1);
        CheckPresent(record, kRead, problems);
        CheckUnusedBits(record, canopen::kSdoAttributes[0], kSdoConfBits, problems);
        CheckNumber(record, canopen::kSdoAttributes[1], problems);
        CheckNumber(record, canopen::kSdoAttributes[2], problems);
      },
      list);
  AddNotShown(load.gaps, canopen::kSdoPageA, canopen::kSdoPageB, canopen::kSdoRowCount, list);
  return list;
}

ProblemList CheckPdo(const fs::path& file) {
  ProblemList list(ProblemFileName(file));
  const GridLoad load = LoadPdoTable(file, kEvery);
  AddReading(load.gaps, list);
  // OK orders each side by cobid.
  CheckRecords(
      file,
      [](const TableRecord& record, ProblemList& problems) {
        CheckPresent(record, Names(canopen::kPdoAttributes), problems);
        CheckNumber(record, canopen::kPdoAttributes[0], problems);
        CheckUnusedBits(record, canopen::kPdoAttributes[2], kPdoFlagBits, problems);
      },
      list);
  AddNotShown(load.gaps, canopen::kPdoPageA, canopen::kPdoPageB, canopen::kPdoRowCount, list);
  return list;
}

ProblemList CheckStoredPdo(const fs::path& project_dir, const fs::path& file) {
  ProblemList list(ProblemFileName(file));
  const StoredPdoLoad load = LoadStoredPdo(project_dir, file, kEvery);
  AddReading(load.gaps, list);
  // OK orders by index and subindex; choosing an entry splits its poscomp.
  CheckRecords(
      file,
      [&](const TableRecord& record, ProblemList& problems) {
        const char* const* names = canopen::kStoredPdoAttributes;
        CheckPresent(record, Names(canopen::kStoredPdoAttributes), problems);
        CheckNumber(record, names[0], problems);
        CheckNumber(record, names[1], problems);
        if (const std::optional<std::int32_t> nrpdo = LoadedNumber(record, names[2])) {
          const std::string text = *record.OptionalText(names[2]);
          const auto pdo = PdoOfNrpdo(load.model, *nrpdo, text);
          if (pdo && !*pdo)
            problems.Record(record.number(), FormatText(texts::kNoSuchPdo, {text}));
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
  AddReading(LoadEmcyRules(file, kEvery).gaps, list);
  // OK orders each side by ID; an empty ID is read as "0".
  CheckRecords(
      file,
      [](const TableRecord& record, ProblemList& problems) {
        CheckPresent(record, Names(emcy::kRuleAttributes), problems);
        const std::string id = record.OptionalText(emcy::kRuleAttributes[0]).value_or("");
        if (!id.empty())
          CheckNumber(record, emcy::kRuleAttributes[0], problems);
        const char* name = emcy::kRuleAttributes[emcy::kBypassSetField];
        CheckUnusedBits(record, name, kBypassSetBits, problems);
        if (const std::optional<std::int32_t> value = LoadedNumber(record, name)) {
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
  AddReading(LoadEmcyWords(file, kEvery).gaps, list);
  // OK orders each side by devid, index_addrm and subindex; showing a bit splits its poscomp.
  CheckRecords(
      file,
      [](const TableRecord& record, ProblemList& problems) {
        CheckPresent(record, EmcyWordAttributes(), problems);
        CheckNumber(record, emcy::kIndexAttribute, problems);
        CheckNumber(record, emcy::kSubindexAttribute, problems);
        if (const std::optional<std::int32_t> code = LoadedNumber(record, emcy::kSideAttribute)) {
          if (!EmcyWordSide(*code)) {
            problems.Record(
                record.number(),
                FormatText(texts::kNoWordSide, {*record.OptionalText(emcy::kSideAttribute)}));
          }
        }
        CheckNumber(record, emcy::kDevidAttribute, problems);
        for (int bit = 0; bit < kWordBits; ++bit) {
          CheckEmcyPoscomp(record, emcy::kBitPrefix + std::to_string(bit) + emcy::kBitSuffixes[2],
                           problems);
        }
      },
      list);
  return list;
}

}  // namespace

std::vector<ProblemList> CheckCanopenFiles(const fs::path& project_dir,
                                           const ProjectFileSet& files) {
  std::vector<ProblemList> lists;
  lists.push_back(CheckSdo(SdoTablePath(project_dir)));
  lists.push_back(CheckPdo(files.rpdodef));
  lists.push_back(CheckStoredPdo(project_dir, files.sdopdo));
  lists.push_back(CheckEmcyRules(files.emcydef));
  lists.push_back(CheckEmcyWords(files.emcyword));
  return lists;
}

}  // namespace quastor
