#pragma once
// TFModifyFileSx: generates the project's firmware file New_sx4375.sx from the installed
// firmware file and the project's bank images, then starts the flash programmer with it.

#include "platform/ui/QuastorDialog.h"

#include "update/FirmwareGeneration.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quastor {

struct AppState;
struct UiServices;

class TFModifyFileSx : public QuastorDialog {
  Q_OBJECT

 public:
  TFModifyFileSx(const AppState& state, UiServices& services, QWidget* parent = nullptr);

  // Whether bank n's (1 to 5) check box carries the red mark of a bank not found.
  bool Marked(int bank) const;

 public slots:
  void LbButton1Click();
  void LbButton2Click();
  void NewFileSxChange();

 protected:
  void FormShow() override;

 private:
  QGroupBox* GbBank;
  QCheckBox* Cbbank[kBankCount];  // Cbbank1 to Cbbank5
  QComboBox* cbport;
  QProgressBar* Avanzamento;
  QLineEdit* NewFileSx;    // hidden: the name of the new firmware file
  QLabel* StatusLine;      // what the last generation wrote
  QPushButton* LbButton1;  // "X"
  QPushButton* LbButton2;  // "Execute update firmware"

  void PlaceOnScreen();
  bool ExeModFileSxClick();
  void ExeUpdateFirClick();
  void SetMark(int bank, bool marked);
  void ShowProgress(std::uint64_t done, std::uint64_t total);

  const AppState& state_;
  UiServices& services_;
  FirmwareJob job_;
};

}  // namespace quastor
