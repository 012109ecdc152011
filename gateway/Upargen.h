#pragma once
// TFpargen ("SET COMMUNICATION"): the PROFIBUS station address and data sizes and the
// DeviceNet node address and baud rate of the current project, kept in its pargen.xml.

#include <optional>
#include <string>

#include "platform/FileStamp.h"
#include "platform/ui/QuastorDialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quastor {

struct AppState;
struct ParGen;
struct UiServices;

class TFpargen : public QuastorDialog {
  Q_OBJECT

 public:
  TFpargen(AppState& state, UiServices& services, QWidget* parent = nullptr);

 public slots:
  // Validates, writes pargen.xml and closes with OK; on a refusal the dialog stays open.
  void BitBtn1Click();

 public:
  // The next showing puts the focus on the control of this element of pargen.xml; an element
  // that no control shows leaves the focus as it is.
  void ShowAt(const std::string& element);

 protected:
  // Resets the controls to the defaults, then loads the project's pargen.xml.
  void FormShow() override;
  void showEvent(QShowEvent* event) override;

 private:
  QLineEdit* E_Pro_ID;
  QComboBox* CB_Pro_Baud;
  QLineEdit* E_Pro_IN;
  QLineEdit* E_Pro_Out;
  QLineEdit* E_DNET_ID;
  QComboBox* CB_DNET_Baud;
  QPushButton* bitbtn1;  // OK
  QPushButton* bitbtn2;  // Cancel

  void ShowValues(const ParGen& values);
  ParGen ValuesShown() const;

  AppState& state_;
  UiServices& services_;
  ReadStamps stamps_;  // pargen.xml as the show read it
  // Why the show could not read pargen.xml whole; asked about before OK writes over it.
  std::optional<std::string> unread_;
  std::string showAt_;  // the element whose control takes the focus at the next showing
};

}  // namespace quastor
