#pragma once
// Conversions between the core's UTF-8 text and paths and Qt's strings.

#include <filesystem>
#include <string>

#include <QString>

namespace quastor {

inline QString Q(const std::string& text) {
  return QString::fromStdString(text);
}
inline std::string S(const QString& text) {
  return text.toStdString();
}
inline QString QPath(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
}
inline std::filesystem::path PathOf(const QString& text) {
  return std::filesystem::path(text.toStdU16String());
}

}  // namespace quastor
