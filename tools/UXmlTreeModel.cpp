#include "tools/UXmlTreeModel.h"

#include "platform/ui/QtText.h"
#include "tools/UXmlImages.h"

namespace quastor {

XmlTreeModel::XmlTreeModel(QObject* parent) : QAbstractItemModel(parent) {
  for (std::size_t kind = 0; kind < icons_.size(); ++kind)
    icons_[kind] = XmlKindIcon(static_cast<XmlNodeKind>(kind));
}

void XmlTreeModel::SetTree(XmlItemTree tree) {
  beginResetModel();
  tree_ = std::move(tree);
  endResetModel();
}

int XmlTreeModel::ItemOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

void XmlTreeModel::SetShownText(const QModelIndex& index, const std::string& shown) {
  const int item = ItemOf(index);
  if (item < 0)
    return;
  tree_.SetShownText(item, shown);
  emit dataChanged(index, index);
}

QModelIndex XmlTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0)
    return {};
  if (!parent.isValid())
    return row == 0 && !tree_.Empty() ? createIndex(0, 0, quintptr(0)) : QModelIndex();
  const int item = ItemOf(parent);
  if (row >= tree_.ChildCount(item))
    return {};
  return createIndex(row, 0, static_cast<quintptr>(tree_.Child(item, row)));
}

QModelIndex XmlTreeModel::parent(const QModelIndex& child) const {
  const int item = ItemOf(child);
  if (item <= 0)
    return {};
  const int parent = tree_.Parent(item);
  return createIndex(tree_.Row(parent), 0, static_cast<quintptr>(parent));
}

int XmlTreeModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid())
    return tree_.Empty() ? 0 : 1;
  if (parent.column() != 0)
    return 0;
  return tree_.ChildCount(ItemOf(parent));
}

int XmlTreeModel::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant XmlTreeModel::data(const QModelIndex& index, int role) const {
  const int item = ItemOf(index);
  if (item < 0)
    return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
      return Q(tree_.ShownText(item));
    case Qt::DecorationRole:
      return icons_[static_cast<std::size_t>(tree_.Kind(item))];
    case kImageIndexRole:
      return ImageIndex(tree_.Kind(item));
    default:
      return {};
  }
}

Qt::ItemFlags XmlTreeModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace quastor
