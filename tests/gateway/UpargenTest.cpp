// TFpargen driven as a user would: what it shows, the order of its refusals, what OK and
// Cancel leave in pargen.xml.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/AppState.h"
#include "gateway/GatewayTexts.h"
#include "gateway/Upargen.h"
#include "tests/gateway/GatewayTestFiles.h"
#include "tests/support/FakeServices.h"
#include "tests/support/FindControl.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

namespace fs = std::filesystem;
namespace texts = gateway_texts;

class PargenDialog : public ::testing::Test {
 protected:
  PargenDialog() {
    state.ProjectDir = project.path();
    state.SetProjectPaths();
  }
  fs::path pargen() const { return project / "pargen.xml"; }

  // Shows the dialog afresh, as "Set Communication" does.
  void Show() {
    dialog.hide();
    dialog.setResult(0);
    fake.messages.Clear();
    dialog.show();
  }
  void Type(QLineEdit* edit, const std::string& text) {
    edit->clear();
    QTest::keyClicks(edit, QString::fromStdString(text));
  }
  void ClickOk() { QTest::mouseClick(test::Find<QPushButton>(dialog, "bitbtn1"), Qt::LeftButton); }
  bool Accepted() const { return !dialog.isVisible() && dialog.result() == QDialog::Accepted; }
  std::vector<std::string> Shown() const {
    return {test::Find<QLineEdit>(dialog, "E_Pro_ID")->text().toStdString(),
            test::Find<QComboBox>(dialog, "CB_Pro_Baud")->currentText().toStdString(),
            test::Find<QLineEdit>(dialog, "E_Pro_IN")->text().toStdString(),
            test::Find<QLineEdit>(dialog, "E_Pro_Out")->text().toStdString(),
            test::Find<QLineEdit>(dialog, "E_DNET_ID")->text().toStdString(),
            test::Find<QComboBox>(dialog, "CB_DNET_Baud")->currentText().toStdString()};
  }

  TempDir project;
  AppState state;
  FakeServices fake;
  TFpargen dialog{state, fake.services};
};

TEST_F(PargenDialog, NoFileShowsTheDefaultsAndOkWritesThem) {
  Show();
  EXPECT_EQ(dialog.windowTitle(), "SET COMMUNICATION");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"20", "Auto Baudrate", "20", "20", "10", "500K"}));
  EXPECT_FALSE(test::Find<QComboBox>(dialog, "CB_Pro_Baud")->isEnabled());
  EXPECT_FALSE(test::Find<QComboBox>(dialog, "CB_DNET_Baud")->isEditable())
      << "free text would reach the gateway as 255";
  EXPECT_EQ(test::Find<QComboBox>(dialog, "CB_Pro_Baud")->count(), 11);
  EXPECT_EQ(test::Find<QComboBox>(dialog, "CB_DNET_Baud")->count(), 3);
  EXPECT_TRUE(fake.messages.Texts().empty());
  ClickOk();
  EXPECT_TRUE(Accepted());
  EXPECT_EQ(ReadBytes(pargen()), kDefaultParGenText);
}

