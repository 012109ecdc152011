#pragma once
// TFInfopdo ("Define Store PDO"): per side the PDOs of the PDO translation table and, for the
// chosen PDO, the SDO entries where the gateway stores its bytes; kept in sdopdo.xml. The
// window maps its list boxes, edits and radio groups to the model of StoredPdo.h.

#include <array>
#include <filesystem>
#include <optional>

#include "canopen/StoredPdo.h"
#include "platform/FileStamp.h"
#include "platform/LoadReport.h"
#include "platform/ui/EditorFrame.h"
#include "platform/ui/ShowPlace.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace quastor {

struct AppState;
struct UiServices;

class TFInfopdo : public EditorFrame {
  Q_OBJECT

 public:
  TFInfopdo(const AppState& state, UiServices& services, QWidget* parent = nullptr);

  const StoredPdoModel& Model() const { return model_; }
  // The next showing opens at an SDO entry: the page of side (0 CAN A, 1 CAN B), the PDO and
  // the entry in its list (each from 0) chosen and the edit of its field (StoredPdoFields)
  // focused, each -1 where not known.
  void ShowAt(int side, int pdo, int entry, int field);

 public slots:
  void BitBtn1Click();
  void BitBtn4Click();
  void Button1Click();
  // One handler per action for both pages; the page is the side whose control raised it.
  void LPdoCanAClick(Side side);
  void LSdoCanAClick(Side side);
  void DeleteAClick(Side side);
  void NewAClick(Side side);
  void ModifyAClick(Side side);
  void CopyAClick(Side side);
  void PasteAClick(Side side);

 protected:
  void FormShow() override;
  std::string TableName() const override;
  void GoToPlace(const ShowPlace& at) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTabWidget* Notebook;
  QPushButton* LbButton1;  // OK
  QPushButton* bitbtn2;    // Cancel
  QPushButton* button1;    // Export
  QPushButton* bitbtn4;    // Import

  // The controls of one page; page CanA's names end in A, page CanB's in B.
  struct PageControls {
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
  const PageControls& Controls(Side side) const { return pages_[static_cast<int>(side)]; }

  // The lists' model and what they do not show of the file: what a change replaces.
  using Shown = std::pair<StoredPdoModel, LoadReport>;
  // Records the change from before to what the window holds now.
  void Record(Shown before);
  void Show(const Shown& shown);
  QWidget* BuildPage(Side side);
  SdoEdits EditsShown(Side side) const;
  // New's and Modify's check of the index and subindex: the first refused one is told and
  // gets the focus.
  bool EditsAccepted(Side side);
  void ShowEdits(Side side, const EditsToShow& edits);
  void SetChoice(QButtonGroup* group, int item);
  void ClearEdits(Side side);
  // Puts the page's list boxes in line with the model, without raising their handlers.
  void ShowLists(Side side);
  void ShowAll(const std::vector<std::string>& messages);

  const AppState& state_;
  UiServices& services_;
  std::array<PageControls, 2> pages_{};
  StoredPdoModel model_;
  LoadReport gaps_;
  ReadStamps stamps_;                       // the file as the show read it
  std::array<SdoClipboard, 2> clipboards_;  // kept for the whole run
  bool showing_ = false;
  bool reclicked_ = false;  // the mouse pressed on the item already chosen
};

}  // namespace quastor
