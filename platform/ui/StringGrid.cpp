#include "platform/ui/StringGrid.h"

#include <algorithm>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>

#include "platform/EditorTexts.h"
#include "platform/GridSort.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "platform/ui/WidgetTexts.h"

namespace quastor {

StringGridModel::StringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void StringGridModel::SetColumns(std::vector<GridColumn> columns) {
  beginResetModel();
  columns_ = std::move(columns);
  for (auto& row : rows_)
    row.assign(columns_.size(), std::string());
  endResetModel();
}

void StringGridModel::Reset(int count, int first_number) {
  beginResetModel();
  rows_.assign(static_cast<std::size_t>(std::max(0, count)),
               std::vector<std::string>(columns_.size()));
  order_.clear();
  firstNumber_ = first_number;
  endResetModel();
}

void StringGridModel::SetRows(const GridRows& rows) {
  if (!order_.empty())
    SetViewOrder({});
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    auto& row = rows_[r];
    if (r < rows.size()) {
      row = rows[r];
      row.resize(columns_.size());
    } else {
      row.assign(columns_.size(), std::string());
    }
  }
  // The shape stays: a change of data, not a reset, so that the headers keep their measures.
  if (!rows_.empty() && !columns_.empty())
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void StringGridModel::SetCell(int row, int column, const std::string& text) {
  rows_[row][column] = text;
  const QModelIndex at = index(row, column);
  emit dataChanged(at, at);
}

int StringGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int StringGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant StringGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid())
    return {};
  const GridColumn& column = columns_[index.column()];
  const std::string& text = rows_[StoredRow(index.row())][index.column()];
  switch (role) {
    case Qt::DisplayRole:
      return column.checkBox ? QVariant() : QVariant(Q(text));
    case Qt::EditRole:
      return Q(text);
    case Qt::CheckStateRole:
      if (column.checkBox)
        return text == column.checkedText ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::BackgroundRole:
      return column.background.isValid() ? QVariant(column.background) : QVariant();
    default:
      return {};
  }
}

bool StringGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid())
    return false;
  std::string text;
  const GridColumn& column = columns_[index.column()];
  if (role == Qt::CheckStateRole && column.checkBox) {
    text = value.toInt() == Qt::Checked ? column.checkedText : column.uncheckedText;
  } else if (role == Qt::EditRole) {
    text = S(value.toString());
  } else {
    return false;
  }
  return !StoreCells({{StoredRow(index.row()), index.column(), std::move(text)}});
}

std::optional<std::size_t> StringGridModel::StoreCells(const std::vector<CellText>& cells) {
  auto changes = std::make_shared<std::vector<CellChange>>();
  changes->reserve(cells.size());
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const CellText& cell = cells[i];
    std::string text = cell.text;
    if (hook_) {
      std::optional<std::string> accepted = hook_(cell.row, cell.column, text);
      if (!accepted)
        return i;
      text = std::move(*accepted);
    }
    // A cell that keeps its text (an edit confirmed without typing, a paste of the same text)
    // changes nothing, so it is no step to undo and no change to ask about on Cancel.
    if (text == rows_[cell.row][cell.column])
      continue;
    changes->push_back({cell.row, cell.column, rows_[cell.row][cell.column], std::move(text)});
  }
  if (changes->empty())
    return std::nullopt;
  Apply(*changes, true);
  if (undo_ != nullptr) {
    const auto revisit = [this, changes](bool forward) {
      Apply(*changes, forward);
      emit ChangeRevisited(changes->front().row, changes->front().column);
    };
    undo_->Add({[revisit] { revisit(false); }, [revisit] { revisit(true); }});
  }
  return std::nullopt;
}

void StringGridModel::Apply(const std::vector<CellChange>& changes, bool forward) {
  int top = rowCount(), left = columnCount(), bottom = -1, right = -1;
  // Going back runs the changes in reverse, so that a cell changed twice ends as it began.
  const auto put = [&](const CellChange& change) {
    rows_[change.row][change.column] = forward ? change.after : change.before;
    top = std::min(top, change.row);
    bottom = std::max(bottom, change.row);
    left = std::min(left, change.column);
    right = std::max(right, change.column);
  };
  if (forward)
    std::for_each(changes.begin(), changes.end(), put);
  else
    std::for_each(changes.rbegin(), changes.rend(), put);
  if (bottom < 0)
    return;
  if (!order_.empty()) {  // the stored rows are spread over the view
    top = 0;
    bottom = rowCount() - 1;
  }
  emit dataChanged(index(top, left), index(bottom, right));
  for (const CellChange& change : changes)
    emit CellEdited(change.row, change.column);
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const GridColumn& column = columns_[index.column()];
  if (column.editable)
    flags |= column.checkBox ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
  return flags;
}

