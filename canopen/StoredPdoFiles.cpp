#include "canopen/StoredPdoFiles.h"

#include <cstdint>
#include <iterator>
#include <optional>
#include <utility>

#include "app/AppState.h"
#include "canopen/CanopenTexts.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
#include "canopen/KeyOrder.h"
#include "canopen/TableFile.h"
#include "platform/CsvText.h"
#include "platform/IntegerText.h"
#include "platform/Text.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;

constexpr std::int32_t kSideBit = 0x80;
constexpr std::size_t kNrpdoField = 2;

void NoteSkipped(LoadReport& report, std::size_t skipped, const std::string& source) {
  report.skipped = skipped;
  if (skipped > 0)
    report.gaps.push_back(FormatText(texts::kRecordsSkipped, {source, std::to_string(skipped)}));
}

// Reads one of the three files: its missing-file or reading-error message.
TableFileRead ReadOne(const std::filesystem::path& file, const RecordStep& step,
                      const char* not_found, const char* error_reading, TableReading reading,
                      StoredPdoLoad& load) {
  TableFileRead read = ReadTableFile(file, step, reading);
  if (!read.found)
    load.messages.push_back({false, not_found});
  if (!read.complete) {
    load.messages.push_back({false, error_reading});
    load.complete = false;
  }
  return read;
}

Status ReadSdoAccess(StoredPdoModel& model, const TableRecord& record) {
  const Result<std::int32_t> conf = record.Number(texts::kSdoAttributes[0]);
  if (!conf)
    return conf.failure();
  Result<std::string> index = record.Text(texts::kSdoAttributes[1]);
  if (!index)
    return index.failure();
  Result<std::string> subindex = record.Text(texts::kSdoAttributes[2]);
  if (!subindex)
    return subindex.failure();
  model.page((*conf & 1) != 0 ? Side::kB : Side::kA)
      .sdoTable.push_back(TClSdo{std::move(index.value()), std::move(subindex.value()), ""});
  return Status::Ok();
}

Status ReadPdo(StoredPdoModel& model, const TableRecord& record) {
  const Result<std::int32_t> flags = record.Number(texts::kPdoAttributes[2]);
  if (!flags)
    return flags.failure();
  Result<std::string> cobid = record.Text(texts::kPdoAttributes[0]);
  if (!cobid)
    return cobid.failure();
  // Here a clear bit 1 means CAN A, the reverse of the PDO translation table's pages.
  std::vector<TClPdo>& pdos = model.page((*flags & 2) == 0 ? Side::kA : Side::kB).pdos;
  pdos.emplace_back(std::move(cobid.value()), static_cast<std::int32_t>(pdos.size() + 1));
  return Status::Ok();
}

Status ReadStoredEntry(StoredPdoModel& model, const TableRecord& record, std::size_t& skipped) {
  const char* nrpdo_name = texts::kStoredPdoAttributes[kNrpdoField];
  const Result<std::int32_t> nrpdo = record.Number(nrpdo_name);
  if (!nrpdo)
    return nrpdo.failure();
  const auto pdo = PdoOfNrpdo(model, *nrpdo, *record.OptionalText(nrpdo_name));
  if (!pdo)
    return pdo.failure();
  if (!*pdo) {
    ++skipped;
    return Status::Ok();
  }
  TClSdo entry;
  const std::pair<std::size_t, std::string*> fields[] = {
      {0, &entry.index}, {1, &entry.subindex}, {3, &entry.poscomp}};
  for (const auto& [field, into] : fields) {
    Result<std::string> text = record.Text(texts::kStoredPdoAttributes[field]);
    if (!text)
      return text.failure();
    *into = std::move(text.value());
  }
  static const std::vector<std::string> kKnown(std::begin(texts::kStoredPdoAttributes),
                                               std::end(texts::kStoredPdoAttributes));
  entry.kept = record.Others(kKnown);
  model.page(pdo.value()->first).pdos[pdo.value()->second].sdoList.push_back(std::move(entry));
  return Status::Ok();
}

// A side's (PDO, entry) pairs in list order.
std::vector<std::pair<const TClPdo*, const TClSdo*>> Pairs(const StoredPdoPage& page) {
  std::vector<std::pair<const TClPdo*, const TClSdo*>> pairs;
  for (const TClPdo& pdo : page.pdos) {
    for (const TClSdo& entry : pdo.sdoList)
      pairs.emplace_back(&pdo, &entry);
  }
  return pairs;
}

std::string Nrpdo(Side side, const TClPdo& pdo) {
  return std::to_string(pdo.number + (side == Side::kB ? kSideBit : 0));
}

}  // namespace

Result<std::optional<std::pair<Side, std::size_t>>> PdoOfNrpdo(const StoredPdoModel& model,
                                                               std::int32_t nrpdo,
                                                               const std::string& text) {
  const Side side = (nrpdo & kSideBit) != 0 ? Side::kB : Side::kA;
  const std::int32_t number = nrpdo & ~kSideBit;
  if (number < 1)
    return Failure{FormatText(texts::kNoPdoNumber, {text})};
  if (static_cast<std::size_t>(number) > model.page(side).pdos.size())
    return std::optional<std::pair<Side, std::size_t>>();
  return std::optional(std::make_pair(side, static_cast<std::size_t>(number - 1)));
}

