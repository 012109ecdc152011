// The main window and its project dialogs, driven as a user would (offscreen), wired as the
// shipped program wires them.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <filesystem>
#include <functional>

#include <QMenu>

#include "app/AppState.h"
#include "app/UQuastoreFirmWare.h"
#include "app/Uhelp.h"
#include "app/Unewp.h"
#include "desktop/DesktopApplication.h"
#include "platform/ui/QtText.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WhenModalShown;
using test::WriteBytes;

const std::string kPrefix = "Vexlar Quastor_SW4410_DNET2PROFI :";
const std::string kSep(1, fs::path::preferred_separator);

// The application on a temporary application directory.
class Application {
 public:
  explicit Application(const fs::path& home)
      : desktop(
            fake.services, [this] { return std::make_unique<test::FakeSerialPort>(port); }, home),
        main(desktop.MainWindow()),
        state(desktop.State()) {}
  std::string Caption() const { return S(main.windowTitle()); }
  std::string Header() const { return S(main.findChild<QLabel*>("ProjectHeader")->text()); }

  // Presses "Open project" and acts on its list of projects.
  void Open(std::function<void(QWidget*)> act) {
    WhenModalShown(std::move(act));
    QTest::mouseClick(test::Find<QPushButton>(main, "Opena"), Qt::LeftButton);
  }
  // Presses "Open project", then the list's button (Browse goes on to the folder chooser).
  void OpenWith(const char* button) {
    Open([button](QWidget* list) {
      QTest::mouseClick(list->findChild<QPushButton*>(button), Qt::LeftButton);
    });
  }
  std::vector<std::string> Messages() const { return fake.messages.Texts(); }

  // Presses "New project", types name, presses OK (and Cancel when OK keeps the dialog open).
  void NewProject(const std::string& name, bool ok = true) {
    WhenModalShown([this, name, ok](QWidget* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>("Edit1");
      QTest::keyClicks(edit, Q(name));
      QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? "bitbtn1" : "bitbtn2"),
                        Qt::LeftButton);
      if (dialog->isVisible()) {
        stayedOpen = true;
        QTest::mouseClick(dialog->findChild<QPushButton*>("bitbtn2"), Qt::LeftButton);
      }
    });
    QTest::mouseClick(test::Find<QPushButton>(main, "Newa"), Qt::LeftButton);
  }

  test::FakeServices fake;
  test::FakeSerialPort::Log port;
  DesktopApplication desktop;
  TFQuastoreFirmWare& main;
  AppState& state;
  bool stayedOpen = false;
};

// Without a project, PROJECTS is no project: Steps 2 to 4 write neither PROJECTS/pargen.xml
// nor a fake project PROJECTS/bin.
TEST(MainWindow, FirstRunShowsDesignCaptionAndRefusesStepsWithoutProject) {
  TempDir home;
  Application app(home.path());
  EXPECT_EQ(app.Caption(), "Vexlar Quastor_SW4410_DNET2PROFI");
  EXPECT_EQ(app.main.size(), QSize(565, 236));
  EXPECT_TRUE(fs::is_directory(home / "MASTER"));
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS"));
  EXPECT_EQ(app.main.OpenExcelInitialDir(), home / "PROJECTS");
  for (QDialog* dialog : app.main.findChildren<QDialog*>())
    ADD_FAILURE() << "built before it was opened: " << S(dialog->objectName());
  test::ModalCloser closer;
  for (QPushButton* step : {test::Find<QPushButton>(app.main, "btn_str_lng1a"),
                            test::Find<QPushButton>(app.main, "btn_str_lng2a"),
                            test::Find<QPushButton>(app.main, "CreateBina")})
    QTest::mouseClick(step, Qt::LeftButton);
  EXPECT_EQ(app.Messages(), std::vector<std::string>(3, "Project not valid"));
  EXPECT_TRUE(closer.shown.empty());
  EXPECT_TRUE(fs::is_empty(home / "PROJECTS"));
}

