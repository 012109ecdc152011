// The serial port adapter on real devices: a missing device, a file that is no device, and a
// pseudo-terminal, which opens like a serial port but has no DTR line. Under Wine the
// pseudo-terminal is COM9 (scripts/run-windows-tests.sh maps it to /dev/ptmx).

#include <gtest/gtest.h>

#include <algorithm>

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
#endif

TEST(SerialPort, DevicesThatCannotBeOpened) {
  TempDir dir;
  WriteBytes(dir / "plain-file", "not a device");
  struct Case {
    std::string device;
    std::string message;
  } cases[] = {
      {(dir / "missing").string(), "Error accessing specified device (Error: 2) "},
      {(dir / "plain-file").string(), "Invalid device handle, access denied (Error: -1) "},
#ifdef _WIN32
      // Windows opens no folder as a file.
      {dir.path().string(), "Error accessing specified device (Error: 5) "},
      {"COM199", "Error accessing specified device (Error: 2) "},
#else
      {dir.path().string(), "Invalid device handle, access denied (Error: -1) "},
#endif
  };
  for (const Case& c : cases) {
    SystemSerialPort port;
    ASSERT_TRUE(port.SetDeviceName(c.device).ok());
    const Status opened = port.Open();
    ASSERT_FALSE(opened.ok()) << c.device;
    EXPECT_EQ(opened.error(), c.message);
    EXPECT_FALSE(port.IsOpen());
  }
}

#ifdef _WIN32
// The ports offered are the system's, in their numbers' order.
TEST(SerialPort, PortNamesAreTheSystemsComPorts) {
  const std::vector<std::string> names = SerialPortNames();
  ASSERT_NE(std::find(names.begin(), names.end(), "COM9"), names.end())
      << "COM9 is not listed (scripts/run-windows-tests.sh maps it)";
  int previous = 0;
  for (const std::string& name : names) {
    ASSERT_EQ(name.rfind("COM", 0), 0u) << name;
    const int number = std::stoi(name.substr(3));
    EXPECT_GT(number, previous) << name;
    previous = number;
  }
  EXPECT_FALSE(SerialPortNameEditable());
}

// A character device that is no serial port.
TEST(SerialPort, DeviceThatIsNoSerialPortIsRefused) {
  SystemSerialPort port;
  ASSERT_TRUE(port.SetDeviceName("\\\\.\\NUL").ok());
  const Status opened = port.Open();
  ASSERT_FALSE(opened.ok());
  EXPECT_EQ(opened.error().rfind("Error initializing Read/Write Buffers (Error: ", 0), 0u)
      << opened.error();
  EXPECT_FALSE(port.IsOpen());
}
#endif

TEST(SerialPort, PseudoTerminalOpensButHasNoDtrLine) {
#ifdef _WIN32
  const std::string device = "COM9";
  const std::string other_device = "COM1";
  const std::string dtr_error = "EscapeCommFunction failure (Error: ";
#else
  Pty pty;
  ASSERT_FALSE(pty.name.empty()) << "openpty failed";
  const std::string device = pty.name;
  const std::string other_device = "/dev/ttyS0";
  const std::string dtr_error = "EscapeCommFunction failure (Error: -1) ";
#endif
  SystemSerialPort port;
  Status dtr = port.RaiseDtr();
  ASSERT_FALSE(dtr.ok());
  EXPECT_EQ(dtr.error(), "Port not open, unable to complete operation (Error: -1) ");

  ASSERT_TRUE(port.SetDeviceName(device).ok());
  const Status opened = port.Open();
  ASSERT_TRUE(opened.ok()) << opened.error();
  EXPECT_TRUE(port.IsOpen());
  dtr = port.RaiseDtr();
  ASSERT_FALSE(dtr.ok()) << "a pseudo-terminal has no modem lines";
  EXPECT_EQ(dtr.error().rfind(dtr_error, 0), 0u) << dtr.error();

  const Status again = port.Open();
  ASSERT_FALSE(again.ok());
  EXPECT_EQ(again.error(), "Port already assigned (open) (Error: -1) ");
  const Status renamed = port.SetDeviceName(other_device);
  ASSERT_FALSE(renamed.ok());
  EXPECT_EQ(renamed.error(), "Port already assigned (open) (Error: -1) ");
  EXPECT_TRUE(port.SetDeviceName(device).ok()) << "the same name is no change";

#ifndef _WIN32
  // The device is taken while the port holds it. (Under Wine each opening of /dev/ptmx is a
  // terminal of its own, so there this cannot be seen.)
  SystemSerialPort other;
  ASSERT_TRUE(other.SetDeviceName(pty.name).ok());
  const Status taken = other.Open();
  ASSERT_FALSE(taken.ok());
  EXPECT_EQ(taken.error(), "Error accessing specified device (Error: -1) ");
#endif

  port.Close();
  EXPECT_FALSE(port.IsOpen());
  port.Close();  // closing a closed port does nothing
  EXPECT_TRUE(port.SetDeviceName(other_device).ok());
#ifndef _WIN32
  EXPECT_TRUE(other.Open().ok()) << "free again after Close";
#else
  ASSERT_TRUE(port.SetDeviceName(device).ok());
  EXPECT_TRUE(port.Open().ok()) << "opens again after Close";
#endif
}

}  // namespace
}  // namespace quastor::test
