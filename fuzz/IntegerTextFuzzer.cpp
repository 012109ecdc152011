// The integer reader against a reference built on strtoll for decimal text.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/IntegerText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto value = quastor::ReadInteger(text);
  // A value that reads prints back to the same value.
  if (value && quastor::ReadInteger(std::to_string(*value)) != value)
    std::abort();

  // Plain decimal text ("[+-]digits") must agree with strtoll and the 32-bit range.
  std::size_t i = (size > 0 && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
  if (i == size)
    return 0;
  for (std::size_t k = i; k < size; ++k) {
    if (text[k] < '0' || text[k] > '9')
      return 0;
  }
  errno = 0;
  const long long reference = std::strtoll(text.c_str(), nullptr, 10);
  const bool fits = errno == 0 && reference >= INT32_MIN && reference <= INT32_MAX;
  if (fits != value.has_value())
    std::abort();
  if (fits && *value != reference)
    std::abort();
  return 0;
}
