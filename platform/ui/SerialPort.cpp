#include "platform/ui/SerialPort.h"

#include "platform/Text.h"

namespace quastor {

std::string SerialPortError(const char* text, int code) {
  return std::string(text) + FormatText(serial_texts::kErrorSuffix, {std::to_string(code)});
}

}  // namespace quastor
