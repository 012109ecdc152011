#include "devices/ProjectDevices.h"

#include <string>
#include <system_error>

#include "devices/DeviceTexts.h"
#include "platform/FileReading.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/SettingsFile.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
namespace texts = device_texts;

fs::path SettingsOf(const fs::path& project_dir) {
  return DevicesFolder(project_dir) / texts::kDevicesSettings;
}

// The file name as devices.ini holds it. The settings reader trims a value and takes off
// quotes around it, so a name that starts or ends with a blank or a quote is written in quotes.
std::string SettingsValue(const std::string& name) {
  if (name.empty() || Trim(name) == name) {
    const char first = name.empty() ? '\0' : name.front();
    if (first != '"' && first != '\'')
      return name;
  }
  return '"' + name + '"';
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

}  // namespace

fs::path DevicesFolder(const fs::path& project_dir) {
  return project_dir / texts::kDevicesFolder;
}

std::optional<fs::path> RememberedEds(const fs::path& project_dir) {
  const std::string name =
      ReadProfileString(SettingsOf(project_dir), texts::kSdoSection, texts::kEdsKey, "");
  const fs::path file = PathFromUtf8(name);
  if (name.empty() || file != file.filename() || file == "." || file == "..")
    return std::nullopt;
  return DevicesFolder(project_dir) / file;
}

// The copy's name in the devices folder: the source's own, unless that is the name of the
// folder's settings file, which the copy would overwrite.
fs::path CopyName(const fs::path& source) {
  const std::string name = Utf8FromPath(source.filename());
  if (!EqualsIgnoringCase(name, texts::kDevicesSettings))
    return source.filename();
  return PathFromUtf8(name + ".eds");
}

Result<fs::path> AdoptEds(const fs::path& project_dir, const fs::path& source) {
  const fs::path folder = DevicesFolder(project_dir);
  const fs::path copy = folder / CopyName(source);
  if (!SameFile(source, copy)) {
    const Result<std::string> bytes = ReadWholeFile(source, texts::kCannotOpenFile);
    if (!bytes)
      return bytes.failure();
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
      return Failure{FormatText(kCannotCreateFile, {Utf8FromPath(folder), error.message()})};
    if (Status written = WriteFileOrCannotCreate(copy, *bytes); !written)
      return written.failure();
  }
  const fs::path settings = SettingsOf(project_dir);
  if (Status remembered = WriteProfileString(settings, texts::kSdoSection, texts::kEdsKey,
                                             SettingsValue(Utf8FromPath(copy.filename())));
      !remembered)
    return Failure{FormatText(kCannotCreateFile, {Utf8FromPath(settings), remembered.error()})};
  return copy;
}

}  // namespace quastor
