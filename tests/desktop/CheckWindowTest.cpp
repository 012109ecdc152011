// "Check project" of the menu of windows, wired as the program has it: the window lists the
// same lines as quastor-cli check, checks again each time it is opened, and needs a project.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/UQuastoreFirmWare.h"
#include "check/UCheckProject.h"
#include "desktop/DesktopApplication.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/ModalHelper.h"
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
  void Trigger(const char* caption) {
    for (QAction* action : desktop->MainWindow().WindowsMenu->actions()) {
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