QVariant StringGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Horizontal)
    return section < static_cast<int>(columns_.size()) ? Q(columns_[section].title) : QVariant();
  return QString::number(firstNumber_ + StoredRow(section));
}

int StringGridModel::ViewRow(int stored_row) const {
  if (order_.empty())
    return stored_row;
  const auto at = std::find(order_.begin(), order_.end(), stored_row);
  return at == order_.end() ? stored_row : static_cast<int>(at - order_.begin());
}

void StringGridModel::SortForView(int column, bool ascending) {
  if (column < 0 || column >= columnCount())
    return;
  SetViewOrder(ViewOrder(rows_, column, ascending));
}

void StringGridModel::SetViewOrder(std::vector<int> order) {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<int> stored;
  stored.reserve(static_cast<std::size_t>(before.size()));
  for (const QModelIndex& at : before)
    stored.push_back(StoredRow(at.row()));
  order_ = std::move(order);
  std::vector<int> shown_at(rows_.size());
  for (int v = 0; v < rowCount(); ++v)
    shown_at[static_cast<std::size_t>(StoredRow(v))] = v;
  QModelIndexList after;
  after.reserve(before.size());
  for (int i = 0; i < before.size(); ++i)
    after << index(shown_at[static_cast<std::size_t>(stored[static_cast<std::size_t>(i)])],
                   before[i].column());
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

namespace {

// Draws a check-box column's box in the middle of the cell and toggles it by a click on the
// box, or by the space key.
class CentredCheckDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QWidget* widget = cell.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    cell.features &= ~QStyleOptionViewItem::HasCheckIndicator;
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    QStyleOptionViewItem box(option);
    box.rect = BoxRect(option, index);
    box.state &= ~QStyle::State_HasFocus;
    box.state |= Checked(index) ? QStyle::State_On : QStyle::State_Off;
    style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, widget);
  }

  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
    const Qt::ItemFlags flags = index.flags();
    if (!flags.testFlag(Qt::ItemIsUserCheckable) || !flags.testFlag(Qt::ItemIsEnabled))
      return false;
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton ||
            !BoxRect(option, index).contains(mouse->position().toPoint()))
          return false;
        if (event->type() != QEvent::MouseButtonRelease)
          return true;  // the release toggles
        break;
      }
      case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
          return false;
        break;
      }
      default:
        return false;
    }
    return model->setData(index, Checked(index) ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
  }

 private:
  static bool Checked(const QModelIndex& index) {
    return index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
  }
  static QRect BoxRect(const QStyleOptionViewItem& option, const QModelIndex&) {
    const QWidget* widget = option.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget),
                     style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widget));
    return QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
  }
};

}  // namespace

StringGrid::StringGrid(QWidget* parent)
    : QTableView(parent), model_(this), checkDelegate_(new CentredCheckDelegate(this)) {
  setModel(&model_);
  // Rows of one fixed height: the grid never measures 1,500 rows.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(20);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  model_.SetUndoList(undo_);
  connect(&model_, &StringGridModel::ChangeRevisited, this, &StringGrid::ShowChange);
  setWordWrap(false);
  // The corner button is the view's only direct button child.
  corner_ = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
  if (corner_ != nullptr)
    corner_->installEventFilter(this);
}

void StringGrid::SetNumberTitle(const QString& title) {
  numberTitle_ = title;
  viewport()->update();
}

void StringGrid::Setup(std::vector<GridColumn> columns, int count, int first_number) {
  std::vector<int> widths;
  for (const auto& column : columns)
    widths.push_back(column.width);
  model_.SetColumns(std::move(columns));
  model_.Reset(count, first_number);
  if (count > 0 && !model_.Columns().empty())
    setCurrentIndex(model_.index(0, 0));
  for (std::size_t i = 0; i < widths.size(); ++i) {
    setColumnWidth(static_cast<int>(i), widths[i]);
    const bool box = model_.Columns()[i].checkBox;
    setItemDelegateForColumn(static_cast<int>(i), box ? checkDelegate_ : nullptr);
  }
}

