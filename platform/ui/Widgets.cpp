#include "platform/ui/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/ui/WidgetTexts.h"

namespace quastor {

QPushButton* NewButton(const QString& text, const char* name, QWidget* parent) {
  return Named(new QPushButton(text, parent), name);
}

QLabel* NewLabel(const QString& text, const char* name, QWidget* parent) {
  return Named(new QLabel(text, parent), name);
}

QLabel* NewStatusLine(QWidget* parent) {
  auto* line = Named(new QLabel(parent), "StatusLine");
  line->setTextInteractionFlags(Qt::TextSelectableByMouse);
  line->setTextFormat(Qt::PlainText);
  line->setFrameShape(QFrame::StyledPanel);
  line->setFrameShadow(QFrame::Sunken);
  line->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  line->setMinimumHeight(line->fontMetrics().height() + 6);
  return line;
}

void SetStatusText(QLabel* line, const QString& text) {
  line->setText(text);
  line->setToolTip(text);
}

QLineEdit* NewEdit(const char* name, QWidget* parent) {
  return Named(new QLineEdit(parent), name);
}

QCheckBox* NewCheckBox(const QString& text, const char* name, QWidget* parent) {
  return Named(new QCheckBox(text, parent), name);
}

QComboBox* NewDropDown(const char* name, QWidget* parent) {
  auto* list = Named(new QComboBox(parent), name);
  list->setEditable(false);
  return list;
}

OkCancelRow NewOkCancelRow(QWidget* parent, const char* ok_name, const char* cancel_name) {
  OkCancelRow row{new QHBoxLayout, NewButton(widget_texts::kOk, ok_name, parent),
                  NewButton(widget_texts::kCancel, cancel_name, parent)};
  row.ok->setDefault(true);
  row.layout->addStretch();
  row.layout->addWidget(row.ok);
  row.layout->addWidget(row.cancel);
  return row;
}

TablePanel NewTablePanel(QWidget* parent, const char* ok_name) {
  TablePanel panel{new QHBoxLayout, NewButton(widget_texts::kOkKey, ok_name, parent),
                   NewButton(widget_texts::kCancelKey, "bitbtn2", parent),
                   NewButton(widget_texts::kExport, "button1", parent),
                   NewButton(widget_texts::kImport, "bitbtn4", parent)};
  panel.layout->addWidget(panel.ok);
  panel.layout->addWidget(panel.cancel);
  panel.layout->addStretch();
  panel.layout->addWidget(panel.exportButton);
  panel.layout->addWidget(panel.importButton);
  return panel;
}

void CenterOnScreen(QWidget* window) {
  const QScreen* screen =
      window->screen() != nullptr ? window->screen() : QApplication::primaryScreen();
  if (screen == nullptr)
    return;
  const QRect area = screen->availableGeometry();
  const QRect frame = window->frameGeometry();
  window->move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

void FocusEdit(QLineEdit* edit) {
  edit->setFocus();
  edit->selectAll();
}

}  // namespace quastor
