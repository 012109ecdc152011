#include "canopen/StoredPdo.h"

#include "canopen/CanopenTexts.h"
#include "platform/IntegerText.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = canopen_texts;

constexpr int kLastByteItem = 8;

int Half(std::int32_t value) {
  const int half = static_cast<int>(value & 15);
  return half <= kLastByteItem ? half : -1;
}

// Whether a stored entry has the edits' index and subindex; the subindex is read only when
// the indexes are equal.
Result<bool> SameEntry(const TClSdo& entry, std::int32_t index, std::int32_t subindex) {
  const Result<std::int32_t> entry_index = StrictInteger(entry.index);
  if (!entry_index)
    return entry_index.failure();
  if (*entry_index != index)
    return false;
  const Result<std::int32_t> entry_subindex = StrictInteger(entry.subindex);
  if (!entry_subindex)
    return entry_subindex.failure();
  return *entry_subindex == subindex;
}

// The poscomp of the edits. A half whose radio group has no item checked (the entry shown holds
// a half above 8, which no item stands for) keeps that half of shown, so that New, Modify and
// Copy never turn a value the user did not touch into "none"; with both halves unchecked the
// text stays as it was.
std::string PoscompOf(const SdoEdits& edits, const TClSdo* shown) {
  const PoscompChoice& choice = edits.choice;
  if (shown == nullptr || (choice.high >= 0 && choice.low >= 0))
    return ComposePoscomp(choice);
  const Result<std::int32_t> value = StrictInteger(shown->poscomp);
  if (!value)
    return ComposePoscomp(choice);
  if (choice.high < 0 && choice.low < 0)
    return shown->poscomp;
  const int high = choice.high >= 0 ? choice.high : static_cast<int>((*value >> 4) & 15);
  const int low = choice.low >= 0 ? choice.low : static_cast<int>(*value & 15);
  return std::to_string(16 * high + low);
}

// The entry the page's edits show, when one is chosen.
const TClSdo* ShownEntry(const StoredPdoPage& page) {
  if (!page.selectedPdo || !page.selectedSdo)
    return nullptr;
  const std::vector<TClSdo>& list = page.pdos[*page.selectedPdo].sdoList;
  return *page.selectedSdo < list.size() ? &list[*page.selectedSdo] : nullptr;
}

TClSdo EntryOf(const SdoEdits& edits, const TClSdo* shown) {
  return TClSdo{edits.index, edits.subindex, PoscompOf(edits, shown)};
}

std::string Label(std::size_t number) {
  return texts::kSdoLabelPrefix + std::to_string(number);
}

}  // namespace

std::string ComposePoscomp(PoscompChoice choice) {
  const int high = choice.high < 0 ? 0 : choice.high;
  const int low = choice.low < 0 ? 0 : choice.low;
  return std::to_string(16 * high + low);
}

Result<PoscompChoice> SplitPoscomp(std::string_view poscomp) {
  const Result<std::int32_t> value = StrictInteger(poscomp);
  if (!value)
    return value.failure();
  return PoscompChoice{Half(*value >> 4), Half(*value)};
}

std::optional<std::string> PoscompProblem(std::string_view poscomp) {
  const Result<std::int32_t> value = StrictInteger(poscomp);
  if (!value)
    return value.error();
  const PoscompChoice choice = *SplitPoscomp(poscomp);
  if (choice.high < 0 || choice.low < 0 || 16 * choice.high + choice.low != *value)
    return FormatText(texts::kPoscompNotShown, {std::string(poscomp)});
  return std::nullopt;
}

std::vector<std::string> PdoLabels(const StoredPdoPage& page) {
  std::vector<std::string> labels;
  for (const TClPdo& pdo : page.pdos)
    labels.push_back(pdo.cobid);
  return labels;
}

void ChoosePdo(StoredPdoPage& page, std::size_t pdo) {
  page.selectedPdo.reset();
  page.selectedSdo.reset();
  page.sdoLabels.clear();
  if (pdo >= page.pdos.size())
    return;
  page.selectedPdo = pdo;
  for (std::size_t i = 0; i < page.pdos[pdo].sdoList.size(); ++i)
    page.sdoLabels.push_back(Label(i));
}

EditsToShow ChooseSdo(StoredPdoPage& page, std::size_t entry) {
  if (!page.selectedPdo || entry >= page.pdos[*page.selectedPdo].sdoList.size())
    return EditsToShow{};
  page.selectedSdo = entry;
  const TClSdo& e = page.pdos[*page.selectedPdo].sdoList[entry];
  return EditsToShow{e.index, e.subindex, SplitPoscomp(e.poscomp)};
}

