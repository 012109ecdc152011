#include "tools/USELstringhe.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/StringGrid.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"
#include "tools/SelectString.h"
#include "tools/ToolsTexts.h"

namespace quastor {
namespace {

namespace texts = tools_texts;

constexpr int kIndexWidth = 40;
constexpr int kStringWidthLess = 70;

}  // namespace

TFSELstringhe::TFSELstringhe(UiServices& services, QWidget* parent)
    : QuastorDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                                Qt::WindowCloseButtonHint),
      services_(services) {
  setObjectName("TFSELstringhe");
  setWindowTitle(texts::kSelStringCaption);
  resize(420, 480);

  sg = Named(new StringGrid(this), "sg");
  sg->SetNumberTitle(texts::kIndexHeading);
  GridColumn strings;
  strings.title = texts::kStringHeading;
  strings.editable = false;
  sg->Setup({strings}, kStringRows);
  sg->verticalHeader()->setFixedWidth(kIndexWidth);
  sg->setSelectionBehavior(QAbstractItemView::SelectRows);
  sg->installEventFilter(this);

  Label1 = NewLabel(texts::kSelStrDesign, "Label1", this);
  const OkCancelRow buttons = NewOkCancelRow(this);
  bitbtn1 = buttons.ok;
  bitbtn2 = buttons.cancel;
  buttons.layout->insertWidget(0, Label1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sg, 1);
  layout->addLayout(buttons.layout);

  connect(sg->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid())
              sgSelectCell(current.row());
          });
  connect(bitbtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(bitbtn2, &QPushButton::clicked, this, &QDialog::reject);
}

std::string TFSELstringhe::SelectedString() const {
  if (SelectedIndex < 0 || SelectedIndex >= kStringRows)
    return {};
  return sg->Model().Cell(SelectedIndex, 0);
}

void TFSELstringhe::sgSelectCell(int row) {
  SelectedIndex = row;
  Label1->setText(texts::kSelStrPrefix + QString::number(row));
}

// Every showing starts from the file; the last choice is selected again.
void TFSELstringhe::FormShow() {
  const StringsLoad load = LoadStrings(StringsFilePath);
  GridRows rows;
  rows.reserve(load.strings.size());
  for (const std::string& text : load.strings)
    rows.push_back({text});
  sg->Model().SetRows(rows);
  for (const std::string& message : load.messages)
    services_.messages.Plain(message);
  const int row = std::clamp(SelectedIndex, 0, kStringRows - 1);
  const QModelIndex selected = sg->Model().index(row, 0);
  sg->setCurrentIndex(selected);
  sgSelectCell(row);
  sg->scrollTo(selected, QAbstractItemView::PositionAtCenter);
  FormResize();
}

void TFSELstringhe::FormResize() {
  sg->setColumnWidth(0, std::max(0, sg->width() - kStringWidthLess));
}

bool TFSELstringhe::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sg && event->type() == QEvent::Resize)
    FormResize();
  return QuastorDialog::eventFilter(watched, event);
}

}  // namespace quastor
