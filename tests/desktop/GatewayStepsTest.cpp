// The main window's Steps 2 to 4 wired to the gateway's windows, end to end: settings
// confirmed in the dialog, the GSD file written from them, the image built before the wizard.

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/AppState.h"
#include "app/UQuastoreFirmWare.h"
#include "desktop/DesktopApplication.h"
#include "gateway/GatewayTexts.h"
#include "gateway/UGatewaySteps.h"
#include "gateway/Upargen.h"
#include "tests/gateway/GatewayTestFiles.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/PlantProject.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

// An application directory whose remembered project is Plant, and the application over it as
// the program wires it (the wizard closed as soon as it shows, and counted).
class GatewaySteps : public PlantProjectTest {
 protected:
  GatewaySteps() : PlantProjectTest("/Plant") {
    window = &desktop->MainWindow();
    window->show();
  }

  fs::path bank() const { return project() / "bin" / "bank.bin"; }

  TFQuastoreFirmWare* window = nullptr;
};

TEST_F(GatewaySteps, SettingsConfirmedInStep2ShapeTheGsdFileOfStep3) {
  WhenModalShown([](QWidget* modal) {
    auto* dialog = qobject_cast<TFpargen*>(modal);
    ASSERT_NE(dialog, nullptr);
    test::Find<QLineEdit>(dialog, "E_Pro_IN")->setText("65");
    test::Find<QLineEdit>(dialog, "E_Pro_Out")->setText("0");
    QTest::mouseClick(test::Find<QPushButton>(dialog, "bitbtn1"), Qt::LeftButton);
  });
  Click(test::Find<QPushButton>(window, "btn_str_lng1a"));
  EXPECT_EQ(ReadBytes(project() / "pargen.xml"), ParGenXml({{"PROFI_ID", "20"},
                                                            {"PROFI_BAUD", "10"},
                                                            {"PROFI_NB_IN", "65"},
                                                            {"PROFI_NB_OUT", "0"},
                                                            {"DNET_DEV_ID", "10"},
                                                            {"DNET_BAUD", "2"}}));

  const fs::path gsd = project() / "Plant.gsd";
  fake.dialogs.answers.push_back(gsd);
  Click(test::Find<QPushButton>(window, "btn_str_lng2a"));
  EXPECT_EQ(fake.dialogs.lastStart, project());
  EXPECT_EQ(fake.dialogs.lastFilter, "Generic Station Description (*.gsd)");
  EXPECT_EQ(fake.dialogs.lastSuffix, "gsd");
  EXPECT_TRUE(fake.messages.Texts().empty());
  const std::string text = ReadBytes(gsd);
  EXPECT_NE(text.find("\r\nMax_Module=2\r\nModul_Offset=1\r\nMax_Input_Len=65\r\n"
                      "Max_Output_Len=0\r\nMax_Data_Len=65\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("Module=\"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01\r\n1\r\nEndModule\r\n"
                      "Module=\"DI  (PORT2)    \" 0x42,0x00,0x00,0x02\r\n2\r\nEndModule\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("DO  ("), std::string::npos);
}

TEST_F(GatewaySteps, CancelledGsdDialogWritesNothing) {
  WriteBytes(project() / "pargen.xml", kDefaultParGenText);
  Click(test::Find<QPushButton>(window, "btn_str_lng2a"));
  EXPECT_EQ(fake.dialogs.lastFilter, "Generic Station Description (*.gsd)");
  EXPECT_TRUE(fake.messages.Texts().empty());
  EXPECT_EQ(EntriesOf(project()).size(), 2u) << "pargen.xml and bin only";
}

TEST_F(GatewaySteps, GsdOfAProjectWithoutSettingsIsRefused) {
  fake.dialogs.answers.push_back(project() / "Plant.gsd");
  Click(test::Find<QPushButton>(window, "btn_str_lng2a"));
  ASSERT_EQ(fake.messages.Messages().size(), 1u);
  EXPECT_EQ(fake.messages.Messages()[0].kind, MessageRecorder::Kind::kError);
  EXPECT_EQ(fake.messages.Messages()[0].text,
            "The GSD file cannot be written: the communication settings file \"" +
                (project() / "pargen.xml").string() +
                "\" does not exist. Set the communication of the project first.");
  EXPECT_FALSE(fs::exists(project() / "Plant.gsd"));
}

// Step 4: the wizard opens only over a freshly written image.
TEST_F(GatewaySteps, UpdateDeviceWritesTheImageBeforeTheWizard) {
  const std::string defaults_image("\x04\0\0\0\x14\x0A\x14\x14\x0A\x02", 10);
  struct Case {
    const char* what;
    std::optional<std::string> pargen;
    bool binIsMissing;
    bool binIsAFile;
    std::string bank;     // expected bank.bin (or the file named bin) afterwards
    std::string message;  // expected start of the message; empty: none
  } cases[] = {
      {"defaults", std::string(kDefaultParGenText), false, false, defaults_image, ""},
      {"no pargen.xml", std::nullopt, false, false, std::string("\x04\0\0\0", 4), ""},
      {"no bin directory", std::string(kDefaultParGenText), true, false, defaults_image, ""},
      {"element missing", ParGenXml(Without("DNET_BAUD")), false, false, "old",
       "The communication settings file \"" + (project() / "pargen.xml").string() +
           "\" has no element DNET_BAUD."},
      {"not an integer", ParGenXml(With("PROFI_NB_IN", "many")), false, false, "old",
       "'many' is not a valid integer value"},
      {"bin is a file", std::string(kDefaultParGenText), true, true, "old",
       "Cannot create file \"" + bank().string() + "\". "},
  };
  for (const Case& c : cases) {
    fs::remove_all(project());
    fs::create_directories(project());
    if (!c.binIsMissing) {
      fs::create_directory(project() / "bin");
      WriteBytes(bank(), "old");
    }
    if (c.binIsAFile)
      WriteBytes(project() / "bin", "old");
    if (c.pargen)
      WriteBytes(project() / "pargen.xml", *c.pargen);
    fake.messages.Clear();
    ModalCloser closer;

    Click(test::Find<QPushButton>(window, "CreateBina"));
    const fs::path written = c.binIsAFile ? project() / "bin" : bank();
    EXPECT_EQ(ReadBytes(written), c.bank) << c.what;
    if (c.message.empty()) {
      EXPECT_TRUE(fake.messages.Texts().empty()) << c.what;
      EXPECT_EQ(closer.shown, std::vector<std::string>{"TFBootSer"}) << c.what;
    } else {
      ASSERT_EQ(fake.messages.Texts().size(), 1u) << c.what;
      EXPECT_EQ(fake.messages.Texts()[0].rfind(c.message, 0), 0u)
          << c.what << ": " << fake.messages.Texts()[0];
      EXPECT_TRUE(closer.shown.empty()) << c.what;
    }
  }
}

TEST_F(GatewaySteps, UpdateDeviceWithoutProjectOpensNoWizard) {
  AppState& state = desktop->State();
  state.ProjectDir = state.ProjectsDir;  // as after opening PROJECTS itself
  state.SetProjectPaths();
  ModalCloser closer;
  Click(test::Find<QPushButton>(window, "CreateBina"));
  EXPECT_EQ(fake.messages.Texts(), std::vector<std::string>{"Project not valid"});
  EXPECT_TRUE(closer.shown.empty());
  EXPECT_FALSE(fs::exists(home / "PROJECTS" / "bin"));
  // The GSD step refuses the same way when called without the main window's guard.
  SaveGsdFile(window, state, fake.services);
  EXPECT_EQ(fake.messages.Texts().size(), 2u);
  EXPECT_TRUE(fake.dialogs.lastFilter.empty()) << "no save dialog was shown";
}

}  // namespace
}  // namespace quastor::test
