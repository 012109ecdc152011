#pragma once
// The EMCY editors' own words, shared by their windows, the command-line tool and the tests:
// attribute names, captions, labels, buttons and messages. The table names and the reading
// messages are those of every CANopen table (CanopenTexts.h).

namespace quastor::emcy_texts {

// New and Modify refuse an empty or repeated ID (rules) or word key (words).
inline constexpr char kIndexNotValid[] = "Index Not Valid";

// EMCY translation rules (emcydef.xml, window TFemcy).
inline constexpr char kRulesFileName[] = "emcydef.xml";
inline constexpr char kRulesCaption[] = "Set Traslate EMCY";
inline constexpr char kRulesPageA[] = "From CAN A";
inline constexpr char kRulesPageB[] = "From CAN B";
inline constexpr int kRuleTextCount = 11;
// The attributes of a rule in file order: the eleven texts, then the packed bypass_set.
inline constexpr const char* kRuleAttributes[] = {
    "id_dev",       "mask_eq_ec",   "mask_eq_er",   "mask_eq_m1",   "mask_eq_m2",   "mask_eq_m3",
    "enmask_eq_ec", "enmask_eq_er", "enmask_eq_m1", "enmask_eq_m2", "enmask_eq_m3", "bypass_set"};
inline constexpr int kBypassSetField = 11;
// The labels over the eleven edit fields (name, then the range that the label shows).
inline constexpr const char* kRuleLabels[] = {"ID_EMCY",
                                              "Mask_error_code",
                                              "MAsk_error_Reg",
                                              "Mask_Manu1",
                                              "Mask_Manu2",
                                              "Mask_Manu3",
                                              "Enabled_mask_error_code",
                                              "Enabled_mask_error_Reg",
                                              "Enabled_Mask_Manu1",
                                              "Enabled_Mask_Manu2",
                                              "Enabled_Mask_Manu3"};
inline constexpr const char* kRuleRanges[] = {
    "(1..127)",   "(0..65535)", "(0..255)",   "(0..65535)", "(0..65535)", "(0..255)",
    "(0..65535)", "(0..255)",   "(0..65535)", "(0..65535)", "(0..255)"};
inline constexpr char kEnableA[] = "Enabled_Traslate to CANB";
inline constexpr char kEnableB[] = "Enabled_Traslate to CANA";
inline constexpr char kAliasGroup[] = "Allias use";
// The three lines left of the radio buttons.
inline constexpr const char* kAliasLinesA[] = {"ID CANA EMCY ", "Traslate in", "CANB EMCY at:"};
inline constexpr const char* kAliasLinesB[] = {"ID CANB EMCY ", "Traslate in", "CANA EMCY at:"};
// The radio buttons top to bottom, one per alias_pos value 0 to 8, with their names on side A
// (side B's end in "b").
inline constexpr int kAliasCount = 9;
inline constexpr const char* kAliasNamesA[] = {"r1a", "r2a", "r3a", "r9a", "r4a",
                                               "r5a", "r6a", "r7a", "r8a"};
inline constexpr const char* kAliasNamesB[] = {"r1b", "r2b", "r3b", "r9b", "r4b",
                                               "r5b", "r6b", "r7b", "r8b"};
inline constexpr char kNoTranslateA[] = "No traslate ID CANA";
inline constexpr char kNoTranslateB[] = "No traslate ID CANB";
// Captions of the values 1 to 8, the same on both sides.
inline constexpr const char* kAliasCaptions[] = {
    "Error code byte  HIGH", "Error code byte LOW", "Error Reg",      "Manu1 byte HIGH",
    "Manu1 byte LOW",        "Manu2 byte HIGH",     "Manu2 byte LOW", "Manu3"};
inline constexpr char kDeleteRule[] = "Delete EMCY";
inline constexpr char kNewRule[] = "New EMCY";
inline constexpr char kModifyRule[] = "Modify EMCY";

// EMCY word definitions (emcyword.xml, window TFWemcy).
inline constexpr char kWordsFileName[] = "emcyword.xml";
inline constexpr char kWordsCaption[] = "Define EMCY Word";
inline constexpr char kWordsPageA[] = "CanA";
inline constexpr char kWordsPageB[] = "CanB";
inline constexpr char kIndexAttribute[] = "index_addrm";
inline constexpr char kSubindexAttribute[] = "subindex";
inline constexpr char kSideAttribute[] = "extdata";
inline constexpr char kDevidAttribute[] = "devid";
// Each bit j has the attributes "bit" + j + one of these.
inline constexpr char kBitPrefix[] = "bit";
inline constexpr const char* kBitSuffixes[] = {"_b0", "_b1", "_poscomp"};
// Labels of the word fields on page CanA and page CanB.
inline constexpr const char* kWordLabelsA[] = {"Index SDO BUS B", "Subindex SDO BUS B",
                                               "ID EMCY BUS A"};
inline constexpr const char* kWordLabelsB[] = {"Index SDO BUS A", "Subindex SDO BUS A",
                                               "ID EMCY BUS B"};
inline constexpr char kMaskByte1[] = "Mask Byte 1";
inline constexpr char kMaskByte2A[] = "Mask byte 2";
inline constexpr char kMaskByte2B[] = "Mask Byte 2";
inline constexpr char kEmcyByte1[] = "Emcy byte 1";
inline constexpr char kEmcyByte2[] = "Emcy Byte 2";
// The groups' captions before the first node is shown, and as showing a node sets them.
inline constexpr char kWordGroup[] = "Word n°  Emcy Define";
inline constexpr char kBitGroup[] = "Mask BIT n°  Define";
inline constexpr char kWordGroupShown[] = "Word n°%d Emcy Define ";
inline constexpr char kBitGroupShown[] = "Mask BIT n°%d Define";
inline constexpr char kDeleteWord[] = "Delete";
inline constexpr char kNewWord[] = "New";
inline constexpr char kModifyWord[] = "Modify";
// Node texts: "W" and the word's label number, "Bit" and the bit's index.
inline constexpr char kWordNodePrefix[] = "W";
inline constexpr char kBitNodePrefix[] = "Bit";

// Words whose side code is neither 0 nor 1 are not shown; told at load and asked before OK.
inline constexpr char kWordsSkipped[] =
    "Records of %s whose extdata is neither 0 (CanA) nor 1 (CanB) are not shown: %s.";

}  // namespace quastor::emcy_texts