StoredPdoLoad LoadStoredPdo(const std::filesystem::path& project_dir,
                            const std::filesystem::path& sdopdo_file, TableReading reading) {
  const ProjectFileSet files = ProjectFilesIn(project_dir);
  StoredPdoLoad load;
  StoredPdoModel& model = load.model;
  ReadOne(
      files.sdo, [&](const TableRecord& record) { return ReadSdoAccess(model, record); },
      texts::kSdoFileNotFound, texts::kSdoErrorReading, reading, load);
  ReadOne(
      files.rpdodef, [&](const TableRecord& record) { return ReadPdo(model, record); },
      texts::kPdoFileNotFound, texts::kPdoErrorReading, reading, load);
  std::size_t skipped = 0;
  TableFileRead read = ReadOne(
      sdopdo_file,
      [&](const TableRecord& record) { return ReadStoredEntry(model, record, skipped); },
      texts::kStoredPdoFileNotFound, texts::kStoredPdoErrorReading, reading, load);
  load.found = read.found;
  load.report = std::move(read.report);
  NoteSkipped(load.report, skipped, SourceName(sdopdo_file));
  if (skipped > 0) {
    load.messages.push_back({false, load.report.gaps.back()});
    load.complete = false;
  }
  return load;
}

Result<std::string> StoredPdoFileText(const StoredPdoModel& model) {
  TableFileWriter writer(texts::kStoredPdoTable, {std::begin(texts::kStoredPdoAttributes),
                                                  std::end(texts::kStoredPdoAttributes)});
  for (const Side side : kBothSides) {
    const auto pairs = Pairs(model.page(side));
    const Result<std::vector<std::size_t>> order =
        KeyOrder(pairs.size(), 2, [&](std::size_t i, std::size_t part) {
          return std::string_view(part == 0 ? pairs[i].second->index : pairs[i].second->subindex);
        });
    if (!order)
      return order.failure();
    for (const std::size_t i : *order) {
      const auto& [pdo, entry] = pairs[i];
      writer.Add({entry->index, entry->subindex, Nrpdo(side, *pdo), entry->poscomp}, entry->kept);
    }
  }
  return writer.Finish();
}

Status SaveStoredPdo(const std::filesystem::path& file, const StoredPdoModel& model) {
  const Result<std::string> text = StoredPdoFileText(model);
  if (!text)
    return text.failure();
  return WriteXmlFileKeepingEncoding(file, *text);
}

Result<StoredPdoImport> ImportStoredPdoSheet(const StoredPdoModel& model,
                                             const WorkbookSheet& sheet) {
  const Result<std::vector<SheetRecord>> records = SheetRecords(
      sheet, {{std::begin(texts::kStoredPdoAttributes), std::end(texts::kStoredPdoAttributes)},
              kNrpdoField,
              {},
              {}});
  if (!records)
    return records.failure();
  StoredPdoImport import;
  import.found = true;
  import.model.listsA.resize(model.pageA.pdos.size());
  import.model.listsB.resize(model.pageB.pdos.size());
  std::size_t skipped = 0;
  for (const SheetRecord& record : *records) {
    const char* field_name = texts::kStoredPdoAttributes[kNrpdoField];
    const Result<std::int32_t> nrpdo = SheetNumber(sheet, record, kNrpdoField, field_name);
    if (!nrpdo)
      return nrpdo.failure();
    const auto pdo = PdoOfNrpdo(model, *nrpdo, record.fields[kNrpdoField]);
    if (!pdo)
      return SheetCellFailure(sheet, record, kNrpdoField, field_name, pdo.error());
    if (!*pdo) {
      ++skipped;
      continue;
    }
    auto& lists = pdo.value()->first == Side::kA ? import.model.listsA : import.model.listsB;
    lists[pdo.value()->second].push_back(
        TClSdo{record.fields[0], record.fields[1], record.fields[3]});
  }
  NoteSkipped(import.report, skipped, SheetSource(sheet.name));
  return import;
}

Result<StoredPdoImport> ImportStoredPdoWorkbook(const StoredPdoModel& model,
                                                const std::filesystem::path& workbook) {
  const Result<WorkbookSheet> sheet = ReadTableSheet(workbook, texts::kStoredPdoTable);
  if (!sheet)
    return sheet.failure();
  return ImportStoredPdoSheet(model, *sheet);
}

void ApplyStoredPdoImport(StoredPdoModel& model, StoredPdoImport import) {
  for (const Side side : kBothSides) {
    StoredPdoPage& page = model.page(side);
    auto& lists = side == Side::kA ? import.model.listsA : import.model.listsB;
    for (std::size_t p = 0; p < page.pdos.size() && p < lists.size(); ++p)
      page.pdos[p].sdoList = std::move(lists[p]);
    // The list box is emptied; a PDO still chosen would give New a label out of step with it.
    page.selectedPdo.reset();
    page.sdoLabels.clear();
    page.selectedSdo.reset();
  }
}

std::string StoredPdoCsvText(const StoredPdoModel& model) {
  std::string text;
  for (const Side side : kBothSides) {
    for (const TClPdo& pdo : model.page(side).pdos) {
      for (const TClSdo& entry : pdo.sdoList)
        text += CsvLine({entry.index, entry.subindex, Nrpdo(side, pdo), entry.poscomp});
    }
  }
  return text;
}

Status ExportStoredPdoCsv(const std::filesystem::path& project_dir, const StoredPdoModel& model) {
  return WriteCsvFile(project_dir, texts::kStoredPdoTable, StoredPdoCsvText(model));
}

}  // namespace quastor
