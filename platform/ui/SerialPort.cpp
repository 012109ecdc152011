#include "platform/ui/SerialPort.h"

#include <algorithm>
#include <cerrno>

#include <QSerialPort>
#include <QSerialPortInfo>

#include "platform/Text.h"
#include "platform/ui/QtText.h"

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace quastor {

std::string SerialPortError(const char* text, int code) {
  return std::string(text) + FormatText(serial_texts::kErrorSuffix, {std::to_string(code)});
}

QtSerialPort::QtSerialPort() : port_(std::make_unique<QSerialPort>()) {}

QtSerialPort::~QtSerialPort() {
  Close();
}

void QtSerialPort::Close() {
  if (!port_->isOpen())
    return;
  port_->clear(QSerialPort::AllDirections);
  port_->close();
}

Status QtSerialPort::SetDeviceName(const std::string& name) {
  if (port_->isOpen() && name != name_) {
    return Failure{SerialPortError(serial_texts::kAlreadyOpen, -1)};
  }
  name_ = name;
  return Status::Ok();
}

Status QtSerialPort::Open() {
  if (port_->isOpen())
    return Failure{SerialPortError(serial_texts::kAlreadyOpen, -1)};
#ifndef Q_OS_WIN
  // QSerialPort takes a bare name as a device under /dev.
  const std::string path = !name_.empty() && name_[0] == '/' ? name_ : "/dev/" + name_;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    return Failure{SerialPortError(serial_texts::kCannotAccess, errno)};
  }
  if (!S_ISCHR(info.st_mode)) {
    return Failure{SerialPortError(serial_texts::kNotCharacterDevice, -1)};
  }
#endif
  port_->setPortName(Q(name_));
  if (!port_->open(QIODevice::ReadWrite)) {
    return Failure{SerialPortError(serial_texts::kCannotAccess, -1)};
  }
  if (!port_->setBaudRate(QSerialPort::Baud9600) || !port_->setDataBits(QSerialPort::Data8) ||
      !port_->setParity(QSerialPort::NoParity) || !port_->setStopBits(QSerialPort::OneStop)) {
    port_->close();
    return Failure{SerialPortError(serial_texts::kLineSettings, -1)};
  }
  port_->setReadBufferSize(4096);
  return Status::Ok();
}

Status QtSerialPort::RaiseDtr() {
  if (!port_->isOpen())
    return Failure{SerialPortError(serial_texts::kNotOpen, -1)};
  if (!port_->setDataTerminalReady(true)) {
    return Failure{SerialPortError(serial_texts::kDtrFailure, -1)};
  }
  return Status::Ok();
}

bool QtSerialPort::IsOpen() const {
  return port_->isOpen();
}

std::vector<std::string> SerialPortNames() {
  std::vector<std::string> names;
#ifdef Q_OS_WIN
  for (int i = 1; i <= 10; ++i)
    names.push_back("COM" + std::to_string(i));
#else
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    names.push_back(S(info.systemLocation()));
  }
  std::sort(names.begin(), names.end());
#endif
  return names;
}

bool SerialPortNameEditable() {
#ifdef Q_OS_WIN
  return false;
#else
  return true;
#endif
}

}  // namespace quastor