// The four range checks in order, at and beyond their bounds, with letters counting as -1.
TEST_F(PargenDialog, OkRefusesOutOfRangeValuesInOrder) {
  struct Case {
    const char *id, *in, *out, *dnet;
    const char* message;  // nullptr: accepted
  } cases[] = {
      {"0", "20", "20", "10", texts::kBadProfiId},
      {"126", "20", "20", "10", texts::kBadProfiId},
      {"a", "20", "20", "10", texts::kBadProfiId},
      {"", "20", "20", "10", texts::kBadProfiId},
      {"1", "20", "20", "10", nullptr},
      {"125", "20", "20", "10", nullptr},
      {"20", "245", "20", "10", texts::kBadProfiIn},
      {"20", "-1", "20", "10", texts::kBadProfiIn},
      {"20", "x", "20", "10", texts::kBadProfiIn},
      {"20", "0", "244", "10", nullptr},
      {"20", "244", "0", "10", nullptr},
      {"20", "20", "245", "10", texts::kBadProfiOut},
      {"20", "20", "2O", "10", texts::kBadProfiOut},
      {"20", "20", "20", "64", texts::kBadDnetId},
      {"20", "20", "20", "b", texts::kBadDnetId},
      {"20", "20", "20", "0", nullptr},
      {"20", "20", "20", "63", nullptr},
      {"0", "300", "20", "10", texts::kBadProfiId},
      {"20", "300", "300", "64", texts::kBadProfiIn},
      {"20", "20", "300", "64", texts::kBadProfiOut},
      {"0x7D", "$F4", " 0", "+63", nullptr},
  };
  for (const Case& c : cases) {
    const std::string at = std::string(c.id) + "/" + c.in + "/" + c.out + "/" + c.dnet;
    fs::remove(pargen());
    Show();
    Type(test::Find<QLineEdit>(dialog, "E_Pro_ID"), c.id);
    Type(test::Find<QLineEdit>(dialog, "E_Pro_IN"), c.in);
    Type(test::Find<QLineEdit>(dialog, "E_Pro_Out"), c.out);
    Type(test::Find<QLineEdit>(dialog, "E_DNET_ID"), c.dnet);
    ClickOk();
    if (c.message != nullptr) {
      EXPECT_EQ(fake.messages.Texts(), std::vector<std::string>{c.message}) << at;
      EXPECT_TRUE(dialog.isVisible()) << at << ": stays open";
      EXPECT_EQ(test::Find<QLineEdit>(dialog, "E_Pro_IN")->text().toStdString(), c.in)
          << at << ": keeps the input";
      EXPECT_FALSE(fs::exists(pargen())) << at;
    } else {
      EXPECT_TRUE(fake.messages.Texts().empty()) << at << ": " << fake.messages.Texts().front();
      EXPECT_TRUE(Accepted()) << at;
      EXPECT_EQ(ReadBytes(pargen()), ParGenXml({{"PROFI_ID", c.id},
                                                {"PROFI_BAUD", "10"},
                                                {"PROFI_NB_IN", c.in},
                                                {"PROFI_NB_OUT", c.out},
                                                {"DNET_DEV_ID", c.dnet},
                                                {"DNET_BAUD", "2"}}))
          << at;
    }
  }
}

TEST_F(PargenDialog, FileValuesAreShownAndRewrittenInTableOrder) {
  WriteBytes(pargen(), ReadBytes(DataFile("gateway/pargen_reordered.xml")));
  Show();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"33", "Auto Baudrate", "100", "7", "5", "250K"}));
  ClickOk();
  EXPECT_TRUE(Accepted());
  EXPECT_EQ(ReadBytes(pargen()), ParGenXml({{"PROFI_ID", "33"},
                                            {"PROFI_BAUD", "10"},
                                            {"PROFI_NB_IN", "100"},
                                            {"PROFI_NB_OUT", "7"},
                                            {"DNET_DEV_ID", "5"},
                                            {"DNET_BAUD", "1"}}));
}

TEST_F(PargenDialog, AnyProfibusBaudShowsAutoBaudrateAndIsWrittenAsTen) {
  WriteBytes(pargen(), ParGenXml(With("PROFI_BAUD", "3")));
  Show();
  EXPECT_EQ(test::Find<QComboBox>(dialog, "CB_Pro_Baud")->currentText(), "Auto Baudrate");
  ClickOk();
  EXPECT_EQ(ReadBytes(pargen()), kDefaultParGenText);
}

TEST_F(PargenDialog, FileWithoutDeviceNetRateNeedsOneChosen) {
  const std::string no_rate = ParGenXml(With("DNET_BAUD", "-1"));
  WriteBytes(pargen(), no_rate);
  Show();
  EXPECT_EQ(test::Find<QComboBox>(dialog, "CB_DNET_Baud")->currentIndex(), -1);
  ClickOk();
  EXPECT_EQ(fake.messages.Texts(), std::vector<std::string>{texts::kBadDnetBaud});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(ReadBytes(pargen()), no_rate);

  fake.messages.Clear();
  test::Find<QComboBox>(dialog, "CB_DNET_Baud")->setCurrentIndex(0);
  ClickOk();
  EXPECT_TRUE(fake.messages.Texts().empty());
  EXPECT_TRUE(Accepted());
  EXPECT_EQ(ReadBytes(pargen()), ParGenXml(With("DNET_BAUD", "0")));
}

