#include "platform/ui/EditorFrame.h"

#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QShowEvent>
#include <QTabWidget>

#include "platform/DoneReport.h"
#include "platform/EditorTexts.h"
#include "platform/Text.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/StringGrid.h"
#include "platform/ui/Widgets.h"

namespace quastor {

EditorFrame::EditorFrame(MessageService& messages, QWidget* parent, Qt::WindowFlags flags)
    : QuastorDialog(parent, flags), messages_(messages), statusLine_(NewStatusLine(this)) {
  // Anywhere in the window; an edit line that has focus keeps the keys for its own text.
  auto* undo = new QShortcut(QKeySequence::Undo, this);
  connect(undo, &QShortcut::activated, this, [this] { Undo(); });
  QList<QKeySequence> redo_keys = QKeySequence::keyBindings(QKeySequence::Redo);
  if (!redo_keys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)))
    redo_keys << QKeySequence(Qt::CTRL | Qt::Key_Y);
  auto* redo = new QShortcut(this);
  redo->setKeys(redo_keys);
  connect(redo, &QShortcut::activated, this, [this] { Redo(); });
  // Find works from anywhere in the window, on the grid of the page shown.
  auto* find = new QShortcut(QKeySequence::Find, this);
  connect(find, &QShortcut::activated, this, [this] {
    if (StringGrid* grid = CurrentGrid())
      grid->StartFind();
  });
  auto* again = new QShortcut(QKeySequence(Qt::Key_F3), this);
  connect(again, &QShortcut::activated, this, [this] {
    if (StringGrid* grid = CurrentGrid())
      grid->FindAgain();
  });
}

StringGrid* EditorFrame::CurrentGrid() const {
  auto* notebook = findChild<QTabWidget*>();
  const QWidget* page = notebook != nullptr ? notebook->currentWidget() : this;
  return page != nullptr ? page->findChild<StringGrid*>() : nullptr;
}

void EditorFrame::Attach(StringGrid* grid) {
  grid->SetUndoList(&changes_);
  grid->SetMessages(&messages_);
}

void EditorFrame::RecordChange(std::function<void()> undo, std::function<void()> redo) {
  changes_.Add({std::move(undo), std::move(redo)});
}

void EditorFrame::Say(const std::string& text) {
  SetStatusText(statusLine_, Q(text));
}

void EditorFrame::SayAndReport(const std::string& text) {
  Say(text);
  if (reporter_)
    reporter_(text);
}

bool EditorFrame::AskReplace(std::size_t held, std::size_t imported, const std::string& sheet) {
  return held == 0 || messages_.Ask(ReplaceRowsQuestion(held, TableName(), imported, sheet));
}

void EditorFrame::reject() {
  if (IsBusy())
    return;
  if (HasChanges() && !messages_.Ask(FormatText(editor_texts::kDiscardChanges, {TableName()})))
    return;
  QuastorDialog::reject();
}

void EditorFrame::done(int result) {
  QuastorDialog::done(result);
  changes_.Clear();
}

// Every showing starts from the file, with nothing to take back, and with the focus in the
// current page's grid, or on the page tabs where the page has none (a list given the focus
// would choose its first item): a key pressed at once never reaches a Delete button.
void EditorFrame::showEvent(QShowEvent* event) {
  QuastorDialog::showEvent(event);
  if (event->spontaneous())
    return;
  changes_.Clear();
  Say({});
  auto* notebook = findChild<QTabWidget*>();
  if (StringGrid* grid = CurrentGrid())
    grid->setFocus(Qt::OtherFocusReason);
  else if (notebook != nullptr)
    notebook->setFocus(Qt::OtherFocusReason);
  const std::optional<ShowPlace> at = TakePlace(place_);
  if (!at)
    return;
  if (notebook != nullptr) {
    const bool on_a_page = Within(at->page, notebook->count());
    notebook->setCurrentIndex(on_a_page ? at->page : 0);
    if (StringGrid* grid = CurrentGrid())
      grid->setFocus(Qt::OtherFocusReason);
    if (!on_a_page)
      return;
  }
  GoToPlace(*at);
}

}  // namespace quastor