TEST(MainWindow, MenuOfWindowsOpensTheFirmwareGeneration) {
  TempDir home;
  Application app(home.path());
  EXPECT_EQ(test::Find<QPushButton>(app.main, "Windows")->menu(),
            test::Find<QMenu>(app.main, "WindowsMenu"));
  // As shown: a caption's "&" is no mark of a shortcut letter.
  QStringList captions;
  for (QAction* action : test::Find<QMenu>(app.main, "WindowsMenu")->actions())
    captions << action->iconText();
  EXPECT_EQ(captions.mid(captions.indexOf("Tools")),
            (QStringList{"Tools", "Generate Firmware", "XML Reader & Writer", "Select String",
                         "Check project"}));
  test::ModalCloser closer;
  test::Find<QMenu>(app.main, "WindowsMenu")
      ->actions()[captions.indexOf("Generate Firmware")]
      ->trigger();
  EXPECT_EQ(closer.shown, std::vector<std::string>{"TFModifyFileSx"});
}

TEST(MainWindow, RememberedProjectAndExitWithX) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Plant1");
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=Plant1\r\n");
  {
    Application app(home.path());
    EXPECT_EQ(app.Caption(), kPrefix + kSep + "Plant1");
    EXPECT_EQ(app.state.ProjectDir, home / "PROJECTS" / "Plant1");
    app.main.show();
    QTest::mouseClick(test::Find<QPushButton>(app.main, "LbButton1"), Qt::LeftButton);
    EXPECT_FALSE(app.main.isVisible());
  }
  EXPECT_EQ(ReadBytes(home / "Quastor_DNET2PROFI.ini"),
            "[lastproj]\r\nprojectname=" + kSep + "Plant1\r\n");
}

TEST(MainWindow, CloseRightAfterStartWritesEmptyName) {
  TempDir home;
  Application app(home.path());
  app.main.show();
  app.main.close();
  EXPECT_EQ(ReadBytes(home / "Quastor_DNET2PROFI.ini"), "[lastproj]\r\nprojectname=\r\n");
}

TEST(MainWindow, FailedSettingsWriteIsReportedOnClose) {
  TempDir home;
  Application app(home.path());
  fs::create_directories(home / "Quastor_DNET2PROFI.ini" / "blocker");
  app.main.show();
  app.main.close();
  ASSERT_EQ(app.fake.messages.Messages().size(), 1u);
  EXPECT_EQ(app.fake.messages.Messages()[0].kind, MessageRecorder::Kind::kError);
  // The system's reason follows the path.
  const std::string prefix = "Unable to write to " + (home / "Quastor_DNET2PROFI.ini").string();
  EXPECT_EQ(app.Messages()[0].rfind(prefix + ": ", 0), 0u) << app.Messages()[0];
  EXPECT_GT(app.Messages()[0].size(), prefix.size() + 2) << app.Messages()[0];
}

TEST(MainWindow, NewProjectConfirmedAndCancelled) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Plant1");
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=Plant1\r\n");
  Application app(home.path());

  app.NewProject("Plant2");
  EXPECT_EQ(app.Caption(), kPrefix + "Plant2");
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS" / "Plant2" / "bin"));
  EXPECT_EQ(app.main.OpenExcelInitialDir(), home / "PROJECTS" / "Plant2");

  // Cancel keeps the current project and a caption that names it.
  app.NewProject("Ignored", /*ok=*/false);
  EXPECT_EQ(app.Caption(), kPrefix + "Plant2");
  EXPECT_EQ(app.state.ProjectDir, home / "PROJECTS" / "Plant2");
  EXPECT_FALSE(fs::exists(home / "PROJECTS" / "Ignored"));
}

