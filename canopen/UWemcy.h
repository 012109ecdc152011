#pragma once
// TFWemcy ("Define EMCY Word"): per side the EMCY words as a tree, one word node and its 16
// bit nodes per word, with the chosen word's SDO entry and node ID and the chosen bit's masks
// and EMCY byte numbers; kept in emcyword.xml. The window draws the trees from the model of
// EmcyWords.h and maps its edits to and from it.

#include <array>
#include <cstddef>
#include <optional>

#include <QIcon>
#include <QPixmap>

#include "canopen/EmcyWords.h"
#include "platform/FileStamp.h"
#include "platform/LoadReport.h"
#include "platform/ui/EditorFrame.h"
#include "platform/ui/ShowPlace.h"

class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace quastor {

struct AppState;
struct UiServices;

class TFWemcy : public EditorFrame {
  Q_OBJECT

 public:
  TFWemcy(const AppState& state, UiServices& services, QWidget* parent = nullptr);

  const WordModel& Model() const { return model_; }
  // The absolute position of a node of the page's tree.
  std::size_t PositionOf(Side side, QTreeWidgetItem* item) const;
  // The next showing opens at a word: the page of side (0 CanA, 1 CanB), the word's node (from
  // 0) chosen and the edit of its field (EmcyWordFields) focused, each -1 where not known.
  void ShowAt(int side, int word, int field);

 public slots:
  void BitBtn1Click();
  void BitBtn4Click();
  void Button1Click();
  // One handler per action for both pages; the page is the side whose control raised it.
  void TWCanAChange(Side side);
  void newBClick(Side side);
  void modifyBClick(Side side);
  void deleteBClick(Side side);

 protected:
  void FormShow() override;
  std::string TableName() const override;
  void GoToPlace(const ShowPlace& at) override;

 private:
  // The image list: the four node pictures, made when the window is created.
  std::array<QPixmap, 4> Large;
  QTabWidget* Notebook;
  QPushButton* bitbtn1;  // OK
  QPushButton* bitbtn2;  // Cancel
  QPushButton* button1;  // Export
  QPushButton* bitbtn4;  // Import

  // The controls of one page; page CanA's names end in A, page CanB's in B.
  struct PageControls {
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
  const PageControls& Controls(Side side) const { return pages_[static_cast<int>(side)]; }

  // The trees' model and what they do not show of the file: what a change replaces.
  using Shown = std::pair<WordModel, LoadReport>;
  // Records the change from before to what the window holds now.
  void Record(Shown before);
  void Show(const Shown& shown);
  void FormCreate();
  QWidget* BuildPage(Side side);
  // Empties both trees (no node selected) and the edits of both pages.
  void ClearPages();
  // The word at list position `position` of the side as a word node with its 16 bit nodes.
  QTreeWidgetItem* AddWordNode(Side side, std::size_t position) const;
  // Both trees rebuilt from the model.
  void ShowTrees();
  void ShowNode(std::size_t n, Side side);
  void ModifyNode(std::size_t n, Side side);
  // New's and Modify's check of the word fields or the bit fields: the first refused one is
  // told and gets the focus.
  bool WordAccepted(Side side, const WordFields& fields);
  bool BitAccepted(Side side, const BitFields& fields);

  const AppState& state_;
  UiServices& services_;
  std::array<PageControls, 2> pages_{};
  std::array<QIcon, 2> icons_;  // word and bit node, each with its selected picture
  WordModel model_;
  LoadReport gaps_;    // what the trees do not show of the file
  ReadStamps stamps_;  // the file as the show read it
  bool showing_ = false;
};

}  // namespace quastor
