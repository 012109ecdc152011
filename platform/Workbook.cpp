// Dispatch of the workbook adapter: reads the file, tells its format and hands it to the
// reader of that format; every failure names the file.

#include "platform/Workbook.h"

#include <chrono>

#include "platform/FileReading.h"
#include "platform/IsolatedCall.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/WorkbookCells.h"
#include "platform/WorkbookReaders.h"
#include "platform/WorkbookTransfer.h"

namespace quastor {

namespace {

Failure CannotRead(const std::filesystem::path& file, const std::string& reason) {
  return Failure{FormatText(kWorkbookCannotRead, {Utf8FromPath(file), reason})};
}

// Reads the file and calls xls(bytes) or zip(bytes, kind) for its format; a failure of either
// gets the file's name in front.
template <class T, class Xls, class Zip>
Result<T> Dispatch(const std::filesystem::path& file, Xls xls, Zip zip) {
  if (!workbook::ReadersAvailable())
    return CannotRead(file, kWorkbookNotAvailable);
  Result<std::string> bytes = ReadWholeFile(file, kWorkbookCannotRead);
  if (!bytes)
    return bytes.failure();
  Result<T> result = Failure{kWorkbookUnknownFormat};
  switch (workbook::DetectFormat(*bytes, file)) {
    case workbook::Format::kXls:
      result = xls(*bytes);
      break;
    case workbook::Format::kXlsx:
      result = zip(*bytes, workbook::ZipKind::kXlsx);
      break;
    case workbook::Format::kOds:
      result = zip(*bytes, workbook::ZipKind::kOds);
      break;
    case workbook::Format::kUnknown:
      break;
  }
  if (!result)
    return CannotRead(file, result.error());
  return result;
}

}  // namespace

bool WorkbookSupported() {
  return workbook::ReadersAvailable();
}

namespace {

// The libraries read hostile files in a child process: a crash or a hang in them fails the
// reading, with the file's name, instead of ending the program.
constexpr std::chrono::seconds kReadingLimit{120};

Result<std::vector<std::string>> SheetNamesHere(const std::filesystem::path& file) {
  return Dispatch<std::vector<std::string>>(
      file, [&](std::string_view bytes) { return workbook::XlsSheetNames(file, bytes); },
      [](std::string_view bytes, workbook::ZipKind kind) {
        return workbook::ZipSheetNames(bytes, kind);
      });
}

Result<std::optional<WorkbookSheet>> SheetHere(const std::filesystem::path& file,
                                               const std::string& name) {
  return Dispatch<std::optional<WorkbookSheet>>(
      file, [&](std::string_view bytes) { return workbook::XlsSheet(file, bytes, name); },
      [&](std::string_view bytes, workbook::ZipKind kind) {
        return workbook::ZipSheet(bytes, kind, name);
      });
}

}  // namespace

Result<std::vector<std::string>> WorkbookSheetNames(const std::filesystem::path& file) {
  if (!workbook::ReadersAvailable())
    return CannotRead(file, kWorkbookNotAvailable);
  const Result<std::string> answer =
      RunIsolated([&] { return workbook::EncodeNames(SheetNamesHere(file)); }, kReadingLimit);
  if (!answer)
    return CannotRead(file, answer.error());
  return workbook::DecodeNames(*answer);
}

Result<std::optional<WorkbookSheet>> ReadWorkbookSheet(const std::filesystem::path& file,
                                                       const std::string& name) {
  if (!workbook::ReadersAvailable())
    return CannotRead(file, kWorkbookNotAvailable);
  const Result<std::string> answer =
      RunIsolated([&] { return workbook::EncodeSheet(SheetHere(file, name)); }, kReadingLimit);
  if (!answer)
    return CannotRead(file, answer.error());
  return workbook::DecodeSheet(*answer);
}

}  // namespace quastor
