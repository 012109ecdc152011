#include "canopen/EmcyWordFiles.h"

#include <cstdint>
#include <utility>

#include "canopen/CanopenTexts.h"
#include "canopen/EmcyTexts.h"
#include "canopen/ExportCsv.h"
#include "canopen/ImportSheet.h"
#include "canopen/KeyOrder.h"
#include "canopen/TableFile.h"
#include "platform/CsvText.h"
#include "platform/Text.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = emcy_texts;
namespace canopen = canopen_texts;

// Positions of the fields in file (and sheet) order; bit j's three follow from kFirstBit + 3j.
constexpr std::size_t kIndexField = 0;
constexpr std::size_t kSubindexField = 1;
constexpr std::size_t kSideField = 2;
constexpr std::size_t kDevidField = 3;
constexpr std::size_t kFirstBit = 4;
constexpr std::size_t kFieldCount = kFirstBit + 3 * kWordBits;

const char* SideCode(Side side) {
  return side == Side::kA ? "0" : "1";
}

// The word's texts from fields in file order (the side code left out).
TClWEmcy WordOf(std::vector<std::string> fields) {
  TClWEmcy word;
  word.index_addrm = std::move(fields[kIndexField]);
  word.subindex = std::move(fields[kSubindexField]);
  word.devid = std::move(fields[kDevidField]);
  for (std::size_t j = 0; j < kWordBits; ++j) {
    const std::size_t first = kFirstBit + 3 * j;
    word.ebm[j] =
        ClEbm{std::move(fields[first]), std::move(fields[first + 1]), std::move(fields[first + 2])};
  }
  return word;
}

// Adds the word to the side its code names, labelled by its position; counts it otherwise.
void Place(WordModel& model, TClWEmcy word, std::int32_t code, std::size_t& skipped) {
  const std::optional<Side> side = EmcyWordSide(code);
  if (!side) {
    ++skipped;
    return;
  }
  WordPage& page = model.page(*side);
  AddWordNode(page, std::move(word), static_cast<int>(page.words.size()));
}

Status ReadWord(WordModel& model, const TableRecord& record, std::size_t& skipped) {
  const std::vector<std::string>& names = EmcyWordAttributes();
  std::vector<std::string> fields(kFieldCount);
  for (std::size_t k = 0; k < kFieldCount; ++k) {
    if (k == kSideField)
      continue;
    Result<std::string> text = record.Text(names[k]);
    if (!text)
      return text.failure();
    fields[k] = std::move(text.value());
  }
  const Result<std::int32_t> code = record.Number(names[kSideField]);
  if (!code)
    return code.failure();
  TClWEmcy word = WordOf(std::move(fields));
  word.kept = record.Others(names);
  Place(model, std::move(word), *code, skipped);
  return Status::Ok();
}

void NoteSkipped(LoadReport& report, std::size_t skipped, const std::string& source) {
  report.skipped = skipped;
  if (skipped > 0)
    report.gaps.push_back(FormatText(texts::kWordsSkipped, {source, std::to_string(skipped)}));
}

// The 52 values of a word in file order, which is also the sheet's and the CSV's: the side
// code before devid. (A CSV with devid first came back from a spreadsheet with the node ID
// read as the side code.)
std::vector<std::string_view> Values(const TClWEmcy& word, Side side) {
  std::vector<std::string_view> values;
  values.reserve(kFieldCount);
  values.push_back(word.index_addrm);
  values.push_back(word.subindex);
  values.push_back(SideCode(side));
  values.push_back(word.devid);
  for (const ClEbm& bit : word.ebm) {
    values.push_back(bit.b0);
    values.push_back(bit.b1);
    values.push_back(bit.poscomp);
  }
  return values;
}

}  // namespace

std::optional<Side> EmcyWordSide(std::int32_t code) {
  if (code == 0)
    return Side::kA;
  if (code == 1)
    return Side::kB;
  return std::nullopt;
}

