// The device description windows as the program wires them: "Pick object…" (Shift+F4) on the
// SDO table's CAN A page fills the real entry on CAN B from the device's EDS file, and
// "Import from DBC…" fills a frame list's free rows from a network's DBC file.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "canopen/USdo.h"
#include "desktop/DesktopApplication.h"
#include "devices/UDbcImport.h"
#include "devices/UPickObject.h"
#include "j1939/USetVar.h"
#include "platform/ui/QtText.h"
#include "platform/ui/StringGrid.h"
#include "tests/support/FindControl.h"
#include "tests/support/ModalHelper.h"
#include "tests/support/PlantProject.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class DeviceWindows : public PlantProjectTest {
 protected:
  // The SDO table shown, entry row of its CAN A page with RW rw and the real entry's cells.
  StringGrid& SdoRow(int row, const char* rw, const Texts& real) {
    TFsdo& sdo = desktop->Sdo();
    sdo.show();
    StringGridModel& model = Find<StringGrid>(sdo, "sga")->Model();
    model.SetCell(row, 0, rw);
    for (int c = 0; c < 4; ++c)
      model.SetCell(row, 4 + c, real[static_cast<std::size_t>(c)]);
    Find<StringGrid>(sdo, "sga")->setCurrentIndex(model.index(row, 1));
    return *Find<StringGrid>(sdo, "sga");
  }
  Texts RealEntry(const StringGrid& grid, int row) {
    Texts cells;
    for (int c = 4; c < 8; ++c)
      cells.push_back(grid.Model().Cell(row, c));
    return cells;
  }
};

// Catches: the pick not offered on Shift+F4, the cells filled into the virtual entry's
// columns or the nbyte not from the data type, the chosen file not copied into the project
// nor remembered for the next showing.
TEST_F(DeviceWindows, PickObjectFillsTheRealEntryAndKeepsTheFileInTheProject) {
  StringGrid& grid = SdoRow(0, "1", {"", "", "", ""});
  fake.dialogs.answers.push_back(DataFile("devices/eds/sound.eds"));
  WhenModalShown([](QWidget* window) {
    auto* pick = qobject_cast<TFPickObject*>(window);
    ASSERT_NE(pick, nullptr);
    QTest::mouseClick(Find<QPushButton>(pick, "BChooseFile"), Qt::LeftButton);
    QTest::keyClicks(Find<QLineEdit>(pick, "EFilter"), "heartbeat");
    EXPECT_EQ(Find<StringGrid>(pick, "sgObjects")->Model().rowCount(), 1);
    QTest::mouseClick(Find<QPushButton>(pick, "bitbtn1"), Qt::LeftButton);
  });
  QTest::keyClick(&grid, Qt::Key_F4, Qt::ShiftModifier);
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  EXPECT_EQ(RealEntry(grid, 0), (Texts{"0x1017", "0", "2", "Producer heartbeat time"}));
  EXPECT_EQ(grid.Model().Cell(0, 1), "") << "the virtual entry stays as it was";
  EXPECT_EQ(ReadBytes(project() / "devices" / "sound.eds"),
            ReadBytes(DataFile("devices/eds/sound.eds")));

  // The next pick opens the project's copy without asking for a file.
  grid.setCurrentIndex(grid.Model().index(1, 1));
  WhenModalShown([](QWidget* window) {
    auto* pick = qobject_cast<TFPickObject*>(window);
    ASSERT_NE(pick, nullptr);
    EXPECT_EQ(S(Find<QLabel>(pick, "LFile")->text()), "sound.eds (IO Block 8): 10 objects");
    QTest::keyClicks(Find<QLineEdit>(pick, "EFilter"), "0x1018");
    Find<StringGrid>(pick, "sgObjects")
        ->setCurrentIndex(Find<StringGrid>(pick, "sgObjects")->Model().index(1, 0));
    QTest::mouseClick(Find<QPushButton>(pick, "bitbtn1"), Qt::LeftButton);
  });
  QTest::keyClick(&grid, Qt::Key_F4, Qt::ShiftModifier);
  EXPECT_EQ(RealEntry(grid, 1), (Texts{"0x1018", "1", "4", "Vendor-ID"}));
  EXPECT_TRUE(fake.dialogs.answers.empty());
}

