#include "tools/XmlWrite.h"

#include <optional>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "platform/FileWriting.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/XmlDocument.h"
#include "tools/ToolsTexts.h"
#include "tools/XmlEncoding.h"

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

// The encoding of the file written: the one its declaration names (UTF-8 when it names none),
// or, without a declaration, the one the file was read in.
struct Output {
  XmlEncoding encoding;
  std::string name;      // for messages
  int declaration = -1;  // the declaration item, or -1
};

Output OutputOf(const XmlItemTree& tree) {
  for (int row = 0; row < tree.ChildCount(0); ++row) {
    const int child = tree.Child(0, row);
    if (tree.Kind(child) != XmlNodeKind::kDeclaration)
      continue;
    Output output{XmlEncoding::kUtf8, XmlEncodingName(XmlEncoding::kUtf8), child};
    for (int attribute = 0; attribute < tree.ChildCount(child); ++attribute) {
      const NameAndValue parts = Split(tree.ShownText(tree.Child(child, attribute)));
      if (parts.name == "encoding" && parts.value) {
        output.encoding = XmlEncodingNamed(*parts.value);
        output.name = *parts.value;
        break;
      }
    }
    return output;
  }
  return Output{tree.Encoding(), XmlEncodingName(tree.Encoding())};
}

// The item's text in the encoding of the file written: the file's own bytes where the
// encoding stays (or is one the tool does not know, whose bytes pass as they are), else its
// characters, each of which must have a place in that encoding.
Result<std::string> BytesOf(const XmlItemTree& tree, int index, const Output& output) {
  if (!tree.HeldAsUtf8(index) &&
      (tree.Encoding() == output.encoding || output.encoding == XmlEncoding::kOther)) {
    return std::string(tree.Text(index));
  }
  const std::string shown = tree.ShownText(index);
  std::optional<std::string> bytes = Utf8ToXmlBytes(shown, output.encoding);
  if (!bytes)
    return Failure{FormatText(texts::kCharacterNotHeld, {Split(shown).name, output.name})};
  return std::move(*bytes);
}

// The declaration as its items give it, each value in double quotes, version first.
Result<std::string> DeclarationText(const XmlItemTree& tree, const Output& output) {
  std::string text = "<?xml";
  bool versioned = false;
  for (int row = 0; row < tree.ChildCount(output.declaration); ++row) {
    const int child = tree.Child(output.declaration, row);
    if (tree.Kind(child) != XmlNodeKind::kAttribute)
      continue;
    const Result<std::string> bytes = BytesOf(tree, child, output);
    if (!bytes)
      return bytes.failure();
    const NameAndValue parts = Split(*bytes);
    const std::string value = parts.value.value_or(std::string());
    if (!IsXmlName(parts.name) || value.find_first_of("\"<&") != std::string::npos)
      return Failure{FormatText(texts::kBadDeclaration, {tree.ShownText(child)})};
    versioned = versioned || parts.name == "version";
    text.append(" ").append(parts.name).append("=\"").append(value).append("\"");
  }
  if (!versioned)
    text.insert(5, " version=\"1.0\"");
  return text + "?>";
}

class TreeWriter {
 public:
  TreeWriter(const XmlItemTree& tree, const Output& output) : tree_(tree), output_(output) {}

  Status Root(int index, XmlDocument& document) {
    const Result<std::string> bytes = BytesOf(tree_, index, output_);
    if (!bytes)
      return bytes.failure();
    const NameAndValue parts = Split(*bytes);
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
      const Result<std::string> bytes = BytesOf(tree_, child, output_);
      if (!bytes)
        return bytes.failure();
      const NameAndValue child_parts = Split(*bytes);
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
  const Output& output_;
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
  const Output output = OutputOf(tree);
  std::string declaration;
  if (output.declaration >= 0) {
    Result<std::string> text = DeclarationText(tree, output);
    if (!text)
      return text.failure();
    declaration = std::move(text.value());
  }
  for (int row = 0; row < tree.ChildCount(0); ++row) {
    const int child = tree.Child(0, row);
    if (tree.Kind(child) != XmlNodeKind::kElement)
      continue;
    XmlDocument document;
    if (Status built = TreeWriter(tree, output).Root(child, document); !built)
      return built.failure();
    return declaration + document.ToText();
  }
  return Failure{texts::kNoElementToWrite};
}

Result<std::filesystem::path> XmlTreeTarget(const XmlItemTree& tree, const AppState& state) {
  if (tree.Empty())
    return Failure{texts::kNothingToWrite};
  if (!state.ProjectSelected())
    return Failure{app_texts::kProjectNotValid};
  const Result<std::string> name = WriteFileName(tree.ShownText(0));
  if (!name)
    return name.failure();
  return state.ProjectDir / PathFromUtf8(*name);
}

Status WriteXmlTree(const XmlItemTree& tree, const AppState& state) {
  const Result<std::filesystem::path> target = XmlTreeTarget(tree, state);
  if (!target)
    return target.failure();
  const Result<std::string> text = XmlTreeDocument(tree);
  if (!text)
    return text.failure();
  return WriteFileOrCannotCreate(*target, *text);
}

}  // namespace quastor