const std::vector<std::string>& EmcyWordAttributes() {
  static const std::vector<std::string> attributes = [] {
    std::vector<std::string> names = {texts::kIndexAttribute, texts::kSubindexAttribute,
                                      texts::kSideAttribute, texts::kDevidAttribute};
    for (int j = 0; j < kWordBits; ++j) {
      for (const char* suffix : texts::kBitSuffixes)
        names.push_back(texts::kBitPrefix + std::to_string(j) + suffix);
    }
    return names;
  }();
  return attributes;
}

EmcyWordsLoad LoadEmcyWords(const std::filesystem::path& file, TableReading reading) {
  EmcyWordsLoad load;
  std::size_t skipped = 0;
  TableFileRead read = ReadTableFile(
      file, [&](const TableRecord& record) { return ReadWord(load.model, record, skipped); },
      reading);
  load.found = read.found;
  load.report = std::move(read.report);
  if (!read.found)
    load.messages.push_back({false, canopen::kFileNotFound});
  if (!read.complete)
    load.messages.push_back({false, canopen::kErrorReading});
  NoteSkipped(load.report, skipped, SourceName(file));
  TellGaps(load.messages, load.report);
  return load;
}

Result<std::string> EmcyWordsFileText(const WordModel& model) {
  TableFileWriter writer(canopen::kEmcyWordTable, EmcyWordAttributes(),
                         model.pageA.words.size() + model.pageB.words.size());
  for (const Side side : kBothSides) {
    const std::vector<TClWEmcy>& words = model.page(side).words;
    const Result<std::vector<std::size_t>> order =
        KeyOrder(words.size(), 3, [&](std::size_t w, std::size_t part) {
          const TClWEmcy& word = words[w];
          return std::string_view(part == 0   ? word.devid
                                  : part == 1 ? word.index_addrm
                                              : word.subindex);
        });
    if (!order)
      return order.failure();
    for (const std::size_t w : *order)
      writer.Add(Values(words[w], side), words[w].kept);
  }
  return writer.Finish();
}

Status SaveEmcyWords(const std::filesystem::path& file, const WordModel& model) {
  const Result<std::string> text = EmcyWordsFileText(model);
  if (!text)
    return text.failure();
  return WriteXmlFileKeepingEncoding(file, *text);
}

Result<EmcyWordsImport> ImportEmcyWordsSheet(const WorkbookSheet& sheet) {
  Result<std::vector<SheetRecord>> records =
      SheetRecords(sheet, {EmcyWordAttributes(), kSideField, {}, {}});
  if (!records)
    return records.failure();
  EmcyWordsImport import;
  import.found = true;
  std::size_t skipped = 0;
  for (SheetRecord& record : records.value()) {
    const Result<std::int32_t> code = SheetNumber(sheet, record, kSideField, texts::kSideAttribute);
    if (!code)
      return code.failure();
    Place(import.model, WordOf(std::move(record.fields)), *code, skipped);
  }
  NoteSkipped(import.report, skipped, SheetSource(sheet.name));
  return import;
}

Result<EmcyWordsImport> ImportEmcyWordsWorkbook(const std::filesystem::path& workbook) {
  const Result<WorkbookSheet> sheet = ReadTableSheet(workbook, canopen::kEmcyWordTable);
  if (!sheet)
    return sheet.failure();
  return ImportEmcyWordsSheet(*sheet);
}

std::string EmcyWordsCsvText(const WordModel& model) {
  std::string text;
  for (const Side side : kBothSides) {
    for (const TClWEmcy& word : model.page(side).words) {
      for (const std::string_view value : Values(word, side))
        AppendCsvCell(text, value);
      EndCsvLine(text);
    }
  }
  return text;
}

Status ExportEmcyWordsCsv(const std::filesystem::path& project_dir, const WordModel& model) {
  return WriteCsvFile(project_dir, canopen::kEmcyWordTable, EmcyWordsCsvText(model));
}

}  // namespace quastor