// A file that cannot be read fully: the problem is shown, the values read before it are
// shown, the rest keep their defaults, and the dialog still opens.
TEST_F(PargenDialog, UnreadableFileShowsWhatWasReadAndTheProblem) {
  WriteBytes(pargen(), ParGenXml({{"PROFI_ID", "7"},
                                  {"PROFI_BAUD", "10"},
                                  {"PROFI_NB_IN", "1"},
                                  {"PROFI_NB_OUT", "2"},
                                  {"DNET_DEV_ID", "3"},
                                  {"DNET_BAUD", "fast"}}));
  Show();
  ASSERT_EQ(fake.messages.Messages().size(), 1u);
  EXPECT_EQ(fake.messages.Messages()[0].kind, MessageRecorder::Kind::kError);
  EXPECT_EQ(fake.messages.Messages()[0].text, "'fast' is not a valid integer value");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"7", "Auto Baudrate", "1", "2", "3", "500K"}));
  EXPECT_TRUE(dialog.isVisible());
  // OK asks before defaults take the place of what was not read; No writes nothing.
  const std::string damaged = ReadBytes(pargen());
  fake.messages.Clear();
  ClickOk();
  EXPECT_EQ(fake.messages.Texts(),
            std::vector<std::string>{"'fast' is not a valid integer value\nThe dialog shows "
                                     "default values for what it could not read, and OK writes "
                                     "them to pargen.xml. Write the file anyway?"});
  EXPECT_EQ(ReadBytes(pargen()), damaged);
  EXPECT_TRUE(dialog.isVisible());
  fake.messages.AnswerNext(true);
  ClickOk();
  EXPECT_TRUE(Accepted());
  EXPECT_NE(ReadBytes(pargen()), damaged);

  WriteBytes(pargen(), "<Par_Gen><PROFI_ID>7</PROFI_ID>");
  Show();
  ASSERT_EQ(fake.messages.Texts().size(), 1u);
  EXPECT_NE(fake.messages.Texts()[0].find("is not a valid XML document"), std::string::npos);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"20", "Auto Baudrate", "20", "20", "10", "500K"}));
}

TEST_F(PargenDialog, CancelWritesNothingAndTheNextShowingStartsAfresh) {
  const std::string before = ParGenXml(With("PROFI_ID", "44"));
  WriteBytes(pargen(), before);
  Show();
  Type(test::Find<QLineEdit>(dialog, "E_Pro_ID"), "45");
  test::Find<QComboBox>(dialog, "CB_DNET_Baud")->setCurrentIndex(0);
  QTest::mouseClick(test::Find<QPushButton>(dialog, "bitbtn2"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(ReadBytes(pargen()), before);
  Show();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"44", "Auto Baudrate", "20", "20", "10", "500K"}));
}

TEST_F(PargenDialog, FailedWriteIsShownAndTheDialogStaysOpen) {
  const std::string before = ParGenXml(With("PROFI_ID", "44"));
  WriteBytes(pargen(), before);
  Show();
  Type(test::Find<QLineEdit>(dialog, "E_Pro_ID"), "45");
  {
    FileSizeLimit limit(16);
    ClickOk();
  }
  ASSERT_EQ(fake.messages.Texts().size(), 1u);
  EXPECT_EQ(fake.messages.Texts()[0].rfind("Cannot create file \"" + pargen().string() + "\". ", 0),
            0u)
      << fake.messages.Texts()[0];
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(test::Find<QLineEdit>(dialog, "E_Pro_ID")->text(), "45");
  EXPECT_EQ(ReadBytes(pargen()), before);
}

}  // namespace
}  // namespace quastor::test
