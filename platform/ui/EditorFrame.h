#pragma once
// The frame every table editor shares: it keeps the changes made since the window was shown
// (Ctrl+Z takes one back, Ctrl+Y makes it again), asks before Escape, Cancel or the close box
// throw changes away, and starts the focus in the current page's table rather than on one of
// its buttons. An editor names its table and records the changes of its own model; its grids
// record theirs through the frame. Its status line, at the bottom, says what the last action
// did; what OK did is also told to whoever opened the window, since the window closes then.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/UndoList.h"
#include "platform/ui/QuastorDialog.h"
#include "platform/ui/ShowPlace.h"

class QLabel;
class QPushButton;

namespace quastor {

class MessageService;
class StringGrid;

class EditorFrame : public QuastorDialog {
  Q_OBJECT

 public:
  EditorFrame(MessageService& messages, QWidget* parent, Qt::WindowFlags flags);

  // True while a change made in the window is in force.
  bool HasChanges() const { return changes_.Changed(); }
  bool Undo() { return changes_.Undo(); }
  bool Redo() { return changes_.Redo(); }

  // Hears what OK wrote (the text the status line would show).
  void SetReporter(std::function<void(const std::string&)> reporter) {
    reporter_ = std::move(reporter);
  }

 public slots:
  // With changes, asks first; No keeps the window open.
  void reject() override;

 protected:
  // The status line; each editor places it at the bottom of its layout.
  QLabel* StatusLine() const { return statusLine_; }
  // The table, as its file is named, for the question before changes are thrown away.
  virtual std::string TableName() const = 0;

  // The grid's edits join the window's changes, and its messages are the window's.
  void Attach(StringGrid* grid);
  // A change of the editor's model that was just made: undo and redo put the states back.
  void RecordChange(std::function<void()> undo, std::function<void()> redo);
  // A change: before and after are whole states of the editor's model, and show puts one in
  // force and shows it.
  template <class State>
  void RecordStates(State before, State after, std::function<void(const State&)> show) {
    RecordChange([show, before] { show(before); }, [show, after] { show(after); });
  }

  // Shows text on the status line.
  void Say(const std::string& text);
  // After OK wrote the file: the status line and the reporter hear text.
  void SayAndReport(const std::string& text);
  // Before an import replaces the rows the table holds: true when it holds none, else the
  // answer to the question (No is the default).
  bool AskReplace(std::size_t held, std::size_t imported, const std::string& sheet);
  // What is shown is what the file holds now (a write that keeps the window open).
  void ForgetChanges() { changes_.Clear(); }

  // The next showing opens the window at place, once it has filled the window: the page is
  // turned to (a place without a valid page opens the first page, as a plain showing would),
  // then GoToPlace chooses the row and the field on it.
  void OpenAtNextShow(const ShowPlace& place) { place_ = place; }
  virtual void GoToPlace(const ShowPlace& at) { static_cast<void>(at); }

  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  // The grid of the page shown, or none when the page has no grid.
  StringGrid* CurrentGrid() const;

 private:
  MessageService& messages_;
  UndoList changes_;
  QLabel* statusLine_;
  std::function<void(const std::string&)> reporter_;
  std::optional<ShowPlace> place_;
};

}  // namespace quastor
