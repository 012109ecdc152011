// The update wizard driven as a user would: Connect, Next, the options and Execute.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/AppState.h"
#include "platform/ui/SerialPort.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/StandIn.h"
#include "tests/support/TestFiles.h"
#include "update/UBootSer.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

// The application directory of the wizards below, as the system writes paths.
#ifdef _WIN32
const fs::path kAppDir = "C:\\Program Files\\quastor";
#else
const fs::path kAppDir = "/opt/app";
#endif

struct Wizard {
  FakeServices fakes;
  FakeSerialPort::Log port;
  AppState state;
  std::unique_ptr<TFBootSer> dialog;

  Wizard() {
    state.AppDir = kAppDir;
    state.MasterDir = kAppDir / "MASTER";
    state.ProjectsDir = kAppDir / "PROJECTS";
    state.ProjectDir = kAppDir / "PROJECTS" / "Plant1";
    // The ports the tests choose: on Windows only a listed port can be chosen.
    port.names = {"COM1", "COM3", "COM8"};
    dialog =
        std::make_unique<TFBootSer>(state, fakes.services, std::make_unique<FakeSerialPort>(port));
    dialog->show();
  }
  void ChoosePort(const QString& name) {
    if (test::Find<QComboBox>(dialog, "CB_Com")->isEditable()) {
      test::Find<QComboBox>(dialog, "CB_Com")->setEditText(name);
    } else {
      test::Find<QComboBox>(dialog, "CB_Com")->setCurrentText(name);
    }
    ASSERT_EQ(test::Find<QComboBox>(dialog, "CB_Com")->currentText(), name);
  }
  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  Texts Messages() const { return fakes.messages.Texts(); }
};

TEST(BootSer, NextBeforeConnectAsksForAPort) {
  Wizard wizard;
  EXPECT_TRUE(test::Find<QPushButton>(wizard.dialog, "LbButton2")->isVisible());
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton2"));
  ASSERT_EQ(wizard.fakes.messages.Messages().size(), 1u);
  EXPECT_EQ(wizard.fakes.messages.Messages()[0].kind, MessageRecorder::Kind::kError);
  EXPECT_EQ(wizard.Messages(), Texts{"Select one port."});
  EXPECT_FALSE(wizard.dialog->OnOptionsPage());
}

TEST(BootSer, FailedConnectIsToldAndASecondConnectCanSucceed) {
  struct Case {
    bool openFails;
    bool dtrFails;
    bool leftOpen;  // a port opened before a DTR failure stays open until the next step
  } cases[] = {{true, false, false}, {false, true, true}};
  for (const Case& c : cases) {
    Wizard wizard;
    wizard.ChoosePort("COM3");
    wizard.port.openFails = c.openFails;
    wizard.port.dtrFails = c.dtrFails;
    wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton1"));
    EXPECT_EQ(wizard.Messages(), Texts{"Error!! Com Port cannot be open."});
    EXPECT_FALSE(wizard.dialog->Connected());
    EXPECT_EQ(wizard.port.open, c.leftOpen);
    wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton2"));
    EXPECT_FALSE(wizard.dialog->OnOptionsPage());

    wizard.port = FakeSerialPort::Log{};
    wizard.fakes.messages.Clear();
    wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton1"));
    EXPECT_TRUE(wizard.Messages().empty());
    EXPECT_TRUE(wizard.dialog->Connected());
    EXPECT_EQ(wizard.port.calls, (Texts{"close", "name COM3", "open", "dtr"}));
  }
}

TEST(BootSer, NextShowsTheOptionsAndFreesThePort) {
  Wizard wizard;
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton1"));
  ASSERT_TRUE(wizard.port.open);
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton2"));
  EXPECT_TRUE(wizard.dialog->OnOptionsPage());
  EXPECT_TRUE(test::Find<QPushButton>(wizard.dialog, "LbButton4")->isVisible());
  EXPECT_FALSE(test::Find<QPushButton>(wizard.dialog, "LbButton1")->isVisible())
      << "the instructions are hidden";
  EXPECT_FALSE(wizard.port.open);
  EXPECT_TRUE(wizard.Messages().empty());
}

