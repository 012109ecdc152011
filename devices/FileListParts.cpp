#include "devices/FileListParts.h"

#include <vector>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

#include "platform/ui/StringGrid.h"
#include "platform/ui/Widgets.h"

namespace quastor {

FileRow NewFileRow(const char* no_file, const char* choose, QWidget* parent) {
  FileRow row{new QHBoxLayout, NewLabel(QString::fromUtf8(no_file), "LFile", parent),
              NewButton(QString::fromUtf8(choose), "BChooseFile", parent)};
  row.choose->setAutoDefault(false);
  row.layout->addWidget(row.file, 1);
  row.layout->addWidget(row.choose);
  return row;
}

StringGrid* NewRowList(const char* name, const char* const* titles, const int* widths,
                       std::size_t count, QAbstractItemView::SelectionMode selection,
                       QWidget* parent) {
  std::vector<GridColumn> columns;
  for (std::size_t i = 0; i < count; ++i) {
    GridColumn column;
    column.title = titles[i];
    column.width = widths[i];
    column.editable = false;
    columns.push_back(column);
  }
  auto* list = Named(new StringGrid(parent), name);
  list->Setup(columns, 0);
  list->verticalHeader()->hide();
  list->horizontalHeader()->setStretchLastSection(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(selection);
  return list;
}

}  // namespace quastor
