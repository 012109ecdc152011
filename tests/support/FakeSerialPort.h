#pragma once
// A serial port for window tests.

#include <string>
#include <vector>

#include "platform/ui/SerialPort.h"

namespace quastor::test {

// A port that does what it is told and writes down what was asked of it.
class FakeSerialPort : public SerialPort {
 public:
  struct Log {
    std::vector<std::string> calls;
    bool open = false;
    bool openFails = false;
    bool dtrFails = false;
    std::vector<std::string> names = {"COM1", "COM2"};  // the ports offered
  };
  explicit FakeSerialPort(Log& log) : log_(log) {}
  void Close() override {
    log_.calls.push_back("close");
    log_.open = false;
  }
  Status SetDeviceName(const std::string& name) override {
    log_.calls.push_back("name " + name);
    return Status::Ok();
  }
  Status Open() override {
    log_.calls.push_back("open");
    if (log_.openFails)
      return Failure{SerialPortError(serial_texts::kCannotAccess, 2)};
    log_.open = true;
    return Status::Ok();
  }
  Status RaiseDtr() override {
    log_.calls.push_back("dtr");
    if (log_.dtrFails)
      return Failure{SerialPortError(serial_texts::kDtrFailure, -1)};
    return Status::Ok();
  }
  bool IsOpen() const override { return log_.open; }
  std::vector<std::string> PortNames() const override { return log_.names; }

 private:
  Log& log_;
};

}  // namespace quastor::test
