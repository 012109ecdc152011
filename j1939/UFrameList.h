#pragma once
// The window both frame lists share (TFSetVar and TFSetPdo): the grid sga of 16 numbered frame
// rows and the strip with OK and Cancel, in the frame every table editor shares. Each showing
// fills the grid from the direction's list file; OK checks the rows, asks before it writes a
// file that was not shown whole, writes it and closes.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QSize>

#include "j1939/FrameImport.h"
#include "j1939/FrameList.h"
#include "platform/FileStamp.h"
#include "platform/ui/EditorFrame.h"
#include "platform/ui/ShowPlace.h"
#include "platform/ui/StringGrid.h"

class QPushButton;

namespace quastor {

struct AppState;
struct UiServices;

class FrameListDialog : public EditorFrame {
  Q_OBJECT

 public:
  // The frames' mnemonics, the last column, can be picked from a list that pick shows.
  void SetStringPicker(StringGrid::PickHook pick);
  // The frame rows as they stand: 16 rows of columns 1 to 5.
  FrameRows RowsShown() const;
  // The next showing opens at this cell: the grid row (from 0) and the column, each -1 where
  // not known.
  void ShowAt(int row, int column);

  // Where the button captioned caption (named "bitbtnImport", shown once a source is given)
  // takes frames from: a chooser that answers the frames, or nothing to leave the list as it is.
  using FrameSource = std::function<std::optional<std::vector<ImportedFrame>>()>;
  void SetFrameSource(const std::string& caption, FrameSource source);
  // Fills the next rows that hold nothing with frames, as one change; says how many were
  // placed and, when the list ran out of rows, how many did not fit.
  void ImportFrames(const std::vector<ImportedFrame>& frames);

 public slots:
  // OK: CheckRows, then the question after a partial load, then the file.
  void bitbtn1Click();

 protected:
  // What sets the two lists' windows apart besides the columns.
  struct Look {
    const char* name;
    QSize size;
    int rowHeight;
    bool horizontalScrollBar;
    const char* okName;
    const char* cancelName;
  };
  FrameListDialog(const AppState& state, UiServices& services, FrameDirection direction,
                  const Look& look, QWidget* parent);
  // A row emptied by the user is no frame any more: what it kept goes.
  void RowEdited(int row);

  void FormShow() override;
  std::string TableName() const override;
  void GoToPlace(const ShowPlace& at) override;
  // Shows the message of the first failing check, its cell selected; false then.
  bool CheckRows();

  StringGrid* sga;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
  QPushButton* importButton_;

 private:
  const AppState& state_;
  UiServices& services_;
  FrameDirection direction_;
  LoadReport report_;   // what the grid does not show of the file
  FrameRowsKept kept_;  // per row, its attributes as read; a row emptied has none
  ReadStamps stamps_;   // the file as the show read it
  FrameSource frameSource_;
};

}  // namespace quastor
