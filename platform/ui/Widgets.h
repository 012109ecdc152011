#pragma once
// The widget kit every window is built from: controls that carry their designer names, the
// OK/Cancel row, and placing a window on its screen.

#include <QString>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quastor {

// Gives a control its designer name, by which tests and the layout find it.
template <class Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QPushButton* NewButton(const QString& text, const char* name, QWidget* parent);
QLabel* NewLabel(const QString& text, const char* name, QWidget* parent);
QLineEdit* NewEdit(const char* name, QWidget* parent);
QCheckBox* NewCheckBox(const QString& text, const char* name, QWidget* parent);
QComboBox* NewDropDown(const char* name, QWidget* parent);

// A row with the buttons flushed right: OK (the default button) and Cancel.
struct OkCancelRow {
  QHBoxLayout* layout;
  QPushButton* ok;
  QPushButton* cancel;
};
OkCancelRow NewOkCancelRow(QWidget* parent, const char* ok_name = "bitbtn1",
                           const char* cancel_name = "bitbtn2");

// The bottom panel of the table editors: OK and Cancel at the left, Export and Import at the
// right, named bitbtn2, button1 and bitbtn4 and OK as given.
struct TablePanel {
  QHBoxLayout* layout;
  QPushButton* ok;
  QPushButton* cancel;
  QPushButton* exportButton;
  QPushButton* importButton;
};
TablePanel NewTablePanel(QWidget* parent, const char* ok_name = "bitbtn1");

// The status line at the bottom of a window, named "StatusLine": one line that says what the
// last action did. Its text can be selected and copied; a text too long for the window is cut,
// and whole in its tip.
QLabel* NewStatusLine(QWidget* parent);
// Puts text on a status line (and in its tip).
void SetStatusText(QLabel* line, const QString& text);

// Puts the focus into an edit whose text was refused, the text selected for typing over.
void FocusEdit(QLineEdit* edit);

// Centres the window on the screen it is on (the primary screen when it has none yet).
void CenterOnScreen(QWidget* window);

}  // namespace quastor
