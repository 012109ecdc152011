#include "tools/XmlWrite.h"

#include <optional>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/XmlDocument.h"
#include "tools/ToolsTexts.h"

namespace quastor {
namespace {

namespace texts = tools_texts;

std::string TrimSpace(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && space(text[begin]))
    ++begin;
  while (end > begin && space(text[end - 1]))
    --end;
  return std::string(text.substr(begin, end - begin));
}

// An item's text split at its first "=": the name before it, the value after it (nothing
// when the text holds no "="), both without surrounding blanks.
struct NameAndValue {
  std::string name;
  std::optional<std::string> value;
};

NameAndValue Split(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos)
    return {TrimSpace(text), std::nullopt};
  return {TrimSpace(text.substr(0, equals)), TrimSpace(text.substr(equals + 1))};
}

class TreeWriter {
 public:
  explicit TreeWriter(const XmlItemTree& tree) : tree_(tree) {}

  Status Root(int index, XmlDocument& document) {
    const NameAndValue parts = Split(tree_.Text(index));
    if (Status named = CheckName(index, parts.name, texts::kBadElementName); !named)
      return named;
    return Fill(index, parts, document.AddRoot(parts.name));
  }

 private:
  Status CheckName(int index, const std::string& name, const char* message) const {
    if (!IsXmlName(name))
      return Failure{FormatText(message, {Split(tree_.ShownText(index)).name})};
    return Status::Ok();
  }

  Status CheckValue(int index, const std::string& value) const {
    // The writer keeps texts as C strings: a NUL byte would cut the text short.
    if (value.find('\0') != std::string::npos)
      return Failure{FormatText(texts::kNulInText, {Split(tree_.ShownText(index)).name})};
    return Status::Ok();
  }

  // The element's text, then its attribute and element items in order; others are left out.
  Status Fill(int index, const NameAndValue& parts, XmlNode element) {
    if (parts.value && !parts.value->empty()) {
      if (Status checked = CheckValue(index, *parts.value); !checked)
        return checked;
      element.SetText(*parts.value);
    }
    for (int row = 0; row < tree_.ChildCount(index); ++row) {
      const int child = tree_.Child(index, row);
      const XmlNodeKind kind = tree_.Kind(child);
      if (kind != XmlNodeKind::kAttribute && kind != XmlNodeKind::kElement)
        continue;
      const NameAndValue child_parts = Split(tree_.Text(child));
      if (kind == XmlNodeKind::kAttribute) {
        if (Status named = CheckName(child, child_parts.name, texts::kBadAttributeName); !named)
          return named;
        const std::string value = child_parts.value.value_or(std::string());
        if (Status checked = CheckValue(child, value); !checked)
          return checked;
        element.SetAttribute(child_parts.name, value);
        continue;
      }
      if (Status named = CheckName(child, child_parts.name, texts::kBadElementName); !named)
        return named;
      if (Status filled = Fill(child, child_parts, element.AppendElement(child_parts.name));
          !filled)
        return filled;
    }
    return Status::Ok();
  }

  const XmlItemTree& tree_;
};

}  // namespace

Result<std::string> WriteFileName(const std::string& file_item_text) {
  const std::size_t colon = file_item_text.find(':');
  const std::string name =
      TrimSpace(colon == std::string::npos ? std::string_view(file_item_text)
                                           : std::string_view(file_item_text).substr(colon + 1));
  const bool plain = !name.empty() && name != "." && name != ".." &&
                     name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
  if (!plain)
    return Failure{FormatText(texts::kBadFileName, {name})};
  return name;
}

Result<std::string> XmlTreeDocument(const XmlItemTree& tree) {
  if (tree.Empty())
    return Failure{texts::kNothingToWrite};
  for (int row = 0; row < tree.ChildCount(0); ++row) {
    const int child = tree.Child(0, row);
    if (tree.Kind(child) != XmlNodeKind::kElement)
      continue;
    XmlDocument document;
    if (Status built = TreeWriter(tree).Root(child, document); !built)
      return built.failure();
    return document.ToText();
  }
  return Failure{texts::kNoElementToWrite};
}

Status WriteXmlTree(const XmlItemTree& tree, const AppState& state) {
  if (tree.Empty())
    return Failure{texts::kNothingToWrite};
  if (!state.ProjectSelected())
    return Failure{app_texts::kProjectNotValid};
  const Result<std::string> name = WriteFileName(tree.ShownText(0));
  if (!name)
    return name.failure();
  const Result<std::string> text = XmlTreeDocument(tree);
  if (!text)
    return text.failure();
  return WriteFileOrCannotCreate(state.ProjectDir / PathFromUtf8(*name), *text);
}

}  // namespace quastor
