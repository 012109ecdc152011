#include "app/UAbout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "platform/ui/ClickLabel.h"
#include "platform/ui/Logo.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/WidgetTexts.h"
#include "platform/ui/Widgets.h"

namespace quastor {
TFAbout::TFAbout(UiServices& services, QWidget* parent)
    : QuastorDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint),
      services_(services) {
  setObjectName("TFAbout");
  setWindowTitle(app_texts::kAboutCaption);
  setFixedSize(397, 152);

  auto* Image2 = new ClickLabel(this);
  Image2->setObjectName("Image2");
  Image2->setPixmap(MakerLogo(81));
  Image2->setFixedSize(81, 81);
  Image2->setScaledContents(true);
  Image2->setCursor(Qt::PointingHandCursor);

  auto* Label1 = Named(new QLabel(app_texts::kAboutTitle, this), "Label1");
  QFont title = Label1->font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() * 1.35);
  Label1->setFont(title);
  auto* Label2 = Named(new QLabel(app_texts::kAboutProduct, this), "Label2");

  auto* codes = new QGridLayout;
  codes->setHorizontalSpacing(8);
  codes->setVerticalSpacing(2);
  codes->addWidget(Named(new QLabel(app_texts::kSoftwareCodeLabel, this), "Label6"), 0, 0);
  codes->addWidget(Named(new QLabel(app_texts::kSoftwareCode, this), "Label9"), 0, 1);
  codes->addWidget(Named(new QLabel(app_texts::kVersionLabel, this), "Label3"), 1, 0);
  codes->addWidget(Named(new QLabel(app_texts::kVersion, this), "Label10"), 1, 1);
  codes->addWidget(Named(new QLabel(app_texts::kDocumentCodeLabel, this), "Label8"), 2, 0);
  codes->addWidget(Named(new QLabel(app_texts::kDocumentCode, this), "Label12"), 2, 1);
  codes->setColumnStretch(2, 1);

  auto* LbButton1 = NewButton(widget_texts::kOk, "LbButton1", this);
  LbButton1->setDefault(true);
  auto* Label4 = NewWebLinkLabel(app_texts::kWebAddress, this);
  Label4->setObjectName("Label4");

  auto* text = new QVBoxLayout;
  text->setSpacing(4);
  text->addWidget(Label1);
  text->addWidget(Label2);
  text->addLayout(codes);
  text->addStretch();
  auto* top = new QHBoxLayout;
  top->addWidget(Image2, 0, Qt::AlignTop);
  top->addSpacing(10);
  top->addLayout(text, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(LbButton1);
  bottom->addStretch();
  bottom->addWidget(Label4);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 8);
  layout->addLayout(top, 1);
  layout->addLayout(bottom);

  connect(LbButton1, &QPushButton::clicked, this, &QDialog::accept);
  connect(Image2, &ClickLabel::clicked, this, &TFAbout::Label4Click);
  connect(Label4, &ClickLabel::clicked, this, &TFAbout::Label4Click);
}

void TFAbout::Label4Click() {
  services_.shell.OpenUrl(app_texts::kWebPage);
}

}  // namespace quastor