TEST(MainWindow, NewProjectRefusalsKeepDialogOpen) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Old");
  Application app(home.path());
  struct Case {
    std::string name;
    std::vector<std::string> messages;
  } cases[] = {
      {"", {"Name project not valid"}},
      {"Old", {"Name project not valid because directory already exists"}},
      {"../Up", {"Name project not valid because it leads outside the projects directory"}},
      {"NoParent/Child", {}},
  };
  for (const Case& c : cases) {
    app.fake.messages.Clear();
    app.stayedOpen = false;
    app.NewProject(c.name);
    EXPECT_TRUE(app.stayedOpen) << c.name;
    EXPECT_EQ(app.Messages(), c.messages) << c.name;
    EXPECT_EQ(app.Caption(), "Vexlar Quastor_SW4410_DNET2PROFI") << c.name;
  }
  EXPECT_FALSE(fs::exists(home / "Up"));
}

TEST(MainWindow, SaveprojDialogModes) {
  TempDir home;
  Application app(home.path());
  // Mode 1: a one-line editor that keeps the caller's text.
  app.main.SaveProj().NewProjectMode = TFsaveproj::Mode::kEditText;
  test::Find<QLineEdit>(app.main.SaveProj(), "Edit1")->setText("node text");
  WhenModalShown([](QWidget* dialog) {
    EXPECT_EQ(S(dialog->windowTitle()), "Edit XML");
    EXPECT_FALSE(dialog->findChild<QLabel*>("Label1")->isVisible());
    auto* edit = dialog->findChild<QLineEdit*>("Edit1");
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, "!");
    QTest::mouseClick(dialog->findChild<QPushButton*>("bitbtn1"), Qt::LeftButton);
  });
  EXPECT_EQ(app.main.SaveProj().exec(), QDialog::Accepted);
  EXPECT_EQ(S(test::Find<QLineEdit>(app.main.SaveProj(), "Edit1")->text()), "node text!");

  // Mode 0 clears the box on every showing; an empty destination and name give both messages.
  app.main.SaveProj().NewProjectMode = TFsaveproj::Mode::kNewProject;
  app.main.SaveProj().ProjectDestDir.clear();
  WhenModalShown([](QWidget* dialog) {
    EXPECT_EQ(S(dialog->windowTitle()), "New project");
    EXPECT_TRUE(dialog->findChild<QLineEdit*>("Edit1")->text().isEmpty());
    QTest::mouseClick(dialog->findChild<QPushButton*>("bitbtn1"), Qt::LeftButton);
    QTest::mouseClick(dialog->findChild<QPushButton*>("bitbtn2"), Qt::LeftButton);
  });
  EXPECT_EQ(app.main.SaveProj().exec(), QDialog::Rejected);
  EXPECT_EQ(app.Messages(), (std::vector<std::string>{"directory destination not valid",
                                                      "Name project not valid"}));
}

