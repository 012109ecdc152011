// Every window that writes a project file notices another program's write since the window
// read the file: OK asks before writing over it, and No keeps that program's bytes and the
// window open.

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include "canopen/UInfoPdo.h"
#include "canopen/USdo.h"
#include "canopen/UWemcy.h"
#include "canopen/Uemcy.h"
#include "canopen/Updo.h"
#include "desktop/DesktopApplication.h"
#include "gateway/ParGen.h"
#include "gateway/Upargen.h"
#include "j1939/USetPdo.h"
#include "j1939/USetVar.h"
#include "j1939/U_Rec_Info.h"
#include "j1939/U_Sen_Info.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

struct WindowCase {
  const char* file;
  const char* ok;
  QDialog& (*window)(DesktopApplication&);
};

void PrintTo(const WindowCase& c, std::ostream* out) {
  *out << c.file;
}

const WindowCase kWindows[] = {
    {"sdo.xml", "bitbtn1", [](DesktopApplication& d) -> QDialog& { return d.Sdo(); }},
    {"rpdodef.xml", "bitbtn1", [](DesktopApplication& d) -> QDialog& { return d.Pdo(); }},
    {"sdopdo.xml", "LbButton1", [](DesktopApplication& d) -> QDialog& { return d.InfoPdo(); }},
    {"emcydef.xml", "bitbtn1", [](DesktopApplication& d) -> QDialog& { return d.Emcy(); }},
    {"emcyword.xml", "bitbtn1", [](DesktopApplication& d) -> QDialog& { return d.Wemcy(); }},
    {"pargen.xml", "bitbtn1", [](DesktopApplication& d) -> QDialog& { return d.Pargen(); }},
    {"Receive_Frame.xml", "bitbtn1", [](DesktopApplication& d) -> QDialog& { return d.SetVar(); }},
    {"Send_Frame.xml", "LbButton4", [](DesktopApplication& d) -> QDialog& { return d.SetPdo(); }},
    {"Receive_Info.xml", "bitbtn1", [](DesktopApplication& d) -> QDialog& { return d.RecInfo(); }},
    {"Send_Info.xml", "bitbtn1", [](DesktopApplication& d) -> QDialog& { return d.SenInfo(); }},
};

class SecondWriter : public testing::TestWithParam<WindowCase> {
 protected:
  SecondWriter() {
    fs::create_directories(project() / "bin");
    WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=Plant\r\n");
    // Set Communication writes only values it accepts.
    ParGen values;
    values.profiId = "5";
    EXPECT_TRUE(SaveParGen(project() / "pargen.xml", values).ok());
    desktop = std::make_unique<DesktopApplication>(
        fake.services, [this] { return std::make_unique<FakeSerialPort>(port); }, home.path());
  }
  fs::path project() const { return home / "PROJECTS" / "Plant"; }

  TempDir home;
  FakeServices fake;
  FakeSerialPort::Log port;
  std::unique_ptr<DesktopApplication> desktop;
};

TEST_P(SecondWriter, OkAsksBeforeWritingOverAnotherProgramsChange) {
  const WindowCase& c = GetParam();
  const fs::path file = project() / c.file;
  QDialog& window = c.window(*desktop);
  auto* ok = window.findChild<QPushButton*>(c.ok);
  ASSERT_NE(ok, nullptr);
  window.show();
  fake.messages.Clear();
  // Another program writes the file while the window is open.
  const std::string theirs = "<other written=\"by another program\"/>";
  WriteBytes(file, theirs);
  const std::string question = std::string(c.file) +
                               " was changed by another program since this window read it. "
                               "Overwrite it?";

  QTest::mouseClick(ok, Qt::LeftButton);  // the recorder answers No
  EXPECT_EQ(fake.messages.Texts(), std::vector<std::string>{question});
  EXPECT_EQ(ReadBytes(file), theirs);
  EXPECT_TRUE(window.isVisible());

  fake.messages.Clear();
  fake.messages.AnswerNext(true);
  QTest::mouseClick(ok, Qt::LeftButton);
  ASSERT_FALSE(fake.messages.Texts().empty());
  EXPECT_EQ(fake.messages.Texts()[0], question);
  EXPECT_NE(ReadBytes(file), theirs);
  EXPECT_FALSE(window.isVisible());

  // A file nobody else touched is written without a question.
  window.show();
  fake.messages.Clear();
  const std::string ours = ReadBytes(file);
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(fake.messages.Texts(), std::vector<std::string>{});
  EXPECT_EQ(ReadBytes(file), ours);
  EXPECT_FALSE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(EveryWritingWindow, SecondWriter, testing::ValuesIn(kWindows),
                         [](const testing::TestParamInfo<WindowCase>& info) {
                           std::string name = info.param.file;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace quastor::test
