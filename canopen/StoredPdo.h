#pragma once
// The stored PDO definitions (window TFInfopdo) as a model: per side the PDOs of the PDO
// translation table, each with its stored SDO entries, and what the page's list boxes show.
// Every button of a page is an operation here; the window maps list boxes, edits and radio
// groups to and from these values and shows the failures.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "canopen/SideGrids.h"
#include "canopen/TableFields.h"
#include "platform/Result.h"

namespace quastor {

// One stored SDO entry; in the SDO access list of a side only index and subindex are used.
struct TClSdo {
  TClSdo() = default;
  TClSdo(std::string index_text, std::string subindex_text, std::string poscomp_text)
      : index(std::move(index_text)),
        subindex(std::move(subindex_text)),
        poscomp(std::move(poscomp_text)) {}
  std::string index;      // as typed or read
  std::string subindex;   // as typed or read
  std::string poscomp;    // decimal 16 × high-byte choice + low-byte choice
  XmlAttributeList kept;  // the record's attributes that the table does not know
};

// One PDO of a side: its cobid text (also its label), its 1-based number among the side's
// PDOs in file order, and its stored SDO entries in entry order.
struct TClPdo {
  TClPdo(std::string cobid_text, std::int32_t pdo_number)
      : cobid(std::move(cobid_text)), number(pdo_number) {}
  std::string cobid;
  std::int32_t number;
  std::vector<TClSdo> sdoList;
};

// The two byte choices of a poscomp: 0 "none", 1 to 8 "B1" to "B8"; -1 selects no item.
struct PoscompChoice {
  int high = 0;
  int low = 0;
};

// 16 × high + low as decimal text; a choice of -1 (no item selected) counts as "none".
std::string ComposePoscomp(PoscompChoice choice);
// The choices of a poscomp text: high (value >> 4) & 15, low value & 15; a half above 8 has no
// radio item and gives -1. Fails with "'%s' is not a valid integer value".
Result<PoscompChoice> SplitPoscomp(std::string_view poscomp);

// Why a stored poscomp cannot stand on the page as it is: a text that is not a number (choosing
// the entry fails with the number conversion's message), or a value other than 16 x high + low
// with both choices 0 to 8 (the radio groups then show other choices than the file holds, or
// none). Nothing when the page shows it whole.
std::optional<std::string> PoscompProblem(std::string_view poscomp);

// What a page's edits and radio groups hold.
struct SdoEdits {
  std::string index;
  std::string subindex;
  PoscompChoice choice;
};

// What the window puts into the edits and radio groups: the texts always, the radio groups
// only when the poscomp reads (else the failure is shown and the groups stay).
struct EditsToShow {
  std::string index;
  std::string subindex;
  Result<PoscompChoice> choice = PoscompChoice{};
};

// A page's clipboard: empty until its first Copy, kept for the whole run.
struct SdoClipboard {
  std::string index;
  std::string subindex;
  std::string poscomp;
  bool copied = false;
};

// One page: the side's PDOs, its SDO access entries for the collision test, and the state of
// its list boxes (the PDO chosen, the labels of the SDO list box, the entry chosen).
struct StoredPdoPage {
  std::vector<TClPdo> pdos;
  std::vector<TClSdo> sdoTable;
  std::optional<std::size_t> selectedPdo;
  std::vector<std::string> sdoLabels;
  std::optional<std::size_t> selectedSdo;
  Side side = Side::kA;  // also the SDO access table's side whose entries sdoTable holds
};

struct StoredPdoModel {
  StoredPdoPage pageA;                                                // "CanA"
  StoredPdoPage pageB = StoredPdoPage{{}, {}, {}, {}, {}, Side::kB};  // "CanB"
  StoredPdoPage& page(Side side) { return side == Side::kA ? pageA : pageB; }
  const StoredPdoPage& page(Side side) const { return side == Side::kA ? pageA : pageB; }
};

// The PDO list box's labels: the cobid texts.
std::vector<std::string> PdoLabels(const StoredPdoPage& page);

// Choosing a PDO: its entries labelled "Sdo0", "Sdo1", …, no entry chosen. The window empties
// the edits and sets both radio groups to "none".
void ChoosePdo(StoredPdoPage& page, std::size_t pdo);

// Choosing an entry of the chosen PDO: what the edits and radio groups show.
EditsToShow ChooseSdo(StoredPdoPage& page, std::size_t entry);

// Refuses edits whose index and subindex equal, as numbers, an entry of the side's SDO access
// table ("Index or Subindex Not Valid,Sdo Already Exists") or a stored entry of any PDO of the
// side other than `modified` (PDO, entry) ("Index or Subindex Not Valid"). Values that are
// not numbers fail with "'%s' is not a valid integer value".
Status CollisionTest(const StoredPdoPage& page, const SdoEdits& edits,
                     std::optional<std::pair<std::size_t, std::size_t>> modified);

// The first of the edits' index and subindex that StoredPdoFields refuses, as New and Modify
// refuse it (the window names it by StoredPdoFields of its side).
std::optional<FieldFault> SdoEditsFault(const SdoEdits& edits);

// New SDO: nothing without a chosen PDO. After the collision test appends the entry, adds the
// label "Sdo" + the label count before it and chooses it. Labels are not renumbered after a
// Delete, so a label may repeat, as the list box always showed them. A radio group without a
// checked item (the entry shown holds a half above 8) keeps that half of the entry shown.
Status NewSdo(StoredPdoPage& page, const SdoEdits& edits);

// Modify SDO: nothing without a chosen entry. After the collision test (the entry itself
// excluded) overwrites the entry; labels stay. A radio group without a checked item keeps that
// half of the entry's poscomp (both: its text), rather than writing "none". The entry keeps
// the attributes its record kept.
Status ModifySdo(StoredPdoPage& page, const SdoEdits& edits);

// Delete SDO: nothing without a chosen entry. Removes the entry and its label; the other
// labels keep their numbers; no entry is chosen afterwards. The edits keep their values.
void DeleteSdo(StoredPdoPage& page);

// Copy SDO: the edits as the page's clipboard (a half without a checked item as New takes it).
SdoClipboard CopySdo(const StoredPdoPage& page, const SdoEdits& edits);

// Paste SDO: the clipboard's texts, and its poscomp split; nothing before the first Copy, so
// that the edits are not wiped by an empty clipboard.
std::optional<EditsToShow> PasteSdo(const SdoClipboard& clipboard);

}  // namespace quastor