TEST(MainWindow, OpenProjectListsFiltersAndRefusesWhatIsNoProject) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Plant1" / "bin");
  fs::create_directories(home / "PROJECTS" / "plant2");
  fs::create_directories(home / "PROJECTS" / "A" / "B" / "bin");
  fs::create_directories(home / "elsewhere");
  WriteBytes(home / "PROJECTS" / "notes.txt", "not a project");
  Application app(home.path());
  EXPECT_EQ(app.Header(), "No project");

  // The list: the folders directly under PROJECTS, by name; the filter leaves plant2 alone.
  std::vector<std::string> listed;
  app.Open([&](QWidget* dialog) {
    auto* list = dialog->findChild<QTreeWidget*>("Projects");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      listed.push_back(S(list->topLevelItem(i)->text(0)));
    QTest::keyClicks(dialog->findChild<QLineEdit*>("Filter"), "T2");
    QTest::mouseClick(dialog->findChild<QPushButton*>("bitbtn1"), Qt::LeftButton);
  });
  EXPECT_EQ(listed, (std::vector<std::string>{"A", "Plant1", "plant2"}));
  EXPECT_EQ(app.state.ProjectDir, home / "PROJECTS" / "plant2");
  EXPECT_EQ(app.Header(), "Project: plant2");

  // Browse: a nested project that New project made is one; PROJECTS, a bin folder and a
  // folder outside PROJECTS are not, and the project stays.
  auto& chooser = app.fake.dialogs;
  chooser.answers = {home / "PROJECTS" / "A" / "B"};
  app.OpenWith("Browse");
  EXPECT_EQ(chooser.lastTitle, "Select directory of project");
  EXPECT_EQ(chooser.lastRoot, home / "PROJECTS");
  EXPECT_EQ(app.Caption(), kPrefix + kSep + "A" + kSep + "B");
  for (const fs::path& refused :
       {home / "PROJECTS" / "Plant1" / "bin", home / "PROJECTS", home / "elsewhere"}) {
    chooser.answers = {refused};
    app.OpenWith("Browse");
    EXPECT_EQ(app.state.ProjectDir, home / "PROJECTS" / "A" / "B") << refused;
  }
  EXPECT_EQ(app.Messages(),
            (std::vector<std::string>{
                (home / "PROJECTS" / "Plant1" / "bin").string() + " is not a project folder",
                (home / "PROJECTS").string() + " is not a project folder",
                "Directory of project not valid because it is outside the projects directory " +
                    (home / "PROJECTS").string()}));
  EXPECT_EQ(app.Header(), "Project: A" + kSep + "B");
}

TEST(MainWindow, OpenCancelledAfterProjectVanishedGivesProjectNotValid) {
  TempDir home;
  Application app(home.path());
  app.NewProject("Temp");
  fs::remove_all(home / "PROJECTS" / "Temp");
  app.OpenWith("Browse");  // the chooser is cancelled
  EXPECT_EQ(app.fake.dialogs.lastStart, fs::path()) << "nothing to preselect";
  EXPECT_EQ(app.Caption(), kPrefix);
  test::ModalCloser closer;
  for (QPushButton* step : {test::Find<QPushButton>(app.main, "btn_str_lng1a"),
                            test::Find<QPushButton>(app.main, "btn_str_lng2a"),
                            test::Find<QPushButton>(app.main, "CreateBina")})
    QTest::mouseClick(step, Qt::LeftButton);
  EXPECT_EQ(app.Messages(), std::vector<std::string>(3, "Project not valid"));
  EXPECT_TRUE(closer.shown.empty());
}

// A settings file that names a place outside PROJECTS selects no project, so no step writes
// into the application directory or MASTER.
TEST(MainWindow, RememberedNameOutsideProjectsIsNoProject) {
  for (const char* remembered : {"..", "../MASTER", "\\..\\MASTER", "."}) {
    TempDir home;
    fs::create_directories(home / "MASTER");
    WriteBytes(home / "Quastor_DNET2PROFI.ini",
               std::string("[lastproj]\r\nprojectname=") + remembered + "\r\n");
    Application app(home.path());
    EXPECT_EQ(app.Caption(), "Vexlar Quastor_SW4410_DNET2PROFI") << remembered;
    EXPECT_EQ(app.state.ProjectName, "") << remembered;
    QTest::mouseClick(test::Find<QPushButton>(app.main, "btn_str_lng1a"), Qt::LeftButton);
    EXPECT_EQ(app.Messages(), std::vector<std::string>{"Project not valid"}) << remembered;
    EXPECT_FALSE(fs::exists(home / "pargen.xml"));
    EXPECT_FALSE(fs::exists(home / "MASTER" / "pargen.xml"));
  }
}

TEST(MainWindow, GoneProjectIsWrittenBackUnchanged) {
  TempDir home;
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=\\Gone\r\n");
  {
    Application app(home.path());
    EXPECT_EQ(app.Caption(), "Vexlar Quastor_SW4410_DNET2PROFI");
    EXPECT_EQ(app.state.ProjectDir, home / "PROJECTS");
    app.main.show();
    app.main.close();
  }
  EXPECT_EQ(ReadBytes(home / "Quastor_DNET2PROFI.ini"),
            "[lastproj]\r\nprojectname=" + kSep + "Gone\r\n");
}

