// The string grid's spreadsheet habits: the keys, the clipboard, clearing, finding and the
// drawn current cell.

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTabWidget>

#include "platform/EditorTexts.h"
#include "platform/Text.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/StringGrid.h"

namespace quastor {
namespace {

namespace texts = editor_texts;

// Taken by the find line itself: Enter looks, Escape closes the line.
class FindLineKeys : public QObject {
 public:
  FindLineKeys(StringGrid* grid, QLineEdit* line) : QObject(line), grid_(grid), line_(line) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != line_ || event->type() != QEvent::KeyPress)
      return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      const std::string text = S(line_->text());
      line_->hide();
      grid_->setFocus();
      grid_->FindText(text);
      return true;
    }
    if (key == Qt::Key_Escape) {
      line_->hide();
      grid_->setFocus();
      return true;
    }
    return false;
  }

 private:
  StringGrid* grid_;
  QLineEdit* line_;
};

}  // namespace

void StringGrid::SetUndoList(UndoList* undo) {
  undo_ = undo != nullptr ? undo : &ownUndo_;
  model_.SetUndoList(undo_);
}

void StringGrid::Tell(const std::string& text) {
  if (messages_ != nullptr) {
    messages_->Plain(text);
    return;
  }
  QtMessageService(S(QApplication::applicationDisplayName())).Plain(text);
}

CellRange StringGrid::SelectedRange() const {
  const QModelIndexList cells = selectionModel()->selectedIndexes();
  if (cells.isEmpty()) {
    const QModelIndex at = currentIndex();
    return at.isValid() ? CellRange{at.row(), at.column(), at.row(), at.column()} : CellRange{};
  }
  CellRange range{cells.front().row(), cells.front().column(), cells.front().row(),
                  cells.front().column()};
  for (const QModelIndex& cell : cells) {
    range.top = std::min(range.top, cell.row());
    range.bottom = std::max(range.bottom, cell.row());
    range.left = std::min(range.left, cell.column());
    range.right = std::max(range.right, cell.column());
  }
  return range;
}

std::string StringGrid::CopyText() const {
  const CellRange range = SelectedRange();
  if (range.Height() <= 0 || range.Width() <= 0)
    return {};
  if (!model_.SortedForView())
    return RangeText(model_.Rows(), range);
  TextRows rows;
  for (int r = range.top; r <= range.bottom; ++r)
    rows.push_back(model_.Rows()[static_cast<std::size_t>(model_.StoredRow(r))]);
  return RangeText(rows, CellRange{0, range.left, range.Height() - 1, range.right});
}

TextRows StringGrid::ViewRows() const {
  TextRows rows;
  rows.reserve(model_.Rows().size());
  for (int r = 0; r < model_.rowCount(); ++r)
    rows.push_back(model_.Rows()[static_cast<std::size_t>(model_.StoredRow(r))]);
  return rows;
}

bool StringGrid::PasteText(const std::string& text) {
  const TextRows block = ParseRangeText(text);
  const QModelIndex at = currentIndex();
  if (block.empty() || !at.isValid())
    return false;
  CellPlace from{at.row(), at.column()};
  int height = static_cast<int>(block.size());
  int width = static_cast<int>(block.front().size());
  // One value pasted over a selection of several cells fills each selected cell, as
  // spreadsheets do; any other range goes from the current cell on.
  const bool fill = height == 1 && width == 1 && selectionModel()->selectedIndexes().size() > 1;
  if (fill) {
    const CellRange range = SelectedRange();
    from = {range.top, range.left};
    height = range.Height();
    width = range.Width();
  }
  if (const Status fits = PasteFits(model_.rowCount(), model_.columnCount(), from, height, width);
      !fits) {
    Tell(fits.error());
    return false;
  }
  std::vector<StringGridModel::CellText> cells;
  cells.reserve(static_cast<std::size_t>(height) * static_cast<std::size_t>(width));
  for (int r = 0; r < height; ++r) {
    const int row = model_.StoredRow(from.row + r);
    for (int c = 0; c < width; ++c) {
      const int column = from.column + c;
      if (!model_.Columns()[column].editable)
        continue;  // a column the user cannot type in keeps its text
      if (fill && !selectionModel()->isSelected(model_.index(from.row + r, column)))
        continue;  // a cell between the selected ones keeps its text
      cells.push_back({row, column, fill ? block.front().front() : block[r][c]});
    }
  }
  if (const std::optional<std::size_t> refused = model_.StoreCells(cells)) {
    const StringGridModel::CellText& cell = cells[*refused];
    Tell(FormatText(texts::kPasteRefused,
                    {cell.text, std::to_string(model_.FirstNumber() + cell.row),
                     model_.Columns()[cell.column].title}));
    return false;
  }
  if (!fill) {
    const QModelIndex last = model_.index(from.row + height - 1, from.column + width - 1);
    selectionModel()->select(QItemSelection(at, last), QItemSelectionModel::ClearAndSelect);
  }
  return true;
}

void StringGrid::ClearSelected() {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  const QModelIndexList cells =
      selected.isEmpty() && currentIndex().isValid() ? QModelIndexList{currentIndex()} : selected;
  std::vector<StringGridModel::CellText> cleared;
  for (const QModelIndex& cell : cells) {
    const GridColumn& column = model_.Columns()[cell.column()];
    if (!column.editable)
      continue;
    cleared.push_back(
        {model_.StoredRow(cell.row()), cell.column(), column.checkBox ? column.uncheckedText : ""});
  }
  model_.StoreCells(cleared);
}