Status CollisionTest(const StoredPdoPage& page, const SdoEdits& edits,
                     std::optional<std::pair<std::size_t, std::size_t>> modified) {
  // The edits are read first, so that an entry is never stored with a key OK cannot order.
  const Result<std::int32_t> index = StrictInteger(edits.index);
  if (!index)
    return index.failure();
  const Result<std::int32_t> subindex = StrictInteger(edits.subindex);
  if (!subindex)
    return subindex.failure();
  // A stored value that does not read is named where the user can mend it: the SDO access
  // table's entry as its grid shows it, or the stored entry.
  for (std::size_t i = 0; i < page.sdoTable.size(); ++i) {
    const TClSdo& entry = page.sdoTable[i];
    const Result<bool> same = SameEntry(entry, *index, *subindex);
    if (!same) {
      const bool index_reads = ReadInteger(entry.index).has_value();
      return Failure{FormatText(
          texts::kSdoTableValue,
          {std::to_string(i), page.side == Side::kA ? texts::kSdoPageA : texts::kSdoPageB,
           texts::kSdoColumnTitles[index_reads ? 3 : 2], same.error()})};
    }
    if (*same)
      return Failure{texts::kSdoAlreadyExists};
  }
  for (std::size_t p = 0; p < page.pdos.size(); ++p) {
    const std::vector<TClSdo>& list = page.pdos[p].sdoList;
    for (std::size_t e = 0; e < list.size(); ++e) {
      if (modified && modified->first == p && modified->second == e)
        continue;
      const Result<bool> same = SameEntry(list[e], *index, *subindex);
      if (!same) {
        const bool index_reads = ReadInteger(list[e].index).has_value();
        return Failure{
            FormatText(texts::kStoredEntryValue,
                       {page.pdos[p].cobid, Label(e),
                        StoredPdoFields(page.side)[index_reads ? 1 : 0].title, same.error()})};
      }
      if (*same)
        return Failure{texts::kIndexNotValid};
    }
  }
  return Status::Ok();
}

std::optional<FieldFault> SdoEditsFault(const SdoEdits& edits) {
  return FirstFieldFault(StoredPdoFields(Side::kA), {edits.index, edits.subindex});
}

Status NewSdo(StoredPdoPage& page, const SdoEdits& edits) {
  if (!page.selectedPdo)
    return Status::Ok();
  TClPdo& pdo = page.pdos[*page.selectedPdo];
  // "nrpdo" holds seven bits of PDO number: a higher one would be read back as another PDO.
  if (pdo.number > texts::kMaxStoredPdoNumber) {
    return Failure{FormatText(texts::kPdoNumberTooHigh, {pdo.cobid, std::to_string(pdo.number)})};
  }
  if (Status free = CollisionTest(page, edits, std::nullopt); !free)
    return free;
  TClSdo entry = EntryOf(edits, ShownEntry(page));
  page.sdoLabels.push_back(Label(page.sdoLabels.size()));
  page.selectedSdo = page.sdoLabels.size() - 1;
  pdo.sdoList.push_back(std::move(entry));
  return Status::Ok();
}

Status ModifySdo(StoredPdoPage& page, const SdoEdits& edits) {
  if (!page.selectedPdo || !page.selectedSdo)
    return Status::Ok();
  if (Status free =
          CollisionTest(page, edits, std::make_pair(*page.selectedPdo, *page.selectedSdo));
      !free) {
    return free;
  }
  TClSdo& entry = page.pdos[*page.selectedPdo].sdoList[*page.selectedSdo];
  XmlAttributeList kept = std::move(entry.kept);
  entry = EntryOf(edits, &entry);
  entry.kept = std::move(kept);
  return Status::Ok();
}

void DeleteSdo(StoredPdoPage& page) {
  if (!page.selectedPdo || !page.selectedSdo)
    return;
  std::vector<TClSdo>& list = page.pdos[*page.selectedPdo].sdoList;
  const std::size_t entry = *page.selectedSdo;
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(entry));
  page.sdoLabels.erase(page.sdoLabels.begin() + static_cast<std::ptrdiff_t>(entry));
  page.selectedSdo.reset();
}

SdoClipboard CopySdo(const StoredPdoPage& page, const SdoEdits& edits) {
  return SdoClipboard{edits.index, edits.subindex, PoscompOf(edits, ShownEntry(page)), true};
}

std::optional<EditsToShow> PasteSdo(const SdoClipboard& clipboard) {
  if (!clipboard.copied)
    return std::nullopt;
  return EditsToShow{clipboard.index, clipboard.subindex, SplitPoscomp(clipboard.poscomp)};
}

}  // namespace quastor