TEST(MainWindow, NewProjectSurvivesRestartWithLeadingSeparator) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "A");
  {
    Application app(home.path());
    app.NewProject("A\\B");
    EXPECT_EQ(app.Caption(), kPrefix + "A" + kSep + "B");
    app.NewProject("Plant2");
    app.main.show();
    app.main.close();
  }
  EXPECT_EQ(ReadBytes(home / "Quastor_DNET2PROFI.ini"), "[lastproj]\r\nprojectname=Plant2\r\n");
  Application again(home.path());
  EXPECT_EQ(again.Caption(), kPrefix + kSep + "Plant2");
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS" / "A" / "B" / "bin"));

  // Open, then cancel: the same project, its name re-derived with the separator.
  again.OpenWith("Browse");
  EXPECT_EQ(again.fake.dialogs.lastStart, home / "PROJECTS" / "Plant2");
  EXPECT_EQ(again.state.ProjectDir, home / "PROJECTS" / "Plant2");
  EXPECT_EQ(again.Caption(), kPrefix + kSep + "Plant2");
}

TEST(MainWindow, AboutShowsIdentityAndOpensWebPage) {
  TempDir home;
  Application app(home.path());
  WhenModalShown([](QWidget* about) {
    auto text = [about](const char* name) { return S(about->findChild<QLabel*>(name)->text()); };
    EXPECT_EQ(S(about->windowTitle()), "About...");
    EXPECT_EQ(text("Label1"), "Software Quastor ");
    EXPECT_EQ(text("Label2"), "Gateway DeviceNet Slave to PROIBUS Slave");
    EXPECT_EQ(text("Label6") + text("Label9"), "Software Code : SW4410");
    EXPECT_EQ(text("Label3") + text("Label10"), "Version :1.002");
    EXPECT_EQ(text("Label8") + text("Label12"), "Document Code :MN4410");
    QTest::mouseClick(about->findChild<QLabel*>("Image2"), Qt::LeftButton);
    QTest::mouseClick(about->findChild<QLabel*>("Label4"), Qt::LeftButton);
    QTest::mouseClick(about->findChild<QPushButton*>("LbButton1"), Qt::LeftButton);
  });
  QTest::mouseClick(test::Find<QPushButton>(app.main, "About"), Qt::LeftButton);
  EXPECT_EQ(app.fake.shell.urls.size(), 2u);
  QTest::mouseClick(app.main.findChild<QLabel*>("Label1"), Qt::LeftButton);
  EXPECT_EQ(app.fake.shell.urls.size(), 3u);
}

TEST(MainWindow, HelpWindowMissingPlainAndRich) {
  TempDir home;
  Application app(home.path());
  std::string shown;
  // The help is no modal window: it is open when the click returns.
  auto open_help = [&] {
    QTest::mouseClick(test::Find<QPushButton>(app.main, "HelpButton"), Qt::LeftButton);
    QWidget* help = app.main.Help();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    shown = S(help->findChild<QTextEdit*>("RichEdit1")->toPlainText());
    help->close();
  };
  open_help();
  EXPECT_EQ(app.Messages(), std::vector<std::string>{"Impossible to read file Help"});
  EXPECT_EQ(shown, "");

  WriteBytes(home / "help2.dat", "Plain help {not rtf}");
  open_help();
  EXPECT_EQ(shown, "Plain help {not rtf}");

  WriteBytes(home / "help2.dat", "{\\rtf1 \\b Bold\\b0  text\\par}");
  open_help();
  EXPECT_EQ(shown, "Bold text");
  EXPECT_EQ(app.Messages().size(), 1u);
}

}  // namespace
}  // namespace quastor
