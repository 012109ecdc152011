#include "canopen/EmcyWords.h"

#include <utility>

#include "canopen/EmcyTexts.h"
#include "platform/IntegerText.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = emcy_texts;

bool IsWordNode(std::size_t n) {
  return n % kNodesPerWord == 0;
}

int BitOf(std::size_t n) {
  return static_cast<int>(n % kNodesPerWord) - 1;
}

bool SameTexts(const TClWEmcy& word, const WordFields& fields) {
  return word.index_addrm == fields.index_addrm && word.subindex == fields.subindex &&
         word.devid == fields.devid;
}

}  // namespace

std::size_t NodeCount(const WordPage& page) {
  return page.words.size() * kNodesPerWord;
}

WordNode NodeAt(const WordPage& page, std::size_t n) {
  if (IsWordNode(n)) {
    const std::size_t word = n / kNodesPerWord;
    const int label = word < page.labels.size() ? page.labels[word] : static_cast<int>(word);
    return WordNode{texts::kWordNodePrefix + std::to_string(label), kWordClosed, kWordOpen,
                    NodeKind::kWord};
  }
  return WordNode{texts::kBitNodePrefix + std::to_string(BitOf(n)), kBitClosed, kBitOpen,
                  NodeKind::kBit};
}

void AddWordNode(WordPage& page, TClWEmcy word, int label) {
  page.words.push_back(std::move(word));
  page.labels.push_back(label);
}

int NextWordLabel(const WordPage& page) {
  return page.labels.empty() ? 0 : page.labels.back() + 1;
}

Status CheckWord(const WordPage& page, const WordFields& fields, std::optional<std::size_t> own) {
  if (fields.index_addrm.empty() || fields.subindex.empty() || fields.devid.empty())
    return Failure{texts::kIndexNotValid};
  for (std::size_t w = 0; w < page.words.size(); ++w) {
    if (own && *own == w)
      continue;
    if (SameTexts(page.words[w], fields))
      return Failure{texts::kIndexNotValid};
  }
  return Status::Ok();
}

std::optional<FieldFault> WordFieldsFault(const WordFields& fields) {
  std::vector<std::string> values = {fields.index_addrm, fields.subindex, fields.devid};
  const TableFields& rules = EmcyWordFields(Side::kA);
  for (std::size_t f = 0; f < values.size(); ++f) {
    if (values[f].empty())
      continue;
    if (std::optional<std::string> reason = FieldProblem(rules[f].rule, values[f]))
      return FieldFault{f, std::move(*reason)};
  }
  return std::nullopt;
}

std::optional<FieldFault> BitFieldsFault(const BitFields& fields) {
  return FirstFieldFault(EmcyBitFields(Side::kA),
                         {fields.b0, fields.b1, fields.emcyByte1, fields.emcyByte2});
}

Status NewWord(WordPage& page, const WordFields& fields) {
  if (Status free = CheckWord(page, fields, std::nullopt); !free)
    return free;
  TClWEmcy word;
  word.index_addrm = fields.index_addrm;
  word.subindex = fields.subindex;
  word.devid = fields.devid;
  AddWordNode(page, std::move(word), NextWordLabel(page));
  return Status::Ok();
}

std::string PackEmcyBytes(std::int32_t byte1, std::int32_t byte2) {
  // Unsigned arithmetic: any two 32-bit values pack without overflow.
  const std::uint32_t packed =
      (static_cast<std::uint32_t>(byte1) * 16u + static_cast<std::uint32_t>(byte2)) & 0xFFFFu;
  return std::to_string(packed);
}

std::pair<std::int32_t, std::int32_t> UnpackEmcyBytes(std::int32_t poscomp) {
  // Bits 0 to 3 are Emcy Byte 2, also for a negative value, so that the two shown numbers
  // pack back into the same 16 bits.
  return {(poscomp & 0xFFFF) / 16, poscomp & 15};
}

bool PoscompShowsWhole(std::int32_t poscomp) {
  const auto [byte1, byte2] = UnpackEmcyBytes(poscomp);
  return PackEmcyBytes(byte1, byte2) == std::to_string(poscomp);
}

std::optional<NodeShown> ShowNode(WordPage& page, std::size_t n) {
  if (n >= NodeCount(page))
    return std::nullopt;
  page.selected = n;
  const std::size_t word_position = n / kNodesPerWord;
  const TClWEmcy& word = page.words[word_position];
  NodeShown shown;
  shown.wordCaption = FormatText(texts::kWordGroupShown, {std::to_string(word_position)});
  shown.bitCaption = IsWordNode(n) ? texts::kBitGroup
                                   : FormatText(texts::kBitGroupShown, {std::to_string(BitOf(n))});
  shown.word = WordFields{word.index_addrm, word.subindex, word.devid};
  if (IsWordNode(n))
    return shown;
  const ClEbm& bit = word.ebm[static_cast<std::size_t>(BitOf(n))];
  shown.bit.b0 = bit.b0;
  shown.bit.b1 = bit.b1;
  // A bit made with New has no poscomp yet: nothing to show, nothing wrong.
  if (bit.poscomp.empty())
    return shown;
  const Result<std::int32_t> value = StrictInteger(bit.poscomp);
  if (!value) {
    shown.error = value.error();
    return shown;
  }
  const auto [byte1, byte2] = UnpackEmcyBytes(*value);
  shown.bit.emcyByte1 = std::to_string(byte1);
  shown.bit.emcyByte2 = std::to_string(byte2);
  return shown;
}

Status ModifyNode(WordPage& page, const WordFields& word, const BitFields& bit) {
  if (!page.selected || *page.selected >= NodeCount(page))
    return Status::Ok();
  const std::size_t n = *page.selected;
  TClWEmcy& target = page.words[n / kNodesPerWord];
  if (IsWordNode(n)) {
    if (Status free = CheckWord(page, word, n / kNodesPerWord); !free)
      return free;
    target.index_addrm = word.index_addrm;
    target.subindex = word.subindex;
    target.devid = word.devid;
    return Status::Ok();
  }
  const Result<std::int32_t> byte1 = StrictInteger(bit.emcyByte1);
  if (!byte1)
    return byte1.failure();
  const Result<std::int32_t> byte2 = StrictInteger(bit.emcyByte2);
  if (!byte2)
    return byte2.failure();
  ClEbm& stored = target.ebm[static_cast<std::size_t>(BitOf(n))];
  stored = ClEbm{bit.b0, bit.b1, PackEmcyBytes(*byte1, *byte2)};
  return Status::Ok();
}

void DeleteWord(WordPage& page) {
  if (!page.selected || *page.selected >= NodeCount(page) || !IsWordNode(*page.selected))
    return;
  const auto word = static_cast<std::ptrdiff_t>(*page.selected / kNodesPerWord);
  page.words.erase(page.words.begin() + word);
  page.labels.erase(page.labels.begin() + word);
  page.selected.reset();
}

}  // namespace quastor
