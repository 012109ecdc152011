#pragma once
// TFDbcImport ("Import from DBC"): lists the messages of a network's DBC file that a frame
// list can hold (name, PGN, source address, length) and says which it leaves out and why; the
// user selects one or more. The caller sets ProjectDir (where the file chooser starts), shows
// the window and, on OK, reads Chosen(). The file stays chosen for the run.

#include <filesystem>
#include <vector>

#include "devices/DbcFrames.h"
#include "platform/ui/QuastorDialog.h"

class QLabel;
class QPushButton;

namespace quastor {

struct UiServices;
class StringGrid;

class TFDbcImport : public QuastorDialog {
  Q_OBJECT

 public:
  explicit TFDbcImport(UiServices& services, QWidget* parent = nullptr);

  std::filesystem::path ProjectDir;
  // The messages selected when OK was clicked, in file order.
  const std::vector<DbcFrame>& Chosen() const { return chosen_; }

 public slots:
  void BChooseFileClick();
  void bitbtn1Click();

 protected:
  void FormShow() override;

 private:
  QLabel* LFile;
  QPushButton* BChooseFile;  // "Choose DBC file…"
  StringGrid* sgMessages;
  QLabel* LLeftOut;      // the messages not listed, with their reasons
  QPushButton* bitbtn1;  // OK
  QPushButton* bitbtn2;  // Cancel

  bool ShowFile(const std::filesystem::path& file);
  void ShowFrames(const DbcFrames& frames);

  UiServices& services_;
  std::filesystem::path file_;         // the file shown; empty before one is chosen
  std::filesystem::path fileProject_;  // the project the file was chosen in
  std::vector<DbcFrame> frames_;
  std::vector<DbcFrame> chosen_;
};

}  // namespace quastor
