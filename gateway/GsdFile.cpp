#include "gateway/GsdFile.h"

#include <cstdio>
#include <system_error>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "gateway/GatewayTexts.h"
#include "gateway/GsdFixedText.h"
#include "gateway/ParGen.h"
#include "platform/DoneReport.h"
#include "platform/FileWriting.h"
#include "platform/IntegerText.h"
#include "platform/PathText.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = gateway_texts;

// x in upper-case hexadecimal, at least two digits.
std::string Hex(std::int32_t x) {
  char digits[12];
  std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(x));
  return digits;
}

// The three lines of each module of one direction, numbered from first.
void AddModules(std::vector<std::string>& lines, const char* kind, const char* code,
                std::int32_t bytes, std::int32_t first) {
  const std::int32_t count = GsdModuleCount(bytes);
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int32_t number = first + i;
    const std::int32_t length = i + 1 < count ? kGsdModuleBytes : bytes - i * kGsdModuleBytes;
    const std::string k = std::to_string(number);
    lines.push_back(std::string("Module=\"") + kind + "  (PORT" + k + ")    \" " + code + ",0x" +
                    Hex(length - 1) + ",0x00,0x" + Hex(number));
    lines.push_back(k);
    lines.emplace_back("EndModule");
  }
}

// One size, read as the settings dialog's OK validates it: a text that is not an integer,
// or lies outside 0 to 244, gets the dialog's message for that size.
Result<std::int32_t> ReadSize(const ParGenReader& reader, const char* name,
                              const char* range_message) {
  const Result<std::string> text = reader.Text(name);
  if (!text)
    return text.failure();
  const std::int32_t value = LenientInteger(*text);
  if (value < 0 || value > kGsdMaxBytes)
    return Failure{range_message};
  return value;
}

}  // namespace

std::int32_t GsdModuleCount(std::int32_t bytes) {
  if (bytes <= 0)
    return 0;
  return bytes / kGsdModuleBytes + (bytes % kGsdModuleBytes != 0 ? 1 : 0);
}

Result<GsdSizes> ReadGsdSizes(const std::filesystem::path& project_dir) {
  if (project_dir.empty())
    return Failure{app_texts::kProjectNotValid};
  const std::filesystem::path file = ProjectFilesIn(project_dir).pargen;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    return Failure{FormatText(texts::kGsdNeedsSettings, {Utf8FromPath(file)})};
  }
  ParGenReader reader;
  if (Status opened = reader.Open(file); !opened)
    return opened.failure();
  const Result<std::int32_t> nin = ReadSize(reader, texts::kProfiNbIn, texts::kBadProfiIn);
  if (!nin)
    return nin.failure();
  const Result<std::int32_t> nout = ReadSize(reader, texts::kProfiNbOut, texts::kBadProfiOut);
  if (!nout)
    return nout.failure();
  return GsdSizes{*nin, *nout};
}

std::vector<std::string> GsdLines(const GsdSizes& sizes) {
  const std::int32_t inputs = GsdModuleCount(sizes.nin);
  const std::int32_t outputs = GsdModuleCount(sizes.nout);
  std::vector<std::string> lines;
  lines.reserve(200 + 4 * static_cast<std::size_t>(inputs + outputs));
  AppendGsdFixedText(lines, inputs + outputs, sizes.nin, sizes.nout);
  AddModules(lines, "DI", "0x42", sizes.nin, 1);
  AddModules(lines, "DO", "0x82", sizes.nout, inputs + 1);
  lines.insert(lines.end(), {"", "", "", "SlotDefinition"});
  for (std::int32_t slot = 1; slot <= inputs + outputs; ++slot) {
    const std::string s = std::to_string(slot);
    lines.push_back("Slot(" + s + ") = \"Slot " + s + "\" " + s + " " + s);
  }
  lines.insert(lines.end(), {"EndSlotDefinition", "", "", "", ""});
  return lines;
}

std::int32_t GsdModuleTotal(const GsdSizes& sizes) {
  return GsdModuleCount(sizes.nin) + GsdModuleCount(sizes.nout);
}

Status WriteGsdFile(const std::filesystem::path& project_dir, const std::filesystem::path& file) {
  const Result<std::string> written = WriteGsdFileSaying(project_dir, file);
  if (!written)
    return written.failure();
  return Status::Ok();
}

Result<std::string> WriteGsdFileSaying(const std::filesystem::path& project_dir,
                                       const std::filesystem::path& file) {
  const Result<GsdSizes> sizes = ReadGsdSizes(project_dir);
  if (!sizes)
    return sizes.failure();
  if (Status written = WriteFileOrCannotCreate(file, JoinCrLf(GsdLines(*sizes))); !written)
    return written.failure();
  const auto modules = static_cast<std::size_t>(GsdModuleTotal(*sizes));
  return FormatText(
      gateway_texts::kGsdWritten,
      {Utf8FromPath(file), CountText(modules, gateway_texts::kModule, gateway_texts::kModules)});
}

}  // namespace quastor
