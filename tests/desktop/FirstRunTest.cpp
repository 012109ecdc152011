// A first run over the files installed with the application (dist/, as share/quastor holds
// them): MASTER filled, the help shown from the installation, the firmware generation ready,
// and a help text that covers every step and every window of the menu of windows.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "app/HelpFile.h"
#include "app/UQuastoreFirmWare.h"
#include "app/Uhelp.h"
#include "canopen/UInfoPdo.h"
#include "canopen/USdo.h"
#include "canopen/UWemcy.h"
#include "canopen/Uemcy.h"
#include "canopen/Updo.h"
#include "check/UCheckProject.h"
#include "desktop/DesktopApplication.h"
#include "devices/UDbcImport.h"
#include "devices/UPickObject.h"
#include "gateway/Upargen.h"
#include "j1939/USetPdo.h"
#include "j1939/USetVar.h"
#include "j1939/U_Rec_Info.h"
#include "j1939/U_Sen_Info.h"
#include "platform/ui/QtText.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/TestFiles.h"
#include "tools/USELstringhe.h"
#include "tools/UXML.h"
#include "update/UBootSer.h"
#include "update/UModifyFileSx.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::SourceFile;
using test::TempDir;
using test::WhenModalShown;
using test::WriteBytes;

// The program on an application directory of the user's own, with the installation's files.
struct FirstRun {
  explicit FirstRun(const fs::path& home)
      : desktop(
            fake.services, [this] { return std::make_unique<test::FakeSerialPort>(port); }, home,
            SourceFile("dist")),
        main(desktop.MainWindow()) {}
  test::FakeServices fake;
  test::FakeSerialPort::Log port;
  DesktopApplication desktop;
  TFQuastoreFirmWare& main;
};

TEST(FirstRun, InstalledFilesServeAnApplicationDirectoryOfTheUsersOwn) {
  TempDir home;
  fs::create_directories(home / "PROJECTS" / "Plant1" / "bin");
  WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=Plant1\r\n");
  FirstRun app(home.path());
  for (const char* name : {"sim4410.sim", "sx4375.sx"}) {
    EXPECT_EQ(ReadBytes(home / "MASTER" / name), ReadBytes(SourceFile("dist/MASTER") / name))
        << name;
  }

  // Help from the installation: the application directory has no help2.dat.
  QTest::mouseClick(test::Find<QPushButton>(app.main, "HelpButton"), Qt::LeftButton);
  ASSERT_NE(app.main.Help(), nullptr);
  const std::string shown = S(app.main.Help()->findChild<QTextEdit*>("RichEdit1")->toPlainText());
  app.main.Help()->close();
  EXPECT_TRUE(app.fake.messages.Texts().empty()) << app.fake.messages.Texts().front();
  EXPECT_NE(shown.find("Step 1"), std::string::npos) << shown;
  EXPECT_FALSE(fs::exists(home / "help2.dat"));

  // The firmware generation finds the firmware file and is ready to run.
  bool ready = false;
  WhenModalShown([&ready](QWidget* dialog) {
    ready = dialog->findChild<QPushButton*>("LbButton2")->isEnabled();
    dialog->close();
  });
  for (QAction* action : test::Find<QMenu>(app.main, "WindowsMenu")->actions()) {
    if (action->text() == "Generate Firmware")
      action->trigger();
  }
  EXPECT_TRUE(ready);
  EXPECT_TRUE(app.fake.messages.Texts().empty()) << app.fake.messages.Texts().front();
}

TEST(FirstRun, ShippedHelpCoversEveryStepAndEveryWindowOfTheMenu) {
  TempDir home;
  FirstRun app(home.path());
  const Result<HelpText> help = LoadHelpFile(SourceFile("dist/help2.dat"));
  ASSERT_TRUE(help.ok());
  ASSERT_TRUE(help->rich);
  const std::string text = help->document.PlainText();

  std::vector<std::string> windows;
  for (QAction* action : test::Find<QMenu>(app.main, "WindowsMenu")->actions()) {
    if (!action->isSeparator())
      windows.push_back(S(action->iconText()));
  }
  ASSERT_GE(windows.size(), 12u);
  for (const std::string& window : windows)
    EXPECT_NE(text.find(window), std::string::npos)
        << "the help does not tell \"" << window << "\"";

  for (QPushButton* button :
       {test::Find<QPushButton>(app.main, "Newa"), test::Find<QPushButton>(app.main, "Opena"),
        test::Find<QPushButton>(app.main, "btn_str_lng1a"),
        test::Find<QPushButton>(app.main, "btn_str_lng2a"),
        test::Find<QPushButton>(app.main, "CreateBina"),
        test::Find<QPushButton>(app.main, "About")}) {
    EXPECT_NE(text.find(S(button->text())), std::string::npos) << S(button->text());
  }
  for (const char* word : {"Step 1", "Step 2", "Step 3", "Step 4", "MASTER", "PROJECTS",
                           "QUASTOR_HOME", "Export", "Import"}) {
    EXPECT_NE(text.find(word), std::string::npos) << word;
  }
  // F1 finds each window's section by its caption.
  DesktopApplication& d = app.desktop;
  std::vector<std::string> captions = {app_texts::kNewProjectCaption, app_texts::kEditXmlCaption,
                                       app_texts::kOpenProjectCaption, app_texts::kAboutCaption,
                                       app_texts::kHelpCaption};
  for (QWidget* window : std::initializer_list<QWidget*>{
           &d.Pargen(), &d.BootSer(), &d.ModifyFileSx(), &d.Sdo(), &d.Pdo(), &d.InfoPdo(),
           &d.Emcy(), &d.Wemcy(), &d.SetVar(), &d.SetPdo(), &d.RecInfo(), &d.SenInfo(), &d.Xml(),
           &d.SelString(), &d.CheckProject(), &d.PickObject(), &d.DbcImport()})
    captions.push_back(S(window->windowTitle()));
  for (const std::string& caption : captions)
    EXPECT_TRUE(HelpSection(help->document, caption)) << "no section for \"" << caption << "\"";

  for (const char* leak : {"\\par", "\\b0", "\\i0", "\\fs", "\\endash", "\\bullet", "{", "}"}) {
    EXPECT_EQ(text.find(leak), std::string::npos) << leak << " leaked into the text";
  }
}

}  // namespace
}  // namespace quastor
