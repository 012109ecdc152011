// The communication settings: every element of pargen.xml as the settings dialog reads and
// checks it, then the refusals of the two steps that read the file too, "GSD File" and
// "Update Device" (its configuration image).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "check/CheckTexts.h"
#include "check/FileChecks.h"
#include "gateway/ConfigImage.h"
#include "gateway/GatewayTexts.h"
#include "gateway/GsdFile.h"
#include "gateway/ParGen.h"
#include "platform/Text.h"

namespace quastor {
namespace {

namespace texts = check_texts;
namespace gateway = gateway_texts;

struct Element {
  const char* name;
  std::string ParGen::*text = nullptr;     // an element kept as typed
  std::int32_t ParGen::*number = nullptr;  // an element read as an integer
};

// The elements in the order the dialog reads them.
const std::array<Element, 6> kElements = {{
    {gateway::kProfiId, &ParGen::profiId},
    {gateway::kProfiBaud, nullptr, &ParGen::profiBaud},
    {gateway::kProfiNbIn, &ParGen::profiNbIn},
    {gateway::kProfiNbOut, &ParGen::profiNbOut},
    {gateway::kDnetDevId, &ParGen::dnetDevId},
    {gateway::kDnetBaud, nullptr, &ParGen::dnetBaud},
}};

// What the reading of one element gave: its text, or why it has none to check.
struct ElementRead {
  std::string text;
  std::optional<std::string> problem;
};

ElementRead ReadElement(const ParGenReader& reader, const Element& element, ParGen& values) {
  const Result<std::string> text = reader.Text(element.name);
  if (!text)
    return {"", std::string(texts::kElementMissing)};
  if (element.text != nullptr) {
    values.*element.text = *text;
    return {*text, std::nullopt};
  }
  const Result<std::int32_t> number = reader.Integer(element.name);
  if (!number)
    return {*text, number.error()};
  values.*element.number = *number;
  return {*text, std::nullopt};
}

// The settings dialog shows each element in a control of its own.
ProblemPlace ElementPlace(std::string_view name) {
  ProblemPlace place;
  place.element = std::string(name);
  return place;
}

void CheckElements(const ParGenReader& reader, ProblemList& list) {
  ParGen values;
  std::array<ElementRead, kElements.size()> reads;
  for (std::size_t e = 0; e < kElements.size(); ++e)
    reads[e] = ReadElement(reader, kElements[e], values);
  // Elements that could not be read keep the defaults, which pass every check.
  const std::vector<ParGenProblem> refused = ParGenProblems(values);
  for (std::size_t e = 0; e < kElements.size(); ++e) {
    const std::string_view name = kElements[e].name;
    if (reads[e].problem) {
      list.Whole(std::string(name), *reads[e].problem, ElementPlace(name));
      continue;
    }
    if (name == gateway::kProfiBaud && values.profiBaud != gateway::kAutoBaudrate)
      list.Whole(std::string(name), FormatText(texts::kBaudNotAuto, {reads[e].text}),
                 ElementPlace(name));
    for (const ParGenProblem& problem : refused) {
      if (problem.element == name)
        list.Whole(std::string(name),
                   FormatText(texts::kValueRefused, {reads[e].text, problem.message}),
                   ElementPlace(name));
    }
  }
}

}  // namespace

std::vector<ProblemList> CheckGatewayFiles(const std::filesystem::path& project_dir,
                                           const ProjectFileSet& files) {
  ProblemList list(ProblemFileName(files.pargen));
  std::error_code error;
  const bool found = std::filesystem::exists(files.pargen, error) || error;
  if (found) {
    ParGenReader reader;
    if (Status opened = reader.Open(files.pargen); !opened) {
      list.File(opened.error());
      return {list};
    }
    CheckElements(reader, list);
  }
  // Without the file the settings dialog shows its defaults and the image is its header, but
  // "GSD File" refuses.
  if (const Result<GsdSizes> sizes = ReadGsdSizes(project_dir); !sizes)
    list.Whole(texts::kWhereGsd, FormatText(texts::kGsdRefused, {sizes.error()}));
  if (!found)
    return {list};
  if (const Result<ConfigImage> image = BuildConfigImage(project_dir); !image)
    list.Whole(texts::kWhereImage, FormatText(texts::kImageRefused, {image.error()}));
  return {list};
}

}  // namespace quastor
