#pragma once
// The window both frame info tables share (TF_Rec_Info and TF_Sen_Info): the frames of the
// direction's frame list in ListBox1 and, for the selected frame, eight byte rows Panel1 to
// Panel8 with the edits Edit1 to Edit8; rows beyond the frame's length are disabled and say
// "Not in use" (Label19 to Label26). An edit's value is checked when the edit loses the focus
// (and on OK); the send window also stores a valid value at every change of the text. Each
// value stored is a change of the window's editor frame, which can be taken back.

#include <array>
#include <optional>

#include <QSize>

#include "j1939/FrameInfo.h"
#include "platform/FileStamp.h"
#include "platform/ui/EditorFrame.h"
#include "platform/ui/ShowPlace.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quastor {

struct AppState;
struct UiServices;

class FrameInfoDialog : public EditorFrame {
  Q_OBJECT

 public:
  // The frames as the edits have stored them so far.
  const FrameInfoTable& Table() const { return table_; }
  // The next showing opens at a frame (from 0), chosen, with the edit of its byte (from 0)
  // focused when the byte is in use; each -1 where not known.
  void ShowAt(int frame, int byte);

 public slots:
  // Shows the selected frame's byte rows.
  void ListBox1Click();
  // OK: the edits, CheckBytes (receive), the question after a partial load, then the file.
  void bitbtn1Click();

 protected:
  FrameInfoDialog(const AppState& state, UiServices& services, FrameDirection direction,
                  const char* name, QSize size, QWidget* parent);

  void FormShow() override;
  std::string TableName() const override;
  void GoToPlace(const ShowPlace& at) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QListWidget* ListBox1;
  QPushButton* bitbtn1;                       // OK
  QPushButton* bitbtn2;                       // Cancel
  std::array<QWidget*, kFrameBytes> Panels;   // Panel1 to Panel8
  std::array<QLineEdit*, kFrameBytes> Edits;  // Edit1 to Edit8
  std::array<QLabel*, kFrameBytes> NotInUse;  // Label19 to Label26

  TFrameInfoRec* Selected();
  // The frames and the selected one: what a change replaces.
  struct Shown {
    FrameInfoTable table;
    int row = -1;
  };
  void Show(const Shown& shown);
  // Stores value at position k of the selected frame; a new value is a change of the window.
  void Store(int k, std::uint8_t value);
  // Edit k (1 to 8) lost the focus: stores its value, or tells why not and takes the focus
  // back.
  void EditExit(int k);
  // The text of edit k changed (send): a valid value is stored, nothing is said yet.
  void EditChange(int k);
  // Shows the message for edit k and gives the edit the focus back.
  void TellRefused(int k);
  // Stores every enabled edit of the selected frame; false after telling the first invalid one.
  bool StoreEdits();
  bool AskBeforeWriting();

  const AppState& state_;
  UiServices& services_;
  FrameDirection direction_;
  FrameInfoTable table_;
  LoadReport report_;     // what the window does not show of the files
  ReadStamps stamps_;     // the info file as the show read it
  bool telling_ = false;  // a message about an edit is up: its focus changes are no exits
};

}  // namespace quastor