// Catches: an object the entry cannot write filled all the same, or filled in part; a refusal
// that does not say why; the window closing on a refusal, so that no other object can be
// picked.
TEST_F(DeviceWindows, PickRefusesAnObjectTheEntryCannotWriteAndChangesNothing) {
  fs::create_directories(project() / "devices");
  WriteBytes(project() / "devices" / "io.eds", ReadBytes(DataFile("devices/eds/sound.eds")));
  WriteBytes(project() / "devices" / "devices.ini", "[SDO]\r\nEDS=io.eds\r\n");
  StringGrid& grid = SdoRow(3, "1", {"0x2000", "1", "2", "mine"});
  bool stayed_open = false;
  WhenModalShown([&stayed_open](QWidget* window) {
    auto* pick = qobject_cast<TFPickObject*>(window);
    ASSERT_NE(pick, nullptr);
    QTest::keyClicks(Find<QLineEdit>(pick, "EFilter"), "vendor");
    QTest::mouseClick(Find<QPushButton>(pick, "bitbtn1"), Qt::LeftButton);
    stayed_open = pick->isVisible();
    QTest::mouseClick(Find<QPushButton>(pick, "bitbtn2"), Qt::LeftButton);
  });
  EXPECT_FALSE(grid.PickRow(3));
  EXPECT_TRUE(stayed_open);
  EXPECT_EQ(Messages(), Texts{"Object 0x1018, sub-index 1 (\"Vendor-ID\"): its access is \"ro\", "
                              "so it cannot be written, and the entry has RW 1. Nothing was "
                              "filled."});
  EXPECT_EQ(RealEntry(grid, 3), (Texts{"0x2000", "1", "2", "mine"}));
}

// Catches: the import writing past row 16 or over a filled row, the frames left out not told,
// a standard identifier's message offered, the import taking more than one undo step, the
// frames' lengths not reaching the file for the info windows.
TEST_F(DeviceWindows, DbcImportStopsAtRowSixteenAndSaysHowManyWereLeft) {
  std::string rows;
  for (int r = 0; r < 14; ++r)
    rows += "<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\" Delete=\"N\" Mnemonic=\"r" +
            std::to_string(r) + "\"/>";
  WriteBytes(project() / "Receive_Frame.xml", "<Receive_Frames>" + rows + "</Receive_Frames>");
  WriteBytes(home / "net.dbc",
             "VERSION \"\"\n\nBU_: A\n\n"
             "BO_ 2364539904 EEC1: 8 A\n\n"     // 0x0CF00400
             "BO_ 291 Status: 4 A\n\n"          // standard identifier
             "BO_ 2566844926 CCVS: 8 A\n\n"     // 0x18FEF1FE
             "BO_ 2566849790 Lfe: 6 A\n\n"      // 0x18FF04FE
             "BO_ 2566849534 Other: 2 A\n\n");  // 0x18FF03FE
  TFSetVar& list = desktop->SetVar();
  list.show();
  ASSERT_TRUE(Find<QPushButton>(list, "bitbtnImport")->isVisible());
  EXPECT_EQ(Find<QPushButton>(list, "bitbtnImport")->text(), "Import from DBC\u2026");
  fake.dialogs.answers.push_back(home / "net.dbc");
  WhenModalShown([](QWidget* window) {
    auto* import = qobject_cast<TFDbcImport*>(window);
    ASSERT_NE(import, nullptr);
    QTest::mouseClick(Find<QPushButton>(import, "BChooseFile"), Qt::LeftButton);
    EXPECT_EQ(Find<StringGrid>(import, "sgMessages")->Model().rowCount(), 4);
    EXPECT_EQ(S(Find<QLabel>(import, "LLeftOut")->text()),
              "Not listed, since no frame list row can hold them: Status (11-bit identifier, "
              "no J1939 PGN).");
    Find<StringGrid>(import, "sgMessages")->selectAll();
    QTest::mouseClick(Find<QPushButton>(import, "bitbtn1"), Qt::LeftButton);
  });
  QTest::mouseClick(Find<QPushButton>(list, "bitbtnImport"), Qt::LeftButton);
  EXPECT_EQ(Messages(), Texts{"2 messages did not fit: the list holds at most 16 frames."});
  const StringGridModel& grid = Find<StringGrid>(list, "sga")->Model();
  ASSERT_EQ(grid.rowCount(), 16);
  EXPECT_EQ(grid.Rows()[13], (Texts{"0", "0xFEF1", "0", "N", "r13"}));
  EXPECT_EQ(grid.Rows()[14], (Texts{"0", "0xF004", "0", "N", "EEC1"}));
  EXPECT_EQ(grid.Rows()[15], (Texts{"0", "0xFEF1", "254", "N", "CCVS"}));

  ASSERT_TRUE(list.Undo());
  EXPECT_EQ(grid.Rows()[14], (Texts{"", "", "", "", ""})) << "one undo takes the import back";
  ASSERT_TRUE(list.Redo());
  // The file chosen is offered again in the same project, not once another one is open.
  const fs::path plant = desktop->State().ProjectDir;
  for (const bool other : {false, true}) {
    desktop->State().ProjectDir = other ? home / "PROJECTS" / "Other" : plant;
    std::string shown;
    WhenModalShown([&shown](QWidget* window) {
      shown = S(Find<QLabel>(window, "LFile")->text());
      qobject_cast<QDialog*>(window)->reject();
    });
    QTest::mouseClick(Find<QPushButton>(list, "bitbtnImport"), Qt::LeftButton);
    EXPECT_EQ(shown, other ? "No DBC file chosen." : "net.dbc: 4 messages");
  }
  desktop->State().ProjectDir = plant;
  QTest::mouseClick(Find<QPushButton>(list, "bitbtn1"), Qt::LeftButton);
  EXPECT_FALSE(list.isVisible());
  const std::string written = ReadBytes(project() / "Receive_Frame.xml");
  EXPECT_NE(written.find("<row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"254\" Delete=\"N\" "
                         "Mnemonic=\"CCVS\" Dim=\"8\"/></Receive_Frames>"),
            std::string::npos)
      << written;
}