TEST(BootSer, ExecuteRunsTheUpdaterWithTheChosenOptions) {
  Wizard wizard;
  wizard.ChoosePort("COM8");
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton1"));
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton2"));
  for (QCheckBox* box : {test::Find<QCheckBox>(wizard.dialog, "CB_Firm"),
                         test::Find<QCheckBox>(wizard.dialog, "CB_RFirm"),
                         test::Find<QCheckBox>(wizard.dialog, "CB_Proj")}) {
    box->click();
  }
  wizard.fakes.shell.calls.clear();
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton4"));
  ASSERT_EQ(wizard.fakes.shell.calls.size(), 1u);
  const FakeShell::Call& call = wizard.fakes.shell.calls[0];
  EXPECT_TRUE(call.waited);
  EXPECT_EQ(wizard.fakes.shell.lastLimit, std::chrono::milliseconds(150000));
#ifdef _WIN32
  EXPECT_EQ(call.program.native(), L"C:\\Program Files\\quastor\\Ser_4410_Update.exe");
  EXPECT_EQ(call.parameters,
            "COM8 NO NO NO PR \"C:\\Program Files\\quastor\\MASTER\\sim4410.sim\" "
            "\"C:\\Program Files\\quastor\\PROJECTS\\Plant1\\bin\\\"");
#else
  EXPECT_EQ(call.program, fs::path("/opt/app/Ser_4410_Update"));
  EXPECT_EQ(call.parameters,
            "COM8 NO NO NO PR \"/opt/app/MASTER/sim4410.sim\" \"/opt/app/PROJECTS/Plant1/bin/\"");
#endif
  EXPECT_TRUE(wizard.Messages().empty());
  EXPECT_TRUE(wizard.dialog->OnOptionsPage()) << "the wizard stays on the options";
}

TEST(BootSer, UpdaterThatDoesNotRunToItsEndIsTold) {
  struct Case {
    WaitResult result;
    MessageRecorder::Kind kind;
    const char* message;
  } cases[] = {
      {{WaitResult::Outcome::kNotStarted, "No such file or directory"},
       MessageRecorder::Kind::kError,
       "Ser_4410_Update.exe Not Started (No such file or directory)"},
      {{WaitResult::Outcome::kTimedOut, ""},
       MessageRecorder::Kind::kPlain,
       "Ser_4410_Update.exe still running after 150 seconds, it is left running"},
      // The application quits while the updater runs: no start failure to tell.
      {{WaitResult::Outcome::kAbandoned, ""}, MessageRecorder::Kind::kPlain, nullptr},
  };
  for (const Case& c : cases) {
    Wizard wizard;
    wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton1"));
    wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton2"));
    wizard.fakes.shell.waitResult = c.result;
    wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton4"));
    if (c.message == nullptr) {
      EXPECT_EQ(wizard.Messages(), Texts{});
      continue;
    }
    ASSERT_EQ(wizard.fakes.messages.Messages().size(), 1u) << c.message;
    EXPECT_EQ(wizard.fakes.messages.Messages()[0].kind, c.kind);
    EXPECT_EQ(wizard.Messages(), Texts{c.message});
  }
}

TEST(BootSer, ReopenedWizardStartsOverButKeepsTheOptions) {
  Wizard wizard;
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton1"));
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton2"));
  test::Find<QCheckBox>(wizard.dialog, "CB_Firm")->setChecked(false);
  test::Find<QCheckBox>(wizard.dialog, "CB_RProj")->setChecked(false);
  wizard.Click(test::Find<QPushButton>(wizard.dialog,
                                       "LbButton1"));  // not reachable on page 2: nothing happens
  wizard.dialog->close();
  EXPECT_FALSE(wizard.port.open);
  wizard.dialog->show();
  EXPECT_FALSE(wizard.dialog->OnOptionsPage());
  EXPECT_FALSE(wizard.dialog->Connected());
  EXPECT_FALSE(test::Find<QCheckBox>(wizard.dialog, "CB_Firm")->isChecked());
  EXPECT_TRUE(test::Find<QCheckBox>(wizard.dialog, "CB_RFirm")->isChecked());
  EXPECT_TRUE(test::Find<QCheckBox>(wizard.dialog, "CB_Proj")->isChecked());
  EXPECT_FALSE(test::Find<QCheckBox>(wizard.dialog, "CB_RProj")->isChecked());

  // A port left open by a failed DTR is released when the wizard closes.
  wizard.port.dtrFails = true;
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "LbButton1"));
  ASSERT_TRUE(wizard.port.open);
  wizard.Click(test::Find<QPushButton>(wizard.dialog, "Cancel"));
  EXPECT_FALSE(wizard.dialog->isVisible());
  EXPECT_FALSE(wizard.port.open);
}

// The list is made each time the wizard shows, so that an adapter plugged in meanwhile
// appears; with no port at all the wizard says so.
TEST(BootSer, PortListFollowsThePortsAtEveryShowing) {
  Wizard wizard;
  wizard.port.names = {};
  wizard.dialog->close();
  wizard.dialog->show();
  EXPECT_EQ(test::Find<QComboBox>(wizard.dialog, "CB_Com")->count(), 0);
  EXPECT_TRUE(test::Find<QLabel>(wizard.dialog, "NoPorts")->isVisible());
  EXPECT_EQ(test::Find<QLabel>(wizard.dialog, "NoPorts")->text().toStdString(),
            "No serial port found. Plug in the RS232 adapter, then type its device or open this "
            "window again.");
  wizard.port.names = {"COM1", "COM4"};
  wizard.dialog->close();
  wizard.dialog->show();
  EXPECT_EQ(test::Find<QComboBox>(wizard.dialog, "CB_Com")->count(), 2);
  EXPECT_EQ(test::Find<QComboBox>(wizard.dialog, "CB_Com")->itemText(1), "COM4");
  EXPECT_FALSE(test::Find<QLabel>(wizard.dialog, "NoPorts")->isVisible());
}

