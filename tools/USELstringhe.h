#pragma once
// TFSELstringhe ("Select String"): lists the first 1,000 strings of an XML strings file by
// index and lets the user pick one. The caller sets StringsFilePath, shows the dialog and, on
// OK, reads SelectedIndex (or SelectedString); the index is kept for the run and preselects
// the row of the last choice.

#include <filesystem>
#include <string>

#include "platform/ui/QuastorDialog.h"

class QLabel;
class QPushButton;

namespace quastor {

struct UiServices;
class StringGrid;

class TFSELstringhe : public QuastorDialog {
  Q_OBJECT

 public:
  explicit TFSELstringhe(UiServices& services, QWidget* parent = nullptr);

  // Full path of the strings file; empty names none.
  std::filesystem::path StringsFilePath;
  // 0-based index of the chosen string.
  int SelectedIndex = 0;
  // The string at SelectedIndex as the grid shows it.
  std::string SelectedString() const;

 public slots:
  // The user selected a cell in grid row row (string row - 1 counted with the heading row).
  void sgSelectCell(int row);

 protected:
  void FormShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  StringGrid* sg;
  QPushButton* bitbtn1;  // OK
  QPushButton* bitbtn2;  // Cancel
  QLabel* Label1;

  // The index column 40 pixels wide, the string column the grid's width less 70.
  void FormResize();

  UiServices& services_;
};

}  // namespace quastor
