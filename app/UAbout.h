#pragma once
// TFAbout: the software's identity, version and codes.

#include "platform/ui/QuastorDialog.h"

namespace quastor {

struct UiServices;

class TFAbout : public QuastorDialog {
  Q_OBJECT

 public:
  explicit TFAbout(UiServices& services, QWidget* parent = nullptr);

 public slots:
  void Label4Click();

 private:
  UiServices& services_;
};

}  // namespace quastor