// A stand-in updater that notes each start and runs for a while: clicks that arrive while it
// runs must not start it again afterwards.
TEST(BootSer, ClicksDuringTheWaitAreDroppedNotReplayed) {
  TempDir app;
  PlaceStandIn(app / ProgramName("Ser_4410_Update"), 400);
  AppState state;
  state.AppDir = app.path();
  state.ProjectDir = app / "PROJECTS" / "Plant1";
  MessageRecorder messages;
  QtShell shell;
  FakeFileDialogs dialogs;
  UiServices services{messages, shell, dialogs};
  FakeSerialPort::Log log;
  TFBootSer dialog(state, services, std::make_unique<FakeSerialPort>(log));
  dialog.show();
  QTest::mouseClick(test::Find<QPushButton>(dialog, "LbButton1"), Qt::LeftButton);
  QTest::mouseClick(test::Find<QPushButton>(dialog, "LbButton2"), Qt::LeftButton);
  bool enabled_during_wait = true;
  QTimer::singleShot(150, &dialog, [&] {
    enabled_during_wait =
        test::Find<QPushButton>(dialog, "LbButton4")->isEnabled() || dialog.isEnabled();
    QTest::mouseClick(test::Find<QPushButton>(dialog, "LbButton4"), Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::mouseClick(
        dialog.windowHandle(), Qt::LeftButton, {},
        test::Find<QPushButton>(dialog, "LbButton4")
            ->mapTo(&dialog, test::Find<QPushButton>(dialog, "LbButton4")->rect().center()));
  });
  QTest::mouseClick(test::Find<QPushButton>(dialog, "LbButton4"), Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_FALSE(enabled_during_wait);
  EXPECT_TRUE(dialog.isVisible()) << "Escape during the wait does not close the wizard";
  EXPECT_TRUE(dialog.isEnabled());
  EXPECT_EQ(ReadBytes(app / "runs.txt"), "run\n");
  EXPECT_TRUE(messages.Texts().empty());
}

// The updater started for real, from an application directory whose project has a blank in
// its name: on Windows it gets the command line exactly as written (its own code splits it),
// elsewhere the arguments split as a shell would.
TEST(BootSer, StandInUpdaterReceivesTheCommandLine) {
  TempDir app;
  PlaceStandIn(app / ProgramName("Ser_4410_Update"));
  AppState state;
  state.AppDir = app.path();
  state.MasterDir = app / "MASTER";
  state.ProjectDir = app / "PROJECTS" / "Plant 1";
  MessageRecorder messages;
  QtShell shell;
  FakeFileDialogs dialogs;
  UiServices services{messages, shell, dialogs};
  FakeSerialPort::Log log;
  log.names = {"COM1", "COM7"};
  TFBootSer dialog(state, services, std::make_unique<FakeSerialPort>(log));
  dialog.show();
  test::Find<QComboBox>(dialog, "CB_Com")->setCurrentText("COM7");
  QTest::mouseClick(test::Find<QPushButton>(dialog, "LbButton1"), Qt::LeftButton);
  QTest::mouseClick(test::Find<QPushButton>(dialog, "LbButton2"), Qt::LeftButton);
  test::Find<QCheckBox>(dialog, "CB_RFirm")->setChecked(false);
  QTest::mouseClick(test::Find<QPushButton>(dialog, "LbButton4"), Qt::LeftButton);
  EXPECT_TRUE(messages.Texts().empty());
#ifdef _WIN32
  const std::string command_line = ReadBytes(app / "command-line.txt");
  const std::string wanted = " COM7 FW NO PW PR \"" + (app / "MASTER").string() +
                             "\\sim4410.sim\" \"" + (app / "PROJECTS").string() +
                             "\\Plant 1\\bin\\\"";
  ASSERT_GE(command_line.size(), wanted.size()) << command_line;
  EXPECT_EQ(command_line.substr(command_line.size() - wanted.size()), wanted);
  EXPECT_EQ(app.path().string().substr(1, 2), ":\\") << "a drive letter and backslashes";
#else
  EXPECT_EQ(ReadBytes(app / "args.txt"), "COM7\nFW\nNO\nPW\nPR\n" + (app / "MASTER").string() +
                                             "/sim4410.sim\n" + (app / "PROJECTS").string() +
                                             "/Plant 1/bin/\n");
#endif
}

}  // namespace
}  // namespace quastor::test
