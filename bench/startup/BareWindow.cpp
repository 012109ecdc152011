// The yardstick of the start-up benchmark: a bare Qt Widgets program that shows one window of
// the main window's size.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setFixedSize(565, 210);
  window.show();
  return QApplication::exec();
}
