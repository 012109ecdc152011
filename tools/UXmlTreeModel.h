#pragma once
// The XML tool's tree as a Qt item model over the core tree: one column, the items' shown
// texts, and the image of each item's kind. Only the rows a view asks for are made, so a
// file of 100,000 elements shows at once.

#include <QAbstractItemModel>
#include <QIcon>

#include <array>

#include "tools/XmlTree.h"

namespace quastor {

class XmlTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // The index of the item's image in the image list (kind times two).
  static constexpr int kImageIndexRole = Qt::UserRole + 1;

  explicit XmlTreeModel(QObject* parent = nullptr);

  // Replaces the whole tree in one reset, so that a view redraws once.
  void SetTree(XmlItemTree tree);
  const XmlItemTree& Tree() const { return tree_; }
  // The tree item an index stands for, or -1.
  int ItemOf(const QModelIndex& index) const;
  // Changes an item's text; kind and image stay.
  void SetShownText(const QModelIndex& index, const std::string& shown);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  XmlItemTree tree_;
  std::array<QIcon, 5> icons_;
};

}  // namespace quastor
