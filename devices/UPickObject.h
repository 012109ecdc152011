#pragma once
// TFPickObject ("Pick Object"): lists the objects of a device's EDS file, filtered by index or
// name, and picks one for an entry of the SDO table. The file chosen is copied into the
// project and remembered there, so the next showing opens it again. The caller sets ProjectDir
// and Direction, shows the window and, on OK, reads Picked(); OK refuses, saying why, an object
// whose access or size the entry cannot take, and the window stays open.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "devices/ObjectPick.h"
#include "platform/ui/QuastorDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace quastor {

struct UiServices;
class StringGrid;

class TFPickObject : public QuastorDialog {
  Q_OBJECT

 public:
  explicit TFPickObject(UiServices& services, QWidget* parent = nullptr);

  std::filesystem::path ProjectDir;
  // Whether the entry being filled reads or writes the object.
  AccessDirection Direction = AccessDirection::kRead;
  // What OK picked; nothing before.
  const std::optional<SdoFill>& Picked() const { return picked_; }

 public slots:
  void BChooseFileClick();
  void bitbtn1Click();

 protected:
  void FormShow() override;

 private:
  QLabel* LFile;             // the file shown, or that none is
  QPushButton* BChooseFile;  // "Choose EDS file…"
  QLabel* LFilter;
  QLineEdit* EFilter;
  StringGrid* sgObjects;  // the objects that pass the filter
  QPushButton* bitbtn1;   // OK
  QPushButton* bitbtn2;   // Cancel

  // Reads file and lists its objects; says why when it cannot be read.
  bool ShowFile(const std::filesystem::path& file);
  void ShowNone();
  // Lists the objects that pass the filter's text, the first one current.
  void ApplyFilter();

  UiServices& services_;
  std::vector<ObjectRow> rows_;
  std::vector<std::size_t> shown_;  // grid row -> rows_
  std::optional<SdoFill> picked_;
};

}  // namespace quastor
