// The second yardstick of the start-up benchmark: a bare Qt Widgets program that lays out the
// main window's texts, a bold title over four captioned buttons, in a window of the main
// window's size. Beside it, the configurator's start shows what its own work costs on top of
// laying out text, which the first yardstick (an empty window) does not.

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setFixedSize(565, 210);
  auto* title = new QLabel(QString::fromUtf8("VA4410  DeviceNet \u2194 PROFIBUS DP"), &window);
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.3);
  title->setFont(bold);
  auto* buttons = new QHBoxLayout;
  for (const char* caption : {"New project", "Set Communication", "GSD File", "Update Device"})
    buttons->addWidget(new QPushButton(QString::fromUtf8(caption), &window));
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(title);
  layout->addStretch();
  layout->addLayout(buttons);
  window.show();
  return QApplication::exec();
}
