// "Check project" of the menu of windows, wired as the program has it: the window lists the
// same lines as quastor-cli check, checks again each time it is opened, and needs a project.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/UQuastoreFirmWare.h"
#include "canopen/USdo.h"
#include "canopen/Uemcy.h"
#include "check/UCheckProject.h"
#include "desktop/DesktopApplication.h"
#include "gateway/Upargen.h"
#include "j1939/USetVar.h"
#include "j1939/U_Rec_Info.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/PageControls.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// What the window showed: its heading, then its lines.
struct Shown {
  std::string heading;
  Lines lines;
};

class CheckWindow : public ::testing::Test {
 protected:
  void Start(const char* remembered) {
    WriteBytes(home / "Quastor_DNET2PROFI.ini",
               std::string("[lastproj]\r\nprojectname=") + remembered + "\r\n");
    desktop = std::make_unique<DesktopApplication>(
        fake.services, [this] { return std::make_unique<FakeSerialPort>(port); }, home.path());
  }
  fs::path project() const { return home / "PROJECTS" / "Plant"; }

  // Opens the window from the menu of windows, notes what it shows and presses OK.
  Shown OpenFromMenu() {
    Shown shown;
    WhenModalShown([&shown](QWidget* modal) {
      EXPECT_EQ(modal->objectName().toStdString(), "TFCheckProject");
      EXPECT_EQ(modal->windowTitle().toStdString(), "Check project");
      shown.heading = modal->findChild<QLabel*>("Label1")->text().toStdString();
      auto* list = modal->findChild<QListWidget*>("LbProblems");
      for (int i = 0; i < list->count(); ++i)
        shown.lines.push_back(list->item(i)->text().toStdString());
      QTest::mouseClick(modal->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    });
    Trigger("Check project");
    return shown;
  }
  // A view takes a double-click on the item that the press before it chose.
  static void DoubleClick(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }

  // Opens "Check project", chooses the line that holds piece and opens it with a double-click
  // or with Enter; look acts on the window that opens, which is then cancelled unless look
  // closed it. The lines that the check window shows afterwards.
  Lines OpenProblem(const char* piece, bool enter, const std::function<void(QWidget*)>& look) {
    Lines after;
    WhenModalShown([&](QWidget* check) {
      // The check window's own activation comes first, as it does for a user who reads the
      // list before choosing; later, it would take the focus from the window opened.
      EXPECT_TRUE(WaitUntilActive(check));
      auto* list = check->findChild<QListWidget*>("LbProblems");
      int row = 0;
      while (row < list->count() && !list->item(row)->text().contains(piece))
        ++row;
      if (row == list->count()) {
        ADD_FAILURE() << "no line holds " << piece;
      } else {
        WhenModalShown(
            [&look](QWidget* window) {
              // Focus belongs to the active window: wait until the system made it so.
              EXPECT_TRUE(WaitUntilActive(window));
              look(window);
              if (window->isVisible())
                qobject_cast<QDialog*>(window)->reject();
            },
            std::chrono::seconds(10), check);
        list->setCurrentRow(row);
        if (enter)
          QTest::keyClick(list, Qt::Key_Return);
        else
          DoubleClick(list, row);
        // Enter opened the problem, not the OK button.
        EXPECT_TRUE(check->isVisible()) << piece;
        for (int i = 0; i < list->count(); ++i)
          after.push_back(list->item(i)->text().toStdString());
      }
      QTest::mouseClick(check->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    });
    Trigger("Check project");
    return after;
  }
  void Trigger(const char* caption) {
    for (QAction* action : test::Find<QMenu>(desktop->MainWindow(), "WindowsMenu")->actions()) {
      if (action->text() == caption)
        return action->trigger();
    }
    ADD_FAILURE() << "no menu entry " << caption;
  }

  TempDir home;
  FakeServices fake;
  FakeSerialPort::Log port;
  std::unique_ptr<DesktopApplication> desktop;
};

Lines LinesOf(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos;
       start = end + 1, end = text.find('\n', start))
    lines.push_back(text.substr(start, end - start));
  return lines;
}

// Catches a window that lists other lines than the command-line tool, keeps the list of an
// earlier showing, or counts wrongly.
TEST_F(CheckWindow, ListsTheCliLinesAndChecksAgainWhenOpenedAgain) {
  const fs::path data = DataFile("check/several_files");
  fs::create_directories(project().parent_path());
  fs::copy(data / "project", project(), fs::copy_options::recursive);
  Start("Plant");

  const Lines expected = LinesOf(ReadBytes(data / "expected.txt"));
  ASSERT_EQ(expected.size(), 10u);
  Shown shown = OpenFromMenu();
  EXPECT_EQ(shown.heading, "Problems found: 10");
  EXPECT_EQ(shown.lines, expected);

  // The user mends the settings and removes every broken file but Send_Info.xml, whose line
  // alone stays.
  fs::copy_file(DataFile("check/clean_full/project/pargen.xml"), project() / "pargen.xml",
                fs::copy_options::overwrite_existing);
  for (const char* file : {"sdo.xml", "sdopdo.xml", "emcydef.xml", "emcyword.xml",
                           "Receive_Frame.xml", "Receive_Info.xml", "Send_Frame.xml"})
    fs::remove(project() / file);
  shown = OpenFromMenu();
  EXPECT_EQ(shown.heading, "Problems found: 1");
  EXPECT_EQ(shown.lines, Lines{expected.back()});

  fs::remove(project() / "Send_Info.xml");
  shown = OpenFromMenu();
  EXPECT_EQ(shown.heading, "No problems found.");
  EXPECT_TRUE(shown.lines.empty());
  EXPECT_TRUE(fake.messages.Texts().empty());
}

// Catches a problem that opens another window than its file's, or its window at the start
// rather than on the problem's page, row, cell or field; a place applied before the window's
// show fills it (the show's own focus wins); and Enter that presses OK instead.
TEST_F(CheckWindow, OpeningAProblemShowsItsWindowAtTheCell) {
  fs::create_directories(project().parent_path());
  const fs::path clean = DataFile("check/clean_full/project");
  fs::copy(clean, project(), fs::copy_options::recursive);
  Start("Plant");
  const struct {
    const char* file;
    std::string content;
    const char* line;
    bool enter;
    std::function<void(QWidget*)> look;
  } cases[] = {
      {"sdo.xml",
       "<sdo><row conf='1' IndexA='1' SubindexA='1' devIDB='5' IndexB='1' SubindexB='2' "
       "nbyteB='2'/><row conf='1' IndexA='x' SubindexA='1' devIDB='5' IndexB='1' "
       "SubindexB='2' nbyteB='2'/></sdo>",
       "sdo.xml: record 2", false,
       [](QWidget* window) {
         auto* sdo = qobject_cast<TFsdo*>(window);
         ASSERT_NE(sdo, nullptr);
         EXPECT_EQ(test::Find<QTabWidget>(sdo, "Notebook")->currentIndex(), 1);
         EXPECT_EQ(test::Find<StringGrid>(sdo, "sgb")->currentIndex(),
                   test::Find<StringGrid>(sdo, "sgb")->model()->index(1, 1));
       }},
      {"sdo.xml", "<sdo><row", "sdo.xml: file", true,
       [](QWidget* window) {
         auto* sdo = qobject_cast<TFsdo*>(window);
         ASSERT_NE(sdo, nullptr);
         EXPECT_EQ(test::Find<QTabWidget>(sdo, "Notebook")->currentIndex(), 0);
       }},
      {"Receive_Frame.xml",
       "<Receive_Frames><row DataPage='0' PGN='0xFEF1' SA='0' Delete='N' Mnemonic='a' Dim='2'/>"
       "<row DataPage='0' PGN='0xFEF2' SA='300' Delete='N' Mnemonic='b' Dim='3'/>"
       "</Receive_Frames>",
       "Receive_Frame.xml: row 2", true,
       [](QWidget* window) {
         auto* frames = qobject_cast<TFSetVar*>(window);
         ASSERT_NE(frames, nullptr);
         EXPECT_EQ(test::Find<StringGrid>(frames, "sga")->currentIndex(),
                   test::Find<StringGrid>(frames, "sga")->model()->index(1, 2));
         EXPECT_EQ(QApplication::focusWidget(), test::Find<StringGrid>(frames, "sga"));
       }},
      {"emcydef.xml",
       "<emcydef><row id_dev='5' mask_eq_ec='0' mask_eq_er='0' mask_eq_m1='0' mask_eq_m2='0' "
       "mask_eq_m3='0' enmask_eq_ec='0' enmask_eq_er='0' enmask_eq_m1='0' enmask_eq_m2='0' "
       "enmask_eq_m3='0' bypass_set='32'/><row id_dev='6' mask_eq_ec='0' mask_eq_er='300' "
       "mask_eq_m1='0' mask_eq_m2='0' mask_eq_m3='0' enmask_eq_ec='0' enmask_eq_er='0' "
       "enmask_eq_m1='0' enmask_eq_m2='0' enmask_eq_m3='0' bypass_set='32'/></emcydef>",
       "emcydef.xml: record 2", false,
       [](QWidget* window) {
         auto* emcy = qobject_cast<TFemcy*>(window);
         ASSERT_NE(emcy, nullptr);
         const test::EmcyPage b = test::Page(*emcy, Side::kB);
         EXPECT_EQ(test::Find<QTabWidget>(emcy, "Notebook")->currentIndex(), 1);
         EXPECT_EQ(b.LBCan->currentRow(), 1);
         EXPECT_EQ(QApplication::focusWidget(), b.edits[2]);
         EXPECT_EQ(b.edits[2]->text().toStdString(), "300");
       }},
      {"Receive_Info.xml",
       "<Receive_Frames_Info><row B1='0' B2='1' B3='255' B4='255' B5='255' B6='255' B7='255' "
       "B8='255'/><row B1='2' B2='3' B3='0' B4='255' B5='255' B6='255' B7='255' B8='255'/>"
       "</Receive_Frames_Info>",
       "Receive_Info.xml: row 2", false,
       [](QWidget* window) {
         auto* info = qobject_cast<TF_Rec_Info*>(window);
         ASSERT_NE(info, nullptr);
         EXPECT_EQ(test::Find<QListWidget>(info, "ListBox1")->currentRow(), 1);
         EXPECT_EQ(QApplication::focusWidget(), test::Find<QLineEdit>(info, "Edit3"));
       }},
      {"pargen.xml",
       "<Par_Gen><PROFI_ID>20</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>20</PROFI_NB_IN>"
       "<PROFI_NB_OUT>20</PROFI_NB_OUT><DNET_DEV_ID>99</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD>"
       "</Par_Gen>",
       "pargen.xml: DNET_DEV_ID:", true,
       [](QWidget* window) {
         auto* settings = qobject_cast<TFpargen*>(window);
         ASSERT_NE(settings, nullptr);
         EXPECT_EQ(QApplication::focusWidget(), test::Find<QLineEdit>(settings, "E_DNET_ID"));
       }},
  };
  for (const auto& c : cases) {
    WriteBytes(project() / c.file, c.content);
    const Lines after = OpenProblem(c.line, c.enter, c.look);
    // Nothing was changed: the same problem is listed again.
    EXPECT_EQ(std::count_if(
                  after.begin(), after.end(),
                  [&c](const std::string& line) { return line.find(c.line) != std::string::npos; }),
              1)
        << c.line;
    fs::copy_file(clean / c.file, project() / c.file, fs::copy_options::overwrite_existing);
  }
}

// Catches a list that keeps showing a problem that the window opened from it has mended.
TEST_F(CheckWindow, AProblemMendedInItsWindowLeavesTheList) {
  fs::create_directories(project().parent_path());
  fs::copy(DataFile("check/clean_full/project"), project(), fs::copy_options::recursive);
  WriteBytes(project() / "pargen.xml",
             "<Par_Gen><PROFI_ID>20</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>20"
             "</PROFI_NB_IN><PROFI_NB_OUT>300</PROFI_NB_OUT><DNET_DEV_ID>10</DNET_DEV_ID>"
             "<DNET_BAUD>2</DNET_BAUD></Par_Gen>");
  Start("Plant");
  const Lines after = OpenProblem("PROFI_NB_OUT", false, [](QWidget* window) {
    auto* settings = qobject_cast<TFpargen*>(window);
    ASSERT_NE(settings, nullptr);
    ASSERT_EQ(QApplication::focusWidget(), test::Find<QLineEdit>(settings, "E_Pro_Out"));
    test::Find<QLineEdit>(settings, "E_Pro_Out")->setText("64");
    QTest::mouseClick(test::Find<QPushButton>(settings, "bitbtn1"), Qt::LeftButton);
  });
  EXPECT_EQ(after, Lines{});
  EXPECT_NE(ReadBytes(project() / "pargen.xml").find(">64<"), std::string::npos);
}

// Catches a window that opens over PROJECTS itself when no project is selected.
TEST_F(CheckWindow, WithoutAProjectSaysSoAndShowsNoWindow) {
  Start("");
  ModalCloser closer;
  Trigger("Check project");
  EXPECT_EQ(fake.messages.Texts(), Lines{"Project not valid"});
  EXPECT_TRUE(closer.shown.empty());
}

}  // namespace
}  // namespace quastor::test
