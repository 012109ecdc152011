// The serial port adapter on real devices: a missing device, a file that is no device, and a
// pseudo-terminal, which opens like a serial port but has no DTR line.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <pty.h>
#include <unistd.h>
#endif

#include "platform/ui/SerialPort.h"
#include "tests/support/TestFiles.h"

namespace quastor::test {
namespace {

#ifndef _WIN32
// A pseudo-terminal pair, closed at the end of the test.
struct Pty {
  int master = -1;
  int slave = -1;
  std::string name;
  Pty() {
    char path[256] = {};
    if (openpty(&master, &slave, path, nullptr, nullptr) == 0)
      name = path;
  }
  ~Pty() {
    if (slave >= 0)
      close(slave);
    if (master >= 0)
      close(master);
  }
};

TEST(SerialPort, DevicesThatCannotBeOpened) {
  TempDir dir;
  WriteBytes(dir / "plain-file", "not a device");
  struct Case {
    std::string device;
    std::string message;
  } cases[] = {
      {(dir / "missing").string(), "Error accessing specified device (Error: 2) "},
      {(dir / "plain-file").string(), "Invalid device handle, access denied (Error: -1) "},
      {dir.path().string(), "Invalid device handle, access denied (Error: -1) "},
  };
  for (const Case& c : cases) {
    QtSerialPort port;
    ASSERT_TRUE(port.SetDeviceName(c.device).ok());
    const Status opened = port.Open();
    ASSERT_FALSE(opened.ok()) << c.device;
    EXPECT_EQ(opened.error(), c.message);
    EXPECT_FALSE(port.IsOpen());
  }
}

TEST(SerialPort, PseudoTerminalOpensButHasNoDtrLine) {
  Pty pty;
  ASSERT_FALSE(pty.name.empty()) << "openpty failed";
  QtSerialPort port;
  Status dtr = port.RaiseDtr();
  ASSERT_FALSE(dtr.ok());
  EXPECT_EQ(dtr.error(), "Port not open, unable to complete operation (Error: -1) ");

  ASSERT_TRUE(port.SetDeviceName(pty.name).ok());
  const Status opened = port.Open();
  ASSERT_TRUE(opened.ok()) << opened.error();
  EXPECT_TRUE(port.IsOpen());
  dtr = port.RaiseDtr();
  ASSERT_FALSE(dtr.ok()) << "a pseudo-terminal has no modem lines";
  EXPECT_EQ(dtr.error(), "EscapeCommFunction failure (Error: -1) ");

  const Status again = port.Open();
  ASSERT_FALSE(again.ok());
  EXPECT_EQ(again.error(), "Port already assigned (open) (Error: -1) ");
  const Status renamed = port.SetDeviceName("/dev/ttyS0");
  ASSERT_FALSE(renamed.ok());
  EXPECT_EQ(renamed.error(), "Port already assigned (open) (Error: -1) ");
  EXPECT_TRUE(port.SetDeviceName(pty.name).ok()) << "the same name is no change";

  // The device is taken while the port holds it.
  QtSerialPort other;
  ASSERT_TRUE(other.SetDeviceName(pty.name).ok());
  const Status taken = other.Open();
  ASSERT_FALSE(taken.ok());
  EXPECT_EQ(taken.error(), "Error accessing specified device (Error: -1) ");

  port.Close();
  EXPECT_FALSE(port.IsOpen());
  port.Close();  // closing a closed port does nothing
  EXPECT_TRUE(port.SetDeviceName("/dev/ttyS0").ok());
  EXPECT_TRUE(other.Open().ok()) << "free again after Close";
}
#endif

}  // namespace
}  // namespace quastor::test
