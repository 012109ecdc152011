#pragma once
// A serial port as the update wizard uses it: open the named device at 9600 baud, 8 data bits,
// no parity, 1 stop bit, raise DTR, close. Behind an interface so that tests can stand in.
// The system's port is SystemSerialPort: QSerialPort on Linux (SerialPortQt.cpp), the Win32
// communications functions on Windows (SerialPortWin32.cpp).

#include <memory>
#include <string>
#include <vector>

#include "platform/Result.h"

namespace quastor {

// The serial port's own words. Every failure is one of these texts followed by
// " (Error: %d) ", %d being the system's error code where there is one and -1 otherwise.
namespace serial_texts {
inline constexpr char kAlreadyOpen[] = "Port already assigned (open)";
inline constexpr char kCannotAccess[] = "Error accessing specified device";
inline constexpr char kNotCharacterDevice[] = "Invalid device handle, access denied";
inline constexpr char kTimeouts[] = "Error updating CommTimeouts";
inline constexpr char kLineSettings[] = "Error updating DataControlBlock";
inline constexpr char kBuffers[] = "Error initializing Read/Write Buffers";
inline constexpr char kNotOpen[] = "Port not open, unable to complete operation";
inline constexpr char kDtrFailure[] = "EscapeCommFunction failure";
inline constexpr char kErrorSuffix[] = " (Error: %d) ";
}  // namespace serial_texts

// text followed by " (Error: code) ".
std::string SerialPortError(const char* text, int code);

// The port names to offer: on Windows the COM ports the system knows ("COM1", "COM2", ... in
// their numbers' order); elsewhere the system's serial devices (full paths), where the user may
// also type a device path.
std::vector<std::string> SerialPortNames();
bool SerialPortNameEditable();

class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Releases the port; no effect when it is closed. Never fails.
  virtual void Close() = 0;
  // The device to open next; refused while the port is open under another name.
  virtual Status SetDeviceName(const std::string& name) = 0;
  // Opens the device for reading and writing, exclusively, and applies the line settings.
  virtual Status Open() = 0;
  // Sets the DTR line of the open port.
  virtual Status RaiseDtr() = 0;
  virtual bool IsOpen() const = 0;
  // The port names to offer now (see SerialPortNames).
  virtual std::vector<std::string> PortNames() const = 0;
};

// The serial port of the system. Flow control is left as the port has it.
class SystemSerialPort : public SerialPort {
 public:
  SystemSerialPort();
  ~SystemSerialPort() override;
  void Close() override;
  Status SetDeviceName(const std::string& name) override;
  Status Open() override;
  Status RaiseDtr() override;
  bool IsOpen() const override;
  std::vector<std::string> PortNames() const override { return SerialPortNames(); }

 private:
  struct Device;  // the system's handle of the open port
  std::unique_ptr<Device> device_;
  std::string name_;
};

}  // namespace quastor
