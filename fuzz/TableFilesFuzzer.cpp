// Any bytes as a CANopen table file, the table chosen by the first byte (dropped): 0 sdo.xml,
// 1 rpdodef.xml, 2 sdopdo.xml (with rpdodef.xml and sdo.xml after NUL bytes), 3 emcydef.xml,
// 4 emcyword.xml. Loading ends without a fault and keeps the grids at their size; what a load
// shows, once OK has written it and the file is loaded again, shows the same records (in key
// order where OK sorts).
//
//   table_files_fuzzer fuzz/corpus/table_files

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "canopen/EmcyRulesFiles.h"
#include "canopen/EmcyWordFiles.h"
#include "canopen/PdoTable.h"
#include "canopen/SdoTable.h"
#include "canopen/StoredPdoFiles.h"
#include "fuzz/FuzzFiles.h"

namespace {

using namespace quastor;
using fuzz::Require;

bool GridsOfSize(const SideGrids& grids, std::size_t rows, std::size_t columns) {
  for (const GridRows* side : {&grids.a, &grids.b}) {
    if (side->size() != rows)
      return false;
    for (const GridRow& row : *side) {
      if (row.size() != columns)
        return false;
    }
  }
  return true;
}

// A side's rows as a sorted list, for tables that OK writes in key order.
GridRows Sorted(GridRows rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

void SdoTable(std::string_view bytes) {
  const GridLoad first = LoadSdoTable(fuzz::Put("sdo.xml", bytes));
  Require(GridsOfSize(first.model, 1500, 8), "sdo grids keep 1500 rows of 8 cells");
  const GridLoad again = LoadSdoTable(fuzz::Put("sdo.xml", SdoTableText(first.model)));
  Require(again.report.Complete(), "sdo.xml written by OK loads whole");
  Require(again.model.a == first.model.a && again.model.b == first.model.b,
          "sdo.xml written by OK shows the same rows");
}

void PdoTable(std::string_view bytes) {
  const GridLoad first = LoadPdoTable(fuzz::Put("rpdodef.xml", bytes));
  Require(GridsOfSize(first.model, 10, 5), "rpdodef grids keep 10 rows of 5 cells");
  const Result<std::string> text = PdoTableText(first.model);
  if (!text)
    return;  // refused: an empty or unreadable cobid
  const GridLoad again = LoadPdoTable(fuzz::Put("rpdodef.xml", *text));
  Require(again.report.Complete(), "rpdodef.xml written by OK loads whole");
  Require(Sorted(again.model.a) == Sorted(first.model.a) &&
              Sorted(again.model.b) == Sorted(first.model.b),
          "rpdodef.xml written by OK shows the same rows");
}

// Per side, per PDO: cobid, number and the sorted entries.
std::vector<std::string> StoredPdoShape(const StoredPdoModel& model) {
  std::vector<std::string> shape;
  for (const Side side : kBothSides) {
    shape.push_back(side == Side::kA ? "A" : "B");
    for (const TClPdo& pdo : model.page(side).pdos) {
      shape.push_back(pdo.cobid + '\n' + std::to_string(pdo.number));
      std::vector<std::string> entries;
      for (const TClSdo& entry : pdo.sdoList)
        entries.push_back(entry.index + '\n' + entry.subindex + '\n' + entry.poscomp);
      std::sort(entries.begin(), entries.end());
      shape.insert(shape.end(), entries.begin(), entries.end());
      shape.push_back("");
    }
  }
  return shape;
}

void StoredPdo(std::string_view bytes) {
  const std::vector<std::string_view> parts = fuzz::Parts(bytes, 3);
  const char* const names[] = {"sdopdo.xml", "rpdodef.xml", "sdo.xml"};
  for (std::size_t k = 0; k < 3; ++k) {
    if (k < parts.size())
      fuzz::Put(names[k], parts[k]);
    else
      fuzz::Absent(names[k]);
  }
  const StoredPdoLoad first = LoadStoredPdo(fuzz::Dir(), fuzz::Dir() / names[0]);
  for (const Side side : kBothSides) {
    const std::vector<TClPdo>& pdos = first.model.page(side).pdos;
    for (std::size_t i = 0; i < pdos.size(); ++i)
      Require(pdos[i].number == static_cast<std::int32_t>(i + 1), "PDOs are numbered 1, 2, ...");
  }
  const Result<std::string> text = StoredPdoFileText(first.model);
  if (!text)
    return;  // refused: an index or subindex that is not a number
  const StoredPdoLoad again = LoadStoredPdo(fuzz::Dir(), fuzz::Put(names[0], *text));
  Require(again.report.Complete(), "sdopdo.xml written by OK loads whole");
  Require(StoredPdoShape(again.model) == StoredPdoShape(first.model),
          "sdopdo.xml written by OK gives every PDO the same entries");
}

std::vector<std::string> RuleShape(const EmcyModel& model) {
  std::vector<std::string> shape;
  for (const Side side : kBothSides) {
    std::vector<std::string> rules;
    for (const TClEmcy& rule : model.page(side).rules) {
      std::string text = std::to_string(rule.enable) + ' ' + std::to_string(rule.alias_pos);
      for (const auto field : kRuleTexts)
        text += '\n' + rule.*field;
      rules.push_back(text);
    }
    std::sort(rules.begin(), rules.end());
    shape.insert(shape.end(), rules.begin(), rules.end());
    shape.push_back("");
  }
  return shape;
}

void EmcyRules(std::string_view bytes) {
  const EmcyRulesLoad first = LoadEmcyRules(fuzz::Put("emcydef.xml", bytes));
  for (const Side side : kBothSides) {
    for (const TClEmcy& rule : first.model.page(side).rules)
      Require(rule.alias_pos >= 0 && rule.alias_pos <= 15, "alias_pos lies in 0 to 15");
  }
  const Result<std::string> text = EmcyRulesFileText(first.model);
  if (!text)
    return;  // refused: an ID that is not a number
  const EmcyRulesLoad again = LoadEmcyRules(fuzz::Put("emcydef.xml", *text));
  Require(again.report.Complete(), "emcydef.xml written by OK loads whole");
  Require(RuleShape(again.model) == RuleShape(first.model),
          "emcydef.xml written by OK shows the same rules");
}

std::vector<std::string> WordShape(const WordModel& model) {
  std::vector<std::string> shape;
  for (const Side side : kBothSides) {
    const WordPage& page = model.page(side);
    Require(page.labels.size() == page.words.size(), "every word has its label");
    Require(NodeCount(page) == kNodesPerWord * page.words.size(), "17 tree nodes per word");
    std::vector<std::string> words;
    for (const TClWEmcy& word : page.words) {
      std::string text = word.index_addrm + '\n' + word.subindex + '\n' + word.devid;
      for (const ClEbm& bit : word.ebm)
        text += '\n' + bit.b0 + '\n' + bit.b1 + '\n' + bit.poscomp;
      words.push_back(text);
    }
    std::sort(words.begin(), words.end());
    shape.insert(shape.end(), words.begin(), words.end());
    shape.push_back("");
  }
  return shape;
}

void EmcyWords(std::string_view bytes) {
  const EmcyWordsLoad first = LoadEmcyWords(fuzz::Put("emcyword.xml", bytes));
  const std::vector<std::string> shape = WordShape(first.model);
  const Result<std::string> text = EmcyWordsFileText(first.model);
  if (!text)
    return;  // refused: a key that is not a number
  const EmcyWordsLoad again = LoadEmcyWords(fuzz::Put("emcyword.xml", *text));
  Require(again.report.Complete(), "emcyword.xml written by OK loads whole");
  Require(WordShape(again.model) == shape, "emcyword.xml written by OK shows the same words");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 5) {
    case 0:
      SdoTable(bytes);
      break;
    case 1:
      PdoTable(bytes);
      break;
    case 2:
      StoredPdo(bytes);
      break;
    case 3:
      EmcyRules(bytes);
      break;
    default:
      EmcyWords(bytes);
  }
  return 0;
}