void StringGrid::SetAllColumnWidths(int width) {
  for (int i = 0; i < model_.columnCount(); ++i)
    setColumnWidth(i, width);
}

// The corner above the numbers shows the number column's title, drawn as a header section.
bool StringGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched != corner_ || event->type() != QEvent::Paint || numberTitle_.isEmpty())
    return QTableView::eventFilter(watched, event);
  QWidget* corner = corner_;
  QPainter painter(corner);
  QStyleOptionHeader option;
  option.initFrom(corner);
  option.rect = corner->rect();
  option.text = numberTitle_;
  option.textAlignment = Qt::AlignCenter;
  option.position = QStyleOptionHeader::OnlyOneSection;
  corner->style()->drawControl(QStyle::CE_Header, &option, &painter, corner);
  return true;
}

void StringGrid::SetPickHook(int column, PickHook pick) {
  if (pick)
    picks_[column] = std::move(pick);
  else
    picks_.erase(column);
}

bool StringGrid::PickInto(const QModelIndex& cell) {
  if (!cell.isValid())
    return false;
  const auto hook = picks_.find(cell.column());
  if (hook == picks_.end())
    return false;
  // A copy: the hook may show a window that sets the hooks again.
  const PickHook pick = hook->second;
  const std::optional<std::string> text = pick();
  return text && model_.setData(cell, Q(*text), Qt::EditRole);
}

void StringGrid::SetRowPick(const std::string& caption, const QKeySequence& key, RowPickHook pick) {
  rowPick_ = {Q(caption), key, std::move(pick)};
}

bool StringGrid::PickRow(int view_row) {
  if (!rowPick_.pick || view_row < 0 || view_row >= model_.rowCount())
    return false;
  const int row = model_.StoredRow(view_row);
  // A copy: the hook may show a window that sets the hooks again.
  const RowPickHook pick = rowPick_.pick;
  const std::optional<std::vector<CellFill>> fills =
      pick(model_.Rows()[static_cast<std::size_t>(row)]);
  if (!fills || fills->empty())
    return false;
  std::vector<StringGridModel::CellText> cells;
  for (const CellFill& fill : *fills) {
    if (fill.column >= 0 && fill.column < model_.columnCount())
      cells.push_back({row, fill.column, fill.text});
  }
  if (const std::optional<std::size_t> refused = model_.StoreCells(cells)) {
    const StringGridModel::CellText& cell = cells[*refused];
    Tell(FormatText(editor_texts::kFillRefused,
                    {cell.text, std::to_string(model_.FirstNumber() + cell.row),
                     model_.Columns()[cell.column].title}));
    return false;
  }
  return true;
}

QMenu* StringGrid::NewContextMenu(const QModelIndex& cell) {
  const bool pick_cell = picks_.count(cell.column()) != 0;
  if (!cell.isValid() || (!pick_cell && !rowPick_.pick))
    return nullptr;
  auto* menu = new QMenu(this);
  const QPersistentModelIndex at(cell);
  if (pick_cell) {
    QAction* pick = menu->addAction(QString::fromUtf8(widget_texts::kPickString));
    pick->setShortcut(QKeySequence(kPickKey));
    connect(pick, &QAction::triggered, this, [this, at] { PickInto(at); });
  }
  if (rowPick_.pick) {
    QAction* pick = menu->addAction(rowPick_.caption);
    pick->setShortcut(rowPick_.key);
    connect(pick, &QAction::triggered, this, [this, at] { PickRow(at.row()); });
  }
  return menu;
}

void StringGrid::contextMenuEvent(QContextMenuEvent* event) {
  const QModelIndex cell = indexAt(viewport()->mapFromGlobal(event->globalPos()));
  QMenu* menu = NewContextMenu(cell);
  if (menu == nullptr) {
    QTableView::contextMenuEvent(event);
    return;
  }
  setCurrentIndex(cell);
  menu->exec(event->globalPos());
  delete menu;
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  if (SpreadsheetKey(event))
    return;
  if (event->key() == kPickKey && event->modifiers() == Qt::NoModifier &&
      picks_.count(currentIndex().column()) != 0) {
    PickInto(currentIndex());
    return;
  }
  if (rowPick_.pick && currentIndex().isValid() &&
      QKeySequence(event->keyCombination()) == rowPick_.key) {
    PickRow(currentIndex().row());
    return;
  }
  QTableView::keyPressEvent(event);
}

}  // namespace quastor
