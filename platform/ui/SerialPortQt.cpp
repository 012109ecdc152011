// The serial port on Linux, through QSerialPort.

#include <algorithm>
#include <cerrno>

#include <QSerialPort>
#include <QSerialPortInfo>

#include <sys/stat.h>

#include "platform/ui/QtText.h"
#include "platform/ui/SerialPort.h"

namespace quastor {

struct SystemSerialPort::Device {
  QSerialPort port;
};

SystemSerialPort::SystemSerialPort() : device_(std::make_unique<Device>()) {}

SystemSerialPort::~SystemSerialPort() {
  Close();
}

void SystemSerialPort::Close() {
  if (!device_->port.isOpen())
    return;
  device_->port.clear(QSerialPort::AllDirections);
  device_->port.close();
}

Status SystemSerialPort::SetDeviceName(const std::string& name) {
  if (device_->port.isOpen() && name != name_) {
    return Failure{SerialPortError(serial_texts::kAlreadyOpen, -1)};
  }
  name_ = name;
  return Status::Ok();
}

Status SystemSerialPort::Open() {
  QSerialPort& port = device_->port;
  if (port.isOpen())
    return Failure{SerialPortError(serial_texts::kAlreadyOpen, -1)};
  // QSerialPort takes a bare name as a device under /dev.
  const std::string path = !name_.empty() && name_[0] == '/' ? name_ : "/dev/" + name_;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    return Failure{SerialPortError(serial_texts::kCannotAccess, errno)};
  }
  if (!S_ISCHR(info.st_mode)) {
    return Failure{SerialPortError(serial_texts::kNotCharacterDevice, -1)};
  }
  port.setPortName(Q(name_));
  if (!port.open(QIODevice::ReadWrite)) {
    return Failure{SerialPortError(serial_texts::kCannotAccess, -1)};
  }
  if (!port.setBaudRate(QSerialPort::Baud9600) || !port.setDataBits(QSerialPort::Data8) ||
      !port.setParity(QSerialPort::NoParity) || !port.setStopBits(QSerialPort::OneStop)) {
    port.close();
    return Failure{SerialPortError(serial_texts::kLineSettings, -1)};
  }
  port.setReadBufferSize(4096);
  return Status::Ok();
}

Status SystemSerialPort::RaiseDtr() {
  if (!device_->port.isOpen())
    return Failure{SerialPortError(serial_texts::kNotOpen, -1)};
  if (!device_->port.setDataTerminalReady(true)) {
    return Failure{SerialPortError(serial_texts::kDtrFailure, -1)};
  }
  return Status::Ok();
}

bool SystemSerialPort::IsOpen() const {
  return device_->port.isOpen();
}

std::vector<std::string> SerialPortNames() {
  std::vector<std::string> names;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    names.push_back(S(info.systemLocation()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool SerialPortNameEditable() {
  return true;
}

}  // namespace quastor
