#pragma once
// The EMCY word definitions (window TFWemcy) as a model: per side the list of words and the
// tree that mirrors it, one word node followed by its 16 bit nodes per word, so that the node
// at absolute position n belongs to word n / 17 and is its word node (n % 17 == 0) or bit
// n % 17 - 1. New, Modify and Delete are operations here; the window draws the tree from
// NodeAt and maps its edits to and from these values.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "canopen/SideGrids.h"
#include "canopen/TableFields.h"
#include "platform/Result.h"

namespace quastor {

inline constexpr int kWordBits = 16;
inline constexpr std::size_t kNodesPerWord = 17;

// One bit of a word: two mask bytes and the two EMCY byte numbers packed in poscomp (bits 4 to
// 15 "Emcy byte 1", bits 0 to 3 "Emcy Byte 2"). poscomp stays empty until the bit is modified.
struct ClEbm {
  std::string b0;
  std::string b1;
  std::string poscomp;
};

// One word; its texts are kept as typed or read.
struct TClWEmcy {
  std::string index_addrm;  // SDO index on the other side
  std::string subindex;     // SDO subindex on the other side
  std::string devid;        // node ID of the EMCY producer
  std::array<ClEbm, kWordBits> ebm;
  XmlAttributeList kept;  // the record's attributes that the table does not know
};

// The pictures of the nodes: a word is a folder marked W, a bit a register, each closed and,
// when selected, open.
enum NodeImage { kWordClosed = 0, kWordOpen = 1, kBitClosed = 2, kBitOpen = 3 };
enum class NodeKind { kWord, kBit };

struct WordNode {
  std::string text;  // "W" + label number, or "Bit" + bit index
  int image = kWordClosed;
  int selectedImage = kWordOpen;
  NodeKind kind = NodeKind::kWord;
};

struct WordPage {
  std::vector<TClWEmcy> words;
  std::vector<int> labels;              // the label number of each word's node, in list order
  std::optional<std::size_t> selected;  // absolute position of the selected node
};

struct WordModel {
  WordPage pageA;  // "CanA"
  WordPage pageB;  // "CanB"
  WordPage& page(Side side) { return side == Side::kA ? pageA : pageB; }
  const WordPage& page(Side side) const { return side == Side::kA ? pageA : pageB; }
};

// The three word fields of a page, and the four bit fields.
struct WordFields {
  std::string index_addrm;
  std::string subindex;
  std::string devid;
};
struct BitFields {
  std::string b0;
  std::string b1;
  std::string emcyByte1;
  std::string emcyByte2;
};

// The number of nodes of the page's tree, and the node at absolute position n.
std::size_t NodeCount(const WordPage& page);
WordNode NodeAt(const WordPage& page, std::size_t n);

// Appends the word with its nodes (AddWordNode of the tree): the word node labelled
// "W" + label, then Bit0 to Bit15.
void AddWordNode(WordPage& page, TClWEmcy word, int label);

// The label of a word made with New: the last word node's number plus 1, 0 for an empty tree.
// Labels are never renumbered, so after Delete they may differ from the list positions.
int NextWordLabel(const WordPage& page);

// The uniqueness test of New (own empty) and of Modify of a word node (own: its list
// position): an empty text, or the same three texts as another word of the side, is refused
// with "Index Not Valid". Texts are compared as texts: 0x2000 and 8192 differ.
Status CheckWord(const WordPage& page, const WordFields& fields, std::optional<std::size_t> own);

// The first of the word fields that EmcyWordFields refuses (an empty one is CheckWord's), and
// the first of the bit fields that EmcyBitFields refuses, as New and Modify take them.
std::optional<FieldFault> WordFieldsFault(const WordFields& fields);
std::optional<FieldFault> BitFieldsFault(const BitFields& fields);

// New: after CheckWord appends a word of the three texts with 16 empty bits; the selection
// stays.
Status NewWord(WordPage& page, const WordFields& fields);

// What showing node n puts on the page. Both pages' group captions change.
struct NodeShown {
  std::string wordCaption;  // "Word n°" + word position + " Emcy Define "
  std::string bitCaption;   // "Mask BIT n°" + bit index + " Define"; the design caption for a word
  WordFields word;
  BitFields bit;      // all empty for a word node
  std::string error;  // a poscomp that does not read; its two EMCY byte fields are empty
};

// Selects node n (past the tree: nothing) and tells what the page shows. An empty poscomp
// shows two empty EMCY byte fields and no error.
std::optional<NodeShown> ShowNode(WordPage& page, std::size_t n);

// "Emcy byte 1" × 16 + "Emcy Byte 2", truncated to 16 bits, in decimal; and the two parts of a
// poscomp value, which bytes 0 to 4095 and 0 to 15 survive unchanged.
std::string PackEmcyBytes(std::int32_t byte1, std::int32_t byte2);
std::pair<std::int32_t, std::int32_t> UnpackEmcyBytes(std::int32_t poscomp);
// Whether the two fields that show poscomp pack back into the same value (0 to 65535), so that
// the bit shows what the file holds.
bool PoscompShowsWhole(std::int32_t poscomp);

// Modify of the selected node, nothing without one. A word node: CheckWord with its own
// position, then the three texts are stored (the node's label stays). A bit node: both EMCY
// byte fields must read as integers; only then are b0, b1 and the packed poscomp stored
// together, so that a refusal changes nothing.
Status ModifyNode(WordPage& page, const WordFields& word, const BitFields& bit);

// Delete: only with a word node selected; removes the word and its nodes. Nothing is selected
// afterwards.
void DeleteWord(WordPage& page);

}  // namespace quastor
