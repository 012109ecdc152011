#pragma once
// The fixture of the window tests: the application wired as the shipped program wires it, on a
// temporary application directory whose remembered project is PROJECTS/Plant (with its bin).

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <QPushButton>
#include <QTest>

#include "desktop/DesktopApplication.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeServices.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {

class PlantProjectTest : public ::testing::Test {
 protected:
  // remembered: the project name as the settings file holds it.
  explicit PlantProjectTest(const char* remembered = "Plant") {
    std::filesystem::create_directories(project() / "bin");
    WriteBytes(home / "Quastor_DNET2PROFI.ini",
               std::string("[lastproj]\r\nprojectname=") + remembered + "\r\n");
    desktop = std::make_unique<DesktopApplication>(
        fake.services, [this] { return std::make_unique<FakeSerialPort>(port); }, home.path());
  }
  std::filesystem::path project() const { return home / "PROJECTS" / "Plant"; }
  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  std::vector<std::string> Messages() const { return fake.messages.Texts(); }

  TempDir home;
  FakeServices fake;
  FakeSerialPort::Log port;
  std::unique_ptr<DesktopApplication> desktop;
};

}  // namespace quastor::test
