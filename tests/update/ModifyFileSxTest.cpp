// The firmware generation dialog driven as a user would: its show checks, a run with the flash
// programmer's start, the bank marks, and runs that must not start the programmer.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/update/FirmwareInstallation.h"
#include "update/UModifyFileSx.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

struct Generator : FirmwareInstallation {
  FakeServices fakes;
  std::unique_ptr<TFModifyFileSx> dialog;

  Generator() { WriteBytes(Program("FlashWrite"), ""); }
  void Show() {
    if (!dialog)
      dialog = std::make_unique<TFModifyFileSx>(state, fakes.services);
    dialog->show();
  }
  void Execute() {
    QTest::mouseClick(test::Find<QPushButton>(dialog, "LbButton2"), Qt::LeftButton);
  }
  Texts Messages() const { return fakes.messages.Texts(); }
};

TEST(ModifyFileSx, ShowChecksTheInstallation) {
  struct Case {
    const char* name;
    std::function<void(Generator&)> damage;
    const char* message;
    const char* lookedFor;  // below the application directory
  } cases[] = {
      {"MASTER missing", [](Generator& g) { fs::remove_all(g.state.MasterDir); },
       "Error! Firmware Directory not Found! Please reinstall the software.", "MASTER"},
      {"firmware file missing", [](Generator& g) { fs::remove(g.state.MasterDir / "sx4375.sx"); },
       "Error! Firmware File not Found! Please reinstall the software.", "MASTER/sx4375.sx"},
  };
  for (const Case& c : cases) {
    Generator generator;
    c.damage(generator);
    generator.Show();
    ASSERT_EQ(generator.fakes.messages.Messages().size(), 1u) << c.name;
    EXPECT_EQ(generator.fakes.messages.Messages()[0].kind, MessageRecorder::Kind::kError);
    const fs::path looked_for = (generator.state.AppDir / c.lookedFor).make_preferred();
    EXPECT_EQ(generator.Messages(),
              Texts{std::string(c.message) + " (looked for " + looked_for.string() + ")"});
    EXPECT_FALSE(test::Find<QPushButton>(generator.dialog, "LbButton2")->isEnabled()) << c.name;
  }
}

TEST(ModifyFileSx, EveryShowingResetsPortProgressAndBanks) {
  Generator generator;
  generator.Show();
  test::Find<QComboBox>(generator.dialog, "cbport")->setCurrentIndex(5);
  generator.Execute();
  EXPECT_EQ(test::Find<QProgressBar>(generator.dialog, "Avanzamento")->value(),
            test::Find<QProgressBar>(generator.dialog, "Avanzamento")->maximum());
  generator.dialog->hide();
  generator.Show();
  EXPECT_TRUE(generator.Messages().empty()) << generator.Messages().front();
  EXPECT_EQ(test::Find<QComboBox>(generator.dialog, "cbport")->currentText(), "COM1");
  EXPECT_EQ(test::Find<QComboBox>(generator.dialog, "cbport")->count(), 8);
  EXPECT_EQ(test::Find<QProgressBar>(generator.dialog, "Avanzamento")->value(), 0);
  EXPECT_TRUE(test::Find<QPushButton>(generator.dialog, "LbButton2")->isEnabled());
  EXPECT_EQ(test::Find<QLineEdit>(generator.dialog, "NewFileSx")->text(), "New_sx4375.sx");
  EXPECT_FALSE(test::Find<QLineEdit>(generator.dialog, "NewFileSx")->isVisible());
  EXPECT_FALSE(test::Find<QGroupBox>(generator.dialog, "GbBank")->isVisible());
  const bool selected[] = {true, true, false, false, false};
  for (int bank = 1; bank <= kBankCount; ++bank) {
    QCheckBox* box = test::Find<QCheckBox>(generator.dialog.get(), "Cbbank" + std::to_string(bank));
    EXPECT_EQ(box->isVisibleTo(test::Find<QGroupBox>(generator.dialog, "GbBank")),
              selected[bank - 1])
        << bank;
    EXPECT_EQ(box->isChecked(), selected[bank - 1]) << bank;
    EXPECT_FALSE(generator.dialog->Marked(bank)) << bank;
  }
}

