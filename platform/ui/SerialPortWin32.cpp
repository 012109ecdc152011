// The serial port on Windows, through the Win32 communications functions: the device is opened
// as \\.\COMn (which also reaches COM10 and above), set to 9600 baud 8N1 with SetCommState, and
// DTR is raised with EscapeCommFunction. The ports offered are those the system lists under
// HARDWARE\DEVICEMAP\SERIALCOMM and among its DOS device names.

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <set>

#include "platform/ui/SerialPort.h"

namespace quastor {
namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty())
    return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// The number of a port called "COMn" (any case), or 0 for any other name.
unsigned PortNumber(const std::wstring& name) {
  if (name.size() < 4 || name.size() > 6 || _wcsnicmp(name.c_str(), L"COM", 3) != 0)
    return 0;
  unsigned number = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (!std::iswdigit(name[i]))
      return 0;
    number = number * 10 + static_cast<unsigned>(name[i] - L'0');
  }
  return number;
}

// The device path of a port name: "COM3" is \\.\COM3; a name that already is a path (it holds
// a backslash or a drive's colon) is opened as it is.
std::wstring DevicePath(const std::string& name) {
  const std::wstring wide = Wide(name);
  if (wide.find_first_of(L"\\/:") != std::wstring::npos)
    return wide;
  return L"\\\\.\\" + wide;
}

void AddRegisteredPorts(std::set<unsigned>& numbers) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return;
  }
  for (DWORD index = 0;; ++index) {
    wchar_t value_name[256];
    DWORD value_name_size = 256;
    wchar_t data[64] = {};
    DWORD data_size = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    const LONG status = RegEnumValueW(key, index, value_name, &value_name_size, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data), &data_size);
    if (status == ERROR_NO_MORE_ITEMS)
      break;
    if (status != ERROR_SUCCESS || type != REG_SZ)
      continue;
    if (const unsigned number = PortNumber(data))
      numbers.insert(number);
  }
  RegCloseKey(key);
}

void AddDosDevicePorts(std::set<unsigned>& numbers) {
  std::wstring names(1 << 16, L'\0');
  DWORD size = 0;
  while ((size = QueryDosDeviceW(nullptr, names.data(), static_cast<DWORD>(names.size()))) == 0 &&
         GetLastError() == ERROR_INSUFFICIENT_BUFFER && names.size() < (1u << 22)) {
    names.resize(names.size() * 2);
  }
  for (size_t start = 0; start < size && names[start] != L'\0';) {
    const std::wstring name(names.c_str() + start);
    if (const unsigned number = PortNumber(name))
      numbers.insert(number);
    start += name.size() + 1;
  }
}

}  // namespace

struct SystemSerialPort::Device {
  HANDLE handle = INVALID_HANDLE_VALUE;
};

SystemSerialPort::SystemSerialPort() : device_(std::make_unique<Device>()) {}

SystemSerialPort::~SystemSerialPort() {
  Close();
}

void SystemSerialPort::Close() {
  if (device_->handle == INVALID_HANDLE_VALUE)
    return;
  PurgeComm(device_->handle, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
  CloseHandle(device_->handle);
  device_->handle = INVALID_HANDLE_VALUE;
}

Status SystemSerialPort::SetDeviceName(const std::string& name) {
  if (IsOpen() && name != name_)
    return Failure{SerialPortError(serial_texts::kAlreadyOpen, -1)};
  name_ = name;
  return Status::Ok();
}

Status SystemSerialPort::Open() {
  if (IsOpen())
    return Failure{SerialPortError(serial_texts::kAlreadyOpen, -1)};
  HANDLE handle = CreateFileW(DevicePath(name_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return Failure{SerialPortError(serial_texts::kCannotAccess, static_cast<int>(GetLastError()))};
  }
  // The handle, closed unless the port ends up open.
  auto fail = [handle](const char* text, int code) {
    CloseHandle(handle);
    return Failure{SerialPortError(text, code)};
  };
  if (GetFileType(handle) != FILE_TYPE_CHAR)
    return fail(serial_texts::kNotCharacterDevice, -1);
  if (!SetupComm(handle, 4096, 4096))
    return fail(serial_texts::kBuffers, static_cast<int>(GetLastError()));
  // Reads return at once with what has arrived; writes wait until they are done.
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  if (!SetCommTimeouts(handle, &timeouts))
    return fail(serial_texts::kTimeouts, static_cast<int>(GetLastError()));
  DCB line{};
  line.DCBlength = sizeof(line);
  if (!GetCommState(handle, &line))
    return fail(serial_texts::kLineSettings, static_cast<int>(GetLastError()));
  line.BaudRate = CBR_9600;
  line.ByteSize = 8;
  line.Parity = NOPARITY;
  line.StopBits = ONESTOPBIT;
  line.fBinary = TRUE;
  line.fParity = FALSE;
  if (!SetCommState(handle, &line))
    return fail(serial_texts::kLineSettings, static_cast<int>(GetLastError()));
  PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
  device_->handle = handle;
  return Status::Ok();
}

Status SystemSerialPort::RaiseDtr() {
  if (!IsOpen())
    return Failure{SerialPortError(serial_texts::kNotOpen, -1)};
  if (!EscapeCommFunction(device_->handle, SETDTR))
    return Failure{SerialPortError(serial_texts::kDtrFailure, static_cast<int>(GetLastError()))};
  return Status::Ok();
}

bool SystemSerialPort::IsOpen() const {
  return device_->handle != INVALID_HANDLE_VALUE;
}

std::vector<std::string> SerialPortNames() {
  std::set<unsigned> numbers;
  AddRegisteredPorts(numbers);
  AddDosDevicePorts(numbers);
  std::vector<std::string> names;
  for (const unsigned number : numbers)
    names.push_back("COM" + std::to_string(number));
  return names;
}

bool SerialPortNameEditable() {
  return false;
}

}  // namespace quastor
