// F1 in any window: the help opens at that window's section beside it, and both windows take
// input, although the editors run modally.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QWindow>

#include "app/UQuastoreFirmWare.h"
#include "app/Uhelp.h"
#include "canopen/USdo.h"
#include "platform/ui/QtText.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/PlantProject.h"

namespace quastor::test {
namespace {

class HelpKey : public PlantProjectTest {
 protected:
  HelpKey() { WriteBytes(home / "help2.dat", ReadBytes(SourceFile("dist/help2.dat"))); }
  void Trigger(const char* caption) {
    for (QAction* action : test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions()) {
      if (action->text() == caption)
        return action->trigger();
    }
    ADD_FAILURE() << "no menu entry " << caption;
  }
  // A click that goes the way of a user's, through the window system, which drops it when a
  // modal window blocks the window.
  static void ClickAt(QWidget* widget, QPoint point) {
    QWidget* window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, widget->mapTo(window, point));
  }
};

// Catches a help that opens modally (the editor stops taking clicks), one that the editor's
// modality blocks (it takes no click), and one that opens at its start or at another window's
// section.
TEST_F(HelpKey, F1InAnEditorOpensItsSectionWhileTheEditorStaysUsable) {
  WhenModalShown([this](QWidget* window) {
    auto* sdo = qobject_cast<TFsdo*>(window);
    ASSERT_NE(sdo, nullptr);
    QTest::keyClick(test::Find<StringGrid>(sdo, "sga"), Qt::Key_F1);
    TFHelp* help = desktop->MainWindow().Help();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(S(test::Find<QTextEdit>(help, "RichEdit1")->textCursor().block().text())
                  .rfind("Set SDO Access", 0),
              0u)
        << S(test::Find<QTextEdit>(help, "RichEdit1")->textCursor().block().text());
    EXPECT_GT(test::Find<QTextEdit>(help, "RichEdit1")->verticalScrollBar()->value(), 0);

    // The editor is still the modal window, and takes a click into another cell.
    EXPECT_EQ(QApplication::activeModalWidget(), sdo);
    const QModelIndex cell = test::Find<StringGrid>(sdo, "sga")->model()->index(3, 2);
    ClickAt(test::Find<StringGrid>(sdo, "sga")->viewport(),
            test::Find<StringGrid>(sdo, "sga")->visualRect(cell).center());
    EXPECT_EQ(test::Find<StringGrid>(sdo, "sga")->currentIndex(), cell);

    // The help takes a click too: its cursor leaves the heading.
    const int heading = test::Find<QTextEdit>(help, "RichEdit1")->textCursor().position();
    QWidget* text = test::Find<QTextEdit>(help, "RichEdit1")->viewport();
    ClickAt(text, QPoint(text->width() / 2, text->height() / 2));
    EXPECT_NE(test::Find<QTextEdit>(help, "RichEdit1")->textCursor().position(), heading);

    help->close();
    sdo->reject();
  });
  Trigger("Set SDO Access");
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace quastor::test