// Catches: every message the lists cannot hold named in the window, so that a DBC file of a
// few hundred of them crushes the list of those that can be chosen to a row or two.
TEST_F(DeviceWindows, DbcImportNamesOnlyTheFirstMessagesLeftOut) {
  std::string dbc = "VERSION \"\"\n\nBU_: A\n\nBO_ 2566844926 CCVS: 8 A\n\n";
  for (int m = 1; m <= 300; ++m)
    dbc += "BO_ " + std::to_string(m) + " Standard" + std::to_string(m) + ": 8 A\n\n";
  WriteBytes(home / "big.dbc", dbc);
  TFSetVar& list = desktop->SetVar();
  list.show();
  fake.dialogs.answers.push_back(home / "big.dbc");
  WhenModalShown([](QWidget* window) {
    auto* import = qobject_cast<TFDbcImport*>(window);
    ASSERT_NE(import, nullptr);
    QTest::mouseClick(Find<QPushButton>(import, "BChooseFile"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Find<StringGrid>(import, "sgMessages")->Model().rowCount(), 1);
    EXPECT_EQ(S(Find<QLabel>(import, "LLeftOut")->text()),
              "Not listed, since no frame list row can hold them: Standard1 (11-bit identifier, "
              "no J1939 PGN); Standard2 (11-bit identifier, no J1939 PGN); Standard3 (11-bit "
              "identifier, no J1939 PGN); Standard4 (11-bit identifier, no J1939 PGN); Standard5 "
              "(11-bit identifier, no J1939 PGN); and 295 more.");
    EXPECT_GT(Find<StringGrid>(import, "sgMessages")->height(),
              Find<QLabel>(import, "LLeftOut")->height());
    QTest::mouseClick(Find<QPushButton>(import, "bitbtn2"), Qt::LeftButton);
  });
  QTest::mouseClick(Find<QPushButton>(list, "bitbtnImport"), Qt::LeftButton);
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace quastor::test
