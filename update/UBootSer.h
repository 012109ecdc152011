#pragma once
// TFBootSer: the update wizard. Page 1 tells how to put the gateway into boot mode and tests
// the chosen serial port; page 2 chooses what to transfer and runs the serial updater.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/ui/QuastorDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedLayout;
class QWidget;

namespace quastor {

struct AppState;
struct UiServices;
class SerialPort;

class TFBootSer : public QuastorDialog {
  Q_OBJECT

 public:
  TFBootSer(const AppState& state, UiServices& services, std::unique_ptr<SerialPort> port,
            QWidget* parent = nullptr);
  ~TFBootSer() override;

  bool Connected() const { return connected_; }
  bool OnOptionsPage() const;

  // Starts program with parameters and waits until it ends or 150 seconds have passed; the
  // window keeps painting meanwhile and drops the input that arrives. A program that cannot
  // start, or still runs after the limit, is told in a message box.
  void ExecuteAndWait(const std::filesystem::path& program, const std::string& parameters,
                      bool hidden);

 public slots:
  void LbButton1Click();
  void LbButton2Click();
  void LbButton4Click();

 protected:
  void FormShow() override;
  void hideEvent(QHideEvent* event) override;

 private:
  QComboBox* CB_Com;
  QLabel* NoPorts;  // shown instead of an empty port list
  QCheckBox* CB_Firm;
  QCheckBox* CB_RFirm;
  QCheckBox* CB_Proj;
  QCheckBox* CB_RProj;
  QPushButton* LbButton1;  // "Connect"
  QPushButton* LbButton2;  // "Next"
  QPushButton* LbButton4;  // "Execute update firmware"
  QPushButton* Cancel;

  void FormClose();
  void FillPortList();
  QWidget* BuildInstructionsPage();
  QWidget* BuildOptionsPage();

  const AppState& state_;
  UiServices& services_;
  std::unique_ptr<SerialPort> port_;
  bool connected_ = false;
  QStackedLayout* pages_;
  QWidget* instructions_;
  QWidget* options_;
};

}  // namespace quastor
