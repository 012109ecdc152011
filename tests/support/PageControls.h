#pragma once
// The controls of one page (CAN A or CAN B) of the windows with two pages, found by their
// names: a page's names end in "A" or "B" (a few in lower case).

#include <array>
#include <iterator>
#include <string>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "canopen/EmcyTexts.h"
#include "canopen/UInfoPdo.h"
#include "canopen/UWemcy.h"
#include "canopen/Uemcy.h"
#include "tests/support/FindControl.h"

namespace quastor::test {

inline std::string OnSide(const char* name, Side side, const char* suffix = "") {
  return std::string(name) + (side == Side::kA ? "A" : "B") + suffix;
}

inline const char* Either(Side side, const char* a_name, const char* b_name) {
  return side == Side::kA ? a_name : b_name;
}

// The radio buttons of a group box, as one choice.
inline QButtonGroup* ItemsOf(QGroupBox* group) {
  auto* item = group->findChild<QRadioButton*>();
  if (item == nullptr || item->group() == nullptr) {
    ADD_FAILURE() << "no choice in " << group->objectName().toStdString();
    throw std::runtime_error("no choice in a group box");
  }
  return item->group();
}

struct EmcyPage {
  QListWidget* LBCan;
  std::array<QLineEdit*, emcy_texts::kRuleTextCount> edits;
  QCheckBox* enable;
  QGroupBox* alias;
  QButtonGroup* aliasItems;  // ids 0 to 8, the alias_pos values
  QPushButton* Delete;
  QPushButton* New;
  QPushButton* Modify;
};

inline EmcyPage Page(const TFemcy& window, Side side) {
  static constexpr const char* kEdits[] = {"Eid_dev",       "Emask_eq_ec",   "Emask_eq_er",
                                           "Emask_eq_m1",   "Emask_eq_m2",   "Emask_eq_m3",
                                           "Eenmask_eq_ec", "Eenmask_eq_er", "Eenmask_eq_m1",
                                           "Eenmask_eq_m2", "Eenmask_eq_m3"};
  static_assert(std::size(kEdits) == emcy_texts::kRuleTextCount);
  EmcyPage page{};
  page.LBCan = Find<QListWidget>(window, OnSide("LBCan", side).c_str());
  for (int k = 0; k < emcy_texts::kRuleTextCount; ++k)
    page.edits[k] = Find<QLineEdit>(window, OnSide(kEdits[k], side).c_str());
  page.enable = Find<QCheckBox>(window, Either(side, "enablea", "enableb"));
  page.alias = Find<QGroupBox>(window, OnSide("GBallias", side).c_str());
  page.aliasItems = ItemsOf(page.alias);
  page.Delete = Find<QPushButton>(window, OnSide("Delete", side).c_str());
  page.New = Find<QPushButton>(window, OnSide("New", side).c_str());
  page.Modify = Find<QPushButton>(window, OnSide("Modify", side).c_str());
  return page;
}

struct WemcyPage {
  QTreeWidget* TWCan;
  QGroupBox* GBword_emcy_bitmap;
  QLineEdit* Eindex_addrm;
  QLineEdit* Esubindex;
  QLineEdit* Edevid;
  QGroupBox* Gbebm;
  QLineEdit* Eb0;
  QLineEdit* Eb1;
  QLineEdit* Eposcomp;   // "Emcy byte 1"
  QLineEdit* Eposcomp2;  // "Emcy Byte 2"
  QPushButton* deleteButton;
  QPushButton* newButton;
  QPushButton* modify;
};

inline WemcyPage Page(const TFWemcy& window, Side side) {
  auto edit = [&](const char* name, const char* suffix = "") {
    return Find<QLineEdit>(window, OnSide(name, side, suffix).c_str());
  };
  WemcyPage page{};
  page.TWCan = Find<QTreeWidget>(window, OnSide("TWCan", side).c_str());
  page.GBword_emcy_bitmap = Find<QGroupBox>(window, OnSide("GBword_emcy_bitmap", side).c_str());
  page.Eindex_addrm = edit("Eindex_addrm");
  page.Esubindex = edit("Esubindex");
  page.Edevid = edit("Edevid");
  page.Gbebm = Find<QGroupBox>(window, OnSide("Gbebm", side).c_str());
  page.Eb0 = edit("Eb0");
  page.Eb1 = edit("Eb1");
  page.Eposcomp = edit("Eposcomp");
  page.Eposcomp2 = edit("Eposcomp", "2");
  page.deleteButton = Find<QPushButton>(window, Either(side, "deleteA", "deleteB"));
  page.newButton = Find<QPushButton>(window, Either(side, "newA", "newB"));
  page.modify = Find<QPushButton>(window, Either(side, "modifyA", "modifyB"));
  return page;
}

struct InfoPdoPage {
  QListWidget* LSdoCan;
  QListWidget* LPdoCan;
  QLineEdit* Eindex;
  QLineEdit* Esubindex;
  QGroupBox* PoscompMsb;
  QGroupBox* PoscompLsb;
  QButtonGroup* msbItems;  // ids 0 ("none") to 8 ("B8")
  QButtonGroup* lsbItems;
  QPushButton* Delete;
  QPushButton* New;
  QPushButton* Modify;
  QPushButton* Copy;
  QPushButton* Paste;
};

inline InfoPdoPage Page(const TFInfopdo& window, Side side) {
  InfoPdoPage page{};
  page.LSdoCan = Find<QListWidget>(window, OnSide("LSdoCan", side).c_str());
  page.LPdoCan = Find<QListWidget>(window, OnSide("LPdoCan", side).c_str());
  page.Eindex = Find<QLineEdit>(window, OnSide("Eindex", side).c_str());
  page.Esubindex = Find<QLineEdit>(window, OnSide("Esubindex", side).c_str());
  page.PoscompMsb = Find<QGroupBox>(window, OnSide("PoscompMsb", side).c_str());
  page.PoscompLsb = Find<QGroupBox>(window, OnSide("PoscompLsb", side).c_str());
  page.msbItems = ItemsOf(page.PoscompMsb);
  page.lsbItems = ItemsOf(page.PoscompLsb);
  page.Delete = Find<QPushButton>(window, Either(side, "DELETEa", "Deleteb"));
  page.New = Find<QPushButton>(window, Either(side, "NewA", "Newb"));
  page.Modify = Find<QPushButton>(window, Either(side, "ModifyA", "Modifyb"));
  page.Copy = Find<QPushButton>(window, Either(side, "copyA", "copyB"));
  page.Paste = Find<QPushButton>(window, Either(side, "PasteA", "PasteB"));
  return page;
}

}  // namespace quastor::test
