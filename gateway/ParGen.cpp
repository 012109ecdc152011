#include "gateway/ParGen.h"

#include <system_error>

#include "gateway/GatewayTexts.h"
#include "platform/IntegerText.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/XmlFileEncoding.h"

namespace quastor {
namespace {

namespace texts = gateway_texts;

bool InRange(const std::string& text, std::int32_t low, std::int32_t high) {
  const std::int32_t value = LenientInteger(text);
  return value >= low && value <= high;
}

}  // namespace

Status ParGenReader::Open(const std::filesystem::path& file) {
  file_ = file;
  return document_.Load(file);
}

Result<std::string> ParGenReader::Text(const char* name) const {
  const XmlNode element = document_.FirstTopLevelNode().Child(name);
  if (!element)
    return Failure{FormatText(texts::kMissingElement, {Utf8FromPath(file_), name})};
  return element.Text();
}

Result<std::int32_t> ParGenReader::Integer(const char* name) const {
  const Result<std::string> text = Text(name);
  if (!text)
    return text.failure();
  return StrictInteger(*text);
}

ParGenLoad LoadParGen(const std::filesystem::path& file) {
  ParGenLoad load;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec))
    return load;
  load.found = true;

  auto stop = [&](const std::string& problem) {
    load.messages.push_back({true, problem});
    load.report.gaps.push_back(problem);
  };
  ParGenReader reader;
  if (Status opened = reader.Open(file); !opened) {
    load.report.failures.push_back({Utf8FromPath(file.filename()), 0, opened.error()});
    stop(opened.error());
    return load;
  }
  // Each step stores its value; the first failure stops the reading.
  auto text = [&](const char* name, std::string& into) {
    Result<std::string> value = reader.Text(name);
    if (!value) {
      stop(value.error());
      return false;
    }
    into = *value;
    return true;
  };
  auto integer = [&](const char* name, std::int32_t& into) {
    Result<std::int32_t> value = reader.Integer(name);
    if (!value) {
      stop(value.error());
      return false;
    }
    into = *value;
    return true;
  };
  ParGen& v = load.model;
  (void)(text(texts::kProfiId, v.profiId) && integer(texts::kProfiBaud, v.profiBaud) &&
         text(texts::kProfiNbIn, v.profiNbIn) && text(texts::kProfiNbOut, v.profiNbOut) &&
         text(texts::kDnetDevId, v.dnetDevId) && integer(texts::kDnetBaud, v.dnetBaud));
  return load;
}

ParGen AsDialogShows(ParGen values) {
  values.profiBaud = texts::kAutoBaudrate;
  if (values.dnetBaud < 0 || values.dnetBaud >= texts::kDnetBaudCount)
    values.dnetBaud = -1;
  return values;
}

std::vector<ParGenProblem> ParGenProblems(const ParGen& values) {
  std::vector<ParGenProblem> problems;
  if (!InRange(values.profiId, 1, 125))
    problems.push_back({texts::kProfiId, texts::kBadProfiId});
  if (!InRange(values.profiNbIn, 0, 244))
    problems.push_back({texts::kProfiNbIn, texts::kBadProfiIn});
  if (!InRange(values.profiNbOut, 0, 244))
    problems.push_back({texts::kProfiNbOut, texts::kBadProfiOut});
  if (!InRange(values.dnetDevId, 0, 63))
    problems.push_back({texts::kDnetDevId, texts::kBadDnetId});
  if (values.dnetBaud < 0 || values.dnetBaud >= texts::kDnetBaudCount)
    problems.push_back({texts::kDnetBaud, texts::kBadDnetBaud});
  return problems;
}

Status ValidateParGen(const ParGen& values) {
  const std::vector<ParGenProblem> problems = ParGenProblems(values);
  if (!problems.empty())
    return Failure{problems.front().message};
  return Status::Ok();
}

std::string ParGenText(const ParGen& values) {
  XmlDocument document;
  XmlNode root = document.AddRoot(texts::kRootName);
  root.AppendTextElement(texts::kProfiId, values.profiId);
  root.AppendTextElement(texts::kProfiBaud, std::to_string(values.profiBaud));
  root.AppendTextElement(texts::kProfiNbIn, values.profiNbIn);
  root.AppendTextElement(texts::kProfiNbOut, values.profiNbOut);
  root.AppendTextElement(texts::kDnetDevId, values.dnetDevId);
  root.AppendTextElement(texts::kDnetBaud, std::to_string(values.dnetBaud));
  return document.ToText();
}

Status SaveParGen(const std::filesystem::path& file, const ParGen& values) {
  return WriteXmlFileKeepingEncoding(file, ParGenText(values));
}

}  // namespace quastor