TEST(ModifyFileSx, CompleteRunStartsTheFlashProgrammer) {
  Generator generator;
  WriteBytes(generator.NewFile(), "firmware of an earlier run");
  generator.Show();
  test::Find<QComboBox>(generator.dialog, "cbport")->setCurrentIndex(7);
  generator.Execute();
  EXPECT_TRUE(generator.Messages().empty()) << generator.Messages().front();
  ASSERT_EQ(generator.fakes.shell.calls.size(), 1u);
  const FakeShell::Call& call = generator.fakes.shell.calls[0];
  EXPECT_FALSE(call.waited);
  EXPECT_EQ(call.program, generator.Program("FlashWrite"));
  EXPECT_EQ(call.parameters, "\"" + generator.NewFile().string() +
                                 "\"\xC2\xB6"
                                 "7");
  EXPECT_NE(ReadBytes(generator.NewFile()).find("S224388000"), std::string::npos);
  EXPECT_TRUE(generator.Leftovers().empty());
  EXPECT_EQ(test::Find<QProgressBar>(generator.dialog, "Avanzamento")->value(),
            test::Find<QProgressBar>(generator.dialog, "Avanzamento")->maximum());
}

TEST(ModifyFileSx, BankNotFoundIsMarkedRedUntilTheNextRun) {
  Generator generator;
  WriteBytes(generator.state.MasterDir / "sx4375.sx", Fixture("sx4375_no_bank2.sx"));
  generator.Show();
  generator.Execute();
  const bool marked[] = {false, true, true, true, true};
  for (int bank = 1; bank <= kBankCount; ++bank) {
    EXPECT_EQ(generator.dialog->Marked(bank), marked[bank - 1]) << bank;
  }
  EXPECT_EQ(generator.fakes.shell.calls.size(), 1u) << "the run is complete";

  WriteBytes(generator.state.MasterDir / "sx4375.sx", Fixture("sx4375.sx"));
  generator.Execute();
  for (int bank = 1; bank <= kBankCount; ++bank)
    EXPECT_FALSE(generator.dialog->Marked(bank));
}

// The run keeps the window painting its progress; clicks that arrive meanwhile are dropped,
// so one press of Execute is one run and one start of the programmer.
TEST(ModifyFileSx, ClicksDuringTheRunAreDropped) {
  Generator generator;
  generator.Show();
  int clicks = 0;
  bool enabled_during_run = false;
  QTimer poke;
  QObject::connect(&poke, &QTimer::timeout, [&] {
    enabled_during_run = enabled_during_run || generator.dialog->isEnabled();
    QTest::mouseClick(test::Find<QPushButton>(generator.dialog, "LbButton2"), Qt::LeftButton);
    ++clicks;
  });
  poke.start(0);
  generator.Execute();
  poke.stop();
  QApplication::processEvents();
  EXPECT_GT(clicks, 0) << "the run let the window take events";
  EXPECT_FALSE(enabled_during_run);
  EXPECT_TRUE(generator.dialog->isEnabled());
  EXPECT_EQ(generator.fakes.shell.calls.size(), 1u);
}

TEST(ModifyFileSx, ProgrammerStartsOnlyAfterACompleteRun) {
  struct Case {
    const char* name;
    std::function<void(Generator&)> damage;
    const char* message;
  } cases[] = {
      {"bank image missing", [](Generator& g) { fs::remove(g.Bin("bank2.bin")); },
       "File bank2.bin Not Found,Abort Procedure"},
      {"new name emptied",
       [](Generator& g) { test::Find<QLineEdit>(g.dialog, "NewFileSx")->clear(); },
       "File New *.Sx Not Found,Abort Procedure"},
      {"programmer missing", [](Generator& g) { fs::remove(g.Program("FlashWrite")); },
       "FlashWrite.exe Not Found, Procedure Aborted"},
  };
  for (const Case& c : cases) {
    Generator generator;
    WriteBytes(generator.NewFile(), "firmware of an earlier run");
    generator.Show();
    c.damage(generator);
    generator.Execute();
    ASSERT_EQ(generator.fakes.messages.Messages().size(), 1u) << c.name;
    EXPECT_EQ(generator.fakes.messages.Messages()[0].kind, MessageRecorder::Kind::kPlain);
    EXPECT_EQ(generator.Messages(), Texts{c.message});
    EXPECT_TRUE(generator.fakes.shell.calls.empty()) << c.name;
    EXPECT_TRUE(generator.Leftovers().empty()) << c.name;
  }
}

}  // namespace
}  // namespace quastor::test
