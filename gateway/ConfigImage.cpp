#include "gateway/ConfigImage.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "gateway/GatewayTexts.h"
#include "gateway/ParGen.h"
#include "platform/DoneReport.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = gateway_texts;

Failure CannotCreate(const std::filesystem::path& file, const std::string& reason) {
  return Failure{FormatText(kCannotCreateFile, {Utf8FromPath(file), reason})};
}

}  // namespace

std::filesystem::path ConfigImagePath(const std::filesystem::path& project_dir) {
  return project_dir / "bin" / "bank.bin";
}

std::string ConfigImageWrittenReport(const ConfigImage& image) {
  return WrittenReport(Utf8FromPath(ConfigImagePath({}).filename()), image.size());
}

Result<ConfigImage> BuildConfigImage(const std::filesystem::path& project_dir) {
  if (project_dir.empty())
    return Failure{app_texts::kProjectNotValid};
  ConfigImage image;
  for (int shift = 0; shift < 32; shift += 8) {
    image.push_back(static_cast<std::uint8_t>((kConfigImageHeader >> shift) & 0xFF));
  }
  const std::filesystem::path file = ProjectFilesIn(project_dir).pargen;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec))
    return image;

  ParGenReader reader;
  if (Status opened = reader.Open(file); !opened)
    return opened.failure();
  for (const char* name : {texts::kProfiId, texts::kProfiBaud, texts::kProfiNbIn,
                           texts::kProfiNbOut, texts::kDnetDevId, texts::kDnetBaud}) {
    const Result<std::int32_t> value = reader.Integer(name);
    if (!value)
      return value.failure();
    image.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(*value) & 0xFF));
  }
  return image;
}

Status WriteConfigImage(const std::filesystem::path& project_dir, const ConfigImage& image) {
  if (project_dir.empty())
    return Failure{app_texts::kProjectNotValid};
  const std::filesystem::path file = ConfigImagePath(project_dir);
  // A project copied without its bin directory still gets its image.
  std::error_code ec;
  if (!std::filesystem::is_directory(file.parent_path(), ec)) {
    // A file named bin is in the way: its creation would only say "File exists".
    if (std::filesystem::exists(file.parent_path(), ec))
      return CannotCreate(file, SystemReason(ENOTDIR));
    std::filesystem::create_directory(file.parent_path(), ec);
    if (ec)
      return CannotCreate(file, ec.message());
  }
  const std::string bytes(image.begin(), image.end());
  return WriteFileOrCannotCreate(file, bytes);
}

std::string HexBytes(const ConfigImage& image) {
  std::string text;
  for (std::uint8_t byte : image) {
    char digits[4];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(byte));
    if (!text.empty())
      text += ' ';
    text += digits;
  }
  return text;
}

}  // namespace quastor