bool StringGrid::FindText(const std::string& text) {
  lastFind_ = text;
  const QModelIndex at = currentIndex();
  const CellPlace after = at.isValid() ? CellPlace{at.row(), at.column()} : CellPlace{0, -1};
  const std::optional<CellPlace> found = model_.SortedForView()
                                             ? FindNext(ViewRows(), after, text)
                                             : FindNext(model_.Rows(), after, text);
  if (!found) {
    if (!text.empty())
      Tell(FormatText(texts::kNotFound, {text}));
    return false;
  }
  const QModelIndex cell = model_.index(found->row, found->column);
  setCurrentIndex(cell);
  scrollTo(cell);
  return true;
}

void StringGrid::StartFind() {
  if (findLine_ == nullptr) {
    findLine_ = new QLineEdit(this);
    findLine_->setObjectName("findLine");
    findLine_->setPlaceholderText(QString::fromUtf8(texts::kFindPrompt));
    findLine_->installEventFilter(new FindLineKeys(this, findLine_));
  }
  findLine_->setText(Q(lastFind_));
  PlaceFindLine();
  findLine_->show();
  findLine_->raise();
  findLine_->setFocus();
  findLine_->selectAll();
}

void StringGrid::FindAgain() {
  if (lastFind_.empty())
    StartFind();
  else
    FindText(lastFind_);
}

void StringGrid::SetSortable(bool sortable) {
  QHeaderView* header = horizontalHeader();
  header->setSectionsClickable(sortable);
  header->setSortIndicatorShown(sortable);
  header->setSortIndicator(-1, Qt::AscendingOrder);
  disconnect(header, &QHeaderView::sectionClicked, this, nullptr);
  if (!sortable)
    return;
  // A heading sorts instead of selecting its column.
  disconnect(header, &QHeaderView::sectionPressed, this, nullptr);
  disconnect(header, &QHeaderView::sectionEntered, this, nullptr);
  connect(header, &QHeaderView::sectionClicked, this, [this, header](int column) {
    // The first click sorts up; a click on the same heading again turns the order round.
    const bool again = model_.SortedForView() && header->sortIndicatorSection() == column &&
                       header->sortIndicatorOrder() == Qt::AscendingOrder;
    model_.SortForView(column, !again);
    header->setSortIndicator(column, again ? Qt::DescendingOrder : Qt::AscendingOrder);
    scrollTo(currentIndex());  // the current cell moved with its row
  });
  // Rows read again are shown as stored, and the heading says so.
  connect(&model_, &QAbstractItemModel::layoutChanged, header, [this, header] {
    if (!model_.SortedForView())
      header->setSortIndicator(-1, Qt::AscendingOrder);
  });
}

void StringGrid::ShowChange(int row, int column) {
  for (QWidget* page = this; page->parentWidget() != nullptr; page = page->parentWidget()) {
    QWidget* stack = page->parentWidget();
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    if (tabs != nullptr && tabs->indexOf(page) >= 0)
      tabs->setCurrentWidget(page);
  }
  const QModelIndex cell = model_.index(model_.ViewRow(row), column);
  setCurrentIndex(cell);
  scrollTo(cell);
}

void StringGrid::PlaceFindLine() {
  if (findLine_ == nullptr)
    return;
  const QRect area = viewport()->geometry();
  const int height = findLine_->sizeHint().height();
  findLine_->setGeometry(area.left(), area.bottom() - height + 1, std::min(area.width(), 240),
                         height);
}

void StringGrid::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  PlaceFindLine();
}

bool StringGrid::SpreadsheetKey(QKeyEvent* event) {
  if (state() == EditingState) {
    // Enter ends the edit, which the editor commits; it never reaches the window's OK.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      event->accept();
      return true;
    }
    return false;
  }
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(Q(CopyText()));
  } else if (event->matches(QKeySequence::Paste)) {
    PasteText(S(QApplication::clipboard()->text()));
  } else if (event->matches(QKeySequence::Undo)) {
    undo_->Undo();
  } else if (event->matches(QKeySequence::Redo) ||
             (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
    undo_->Redo();
  } else if (event->matches(QKeySequence::Find)) {
    StartFind();
  } else if (event->key() == Qt::Key_F3 && event->modifiers() == Qt::NoModifier) {
    FindAgain();
  } else if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) &&
             event->modifiers() == Qt::NoModifier) {
    ClearSelected();
  } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
             currentIndex().isValid() &&
             std::any_of(model_.Columns().begin(), model_.Columns().end(),
                         [](const GridColumn& column) { return column.editable; })) {
    // Enter moves down, as in a spreadsheet; a grid that cannot be typed in keeps it for the
    // window (a chooser's OK).
    const QModelIndex at = currentIndex();
    const int row = std::min(at.row() + 1, model_.rowCount() - 1);
    setCurrentIndex(model_.index(row, at.column()));
  } else {
    return false;
  }
  event->accept();
  return true;
}

// The current cell is framed even while the grid has no focus, so that paste and find show
// where they act.
void StringGrid::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  const QModelIndex at = currentIndex();
  if (!at.isValid())
    return;
  const QRect cell = visualRect(at);
  if (!cell.isValid() || !viewport()->rect().intersects(cell))
    return;
  QPainter painter(viewport());
  QPen pen(palette().color(QPalette::Text));
  pen.setWidth(2);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(cell.adjusted(1, 1, -1, -1));
}

}  // namespace quastor
