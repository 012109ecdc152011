#pragma once
// TFemcy ("Set Traslate EMCY"): per side the EMCY translation rules, listed by their IDs, and
// the chosen rule's masks, translation switch and ID position; kept in emcydef.xml. The
// window maps its list boxes, edits, check boxes and radio buttons to the model of
// EmcyRules.h.

#include <array>
#include <optional>

#include "canopen/EmcyRules.h"
#include "platform/FileStamp.h"
#include "platform/LoadReport.h"
#include "platform/ui/EditorFrame.h"
#include "platform/ui/ShowPlace.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quastor {

struct AppState;
struct UiServices;

class TFemcy : public EditorFrame {
  Q_OBJECT

 public:
  TFemcy(const AppState& state, UiServices& services, QWidget* parent = nullptr);

  const EmcyModel& Model() const { return model_; }
  // The next showing opens at a rule: the page of side (0 CAN A, 1 CAN B), the rule's item in
  // the list (from 0) chosen and the edit of its field (EmcyRuleFields) focused, each -1 where
  // not known.
  void ShowAt(int side, int row, int field);

 public slots:
  void BitBtn1Click();
  void BitBtn4Click();
  void Button1Click();
  // One handler per action for both pages; the page is the side whose control raised it.
  void LBCanAClick(Side side);
  void NewAClick(Side side);
  void ModifyAClick(Side side);
  void DeleteAClick(Side side);

 protected:
  void FormShow() override;
  std::string TableName() const override;
  void GoToPlace(const ShowPlace& at) override;

 private:
  QTabWidget* Notebook;
  QPushButton* bitbtn1;  // OK
  QPushButton* bitbtn2;  // Cancel
  QPushButton* button1;  // Export
  QPushButton* bitbtn4;  // Import

  // The controls of one page; page "From CAN A"'s names end in A (some in a), page "From CAN
  // B"'s in B.
  struct PageControls {
    QListWidget* LBCan;
    // Eid_dev, Emask_eq_ec … Emask_eq_m3, Eenmask_eq_ec … Eenmask_eq_m3, in the rule's order.
    std::array<QLineEdit*, emcy_texts::kRuleTextCount> edits;
    QCheckBox* enable;
    QGroupBox* alias;
    QButtonGroup* aliasItems;  // ids 0 to 8, the alias_pos values
    QPushButton* Delete;
    QPushButton* New;
    QPushButton* Modify;
  };
  const PageControls& Controls(Side side) const { return pages_[static_cast<int>(side)]; }

  // The lists' model and what they do not show of the file: what a change replaces.
  using Shown = std::pair<EmcyModel, LoadReport>;
  // Records the change from before to what the window holds now.
  void Record(Shown before);
  void Show(const Shown& shown);
  QWidget* BuildPage(Side side);
  QGroupBox* BuildAliasGroup(Side side, QWidget* page);
  // Empties the lists of both pages, their edits and check boxes, and checks "No traslate".
  void ClearPages();
  // Puts the list box in line with the model, without raising its handler.
  void ShowList(Side side);
  // The chosen rule of each page in its fields.
  void ShowChosenRules();
  void ShowFields(Side side, const RuleFields& fields);
  RuleFields FieldsShown(Side side) const;
  // New's and Modify's check of the fields: the first refused one is told and gets the focus.
  bool FieldsAccepted(Side side);

  const AppState& state_;
  UiServices& services_;
  std::array<PageControls, 2> pages_{};
  EmcyModel model_;
  LoadReport gaps_;    // what the lists do not show of the file
  ReadStamps stamps_;  // the file as the show read it
  bool showing_ = false;
};

}  // namespace quastor
