#pragma once
// The parts both device file windows are built of: a line that names the file shown, with the
// button that chooses another, and a list of read-only columns whose rows are chosen whole.

#include <cstddef>

#include <QAbstractItemView>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace quastor {

class StringGrid;

struct FileRow {
  QHBoxLayout* layout;
  QLabel* file;         // named LFile
  QPushButton* choose;  // named BChooseFile; Enter does not press it
};
FileRow NewFileRow(const char* no_file, const char* choose, QWidget* parent);

// A list named name with count columns of the titles and widths given, without row numbers,
// its last column stretched to the list's edge.
StringGrid* NewRowList(const char* name, const char* const* titles, const int* widths,
                       std::size_t count, QAbstractItemView::SelectionMode selection,
                       QWidget* parent);

}  // namespace quastor
