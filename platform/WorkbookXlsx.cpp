// .xlsx workbooks (Office Open XML), read from their parts: the workbook part for the sheet
// names, its relationships for the parts of the sheets, the shared strings and the styles
// (which tell a number shown as a date), and the sheet part itself, walked as it is parsed.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "platform/Text.h"
#include "platform/WorkbookZipReaders.h"

namespace quastor::workbook {

namespace {

// A part's path from a relationship's target, relative to the directory of the part that
// names it (or absolute, from the archive's root).
std::string ResolvePart(std::string_view from_part, std::string_view target) {
  std::string path;
  if (!target.empty() && target.front() == '/') {
    target.remove_prefix(1);
  } else {
    const auto slash = from_part.rfind('/');
    if (slash != std::string_view::npos)
      path.assign(from_part.substr(0, slash + 1));
  }
  // Resolve "." and ".." segments.
  std::vector<std::string> segments;
  std::string joined = path + std::string(target);
  std::size_t start = 0;
  while (start <= joined.size()) {
    const auto end = std::min(joined.find('/', start), joined.size());
    const std::string segment = joined.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty())
        segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string result;
  for (const std::string& segment : segments)
    result += (result.empty() ? "" : "/") + segment;
  return result;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

struct Relationship {
  std::string id;
  std::string type;
  std::string target;
};

class RelationshipsHandler final : public XmlHandler {
 public:
  std::vector<Relationship> found;
  void Open(std::string_view, std::string_view local, const XmlAttributes& attributes) override {
    if (local != "Relationship")
      return;
    const std::string* id = attributes.Find("Id");
    const std::string* type = attributes.Find("Type");
    const std::string* target = attributes.Find("Target");
    if (target != nullptr)
      found.push_back({id ? *id : "", type ? *type : "", *target});
  }
  void Close(std::string_view, std::string_view) override {}
  void Text(std::string_view) override {}
};

// The relationships of part (from its _rels/<name>.rels part; none when it has none).
std::vector<Relationship> RelationshipsOf(const ZipParts& zip, const std::string& part) {
  const auto slash = part.rfind('/');
  const std::string dir = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
  RelationshipsHandler handler;
  if (const std::optional<std::string> xml = zip.Read(dir + "_rels/" + name + ".rels"))
    WalkXml(*xml, handler);
  return std::move(handler.found);
}

struct SheetEntry {
  std::string name;
  std::string relationship;
};

class WorkbookHandler final : public XmlHandler {
 public:
  std::vector<SheetEntry> sheets;
  bool from1904 = false;
  void Open(std::string_view, std::string_view local, const XmlAttributes& attributes) override {
    if (local == "sheet") {
      const std::string* name = attributes.Find("name");
      const std::string* id = attributes.Find("id", "r");
      if (id == nullptr)
        id = attributes.Find("id");
      sheets.push_back({name ? *name : "", id ? *id : ""});
    } else if (local == "workbookPr") {
      const std::string* flag = attributes.Find("date1904");
      from1904 = flag != nullptr && (*flag == "1" || *flag == "true");
    }
  }
  void Close(std::string_view, std::string_view) override {}
  void Text(std::string_view) override {}
};

struct WorkbookPart {
  std::string path;
  std::vector<Relationship> relationships;
  WorkbookHandler content;
};

WorkbookPart ReadWorkbookPart(const ZipParts& zip) {
  WorkbookPart part;
  part.path = "xl/workbook.xml";
  for (const Relationship& relationship : RelationshipsOf(zip, "")) {
    if (EndsWith(relationship.type, "/officeDocument"))
      part.path = ResolvePart("", relationship.target);
  }
  const std::optional<std::string> xml = zip.Read(part.path);
  if (!xml)
    throw std::runtime_error("no workbook part");
  WalkXml(*xml, part.content);
  part.relationships = RelationshipsOf(zip, part.path);
  return part;
}

class SharedStringsHandler final : public XmlHandler {
 public:
  std::vector<std::string> strings;
  void Open(std::string_view, std::string_view local, const XmlAttributes&) override {
    if (local == "si") {
      current_.clear();
    } else if (local == "rPh") {
      ++phonetic_;  // a reading aid beside the text, not part of it
    } else if (local == "t") {
      inText_ = phonetic_ == 0;
    }
  }
  void Close(std::string_view, std::string_view local) override {
    if (local == "t")
      inText_ = false;
    else if (local == "rPh")
      --phonetic_;
    else if (local == "si")
      strings.push_back(DecodeXlsxEscapes(current_));
  }
  void Text(std::string_view text) override {
    if (inText_)
      current_.append(text);
  }

 private:
  std::string current_;
  int phonetic_ = 0;
  bool inText_ = false;
};

// The kind of date each cell format (xf) shows.
class StylesHandler final : public XmlHandler {
 public:
  std::vector<DateKind> Kinds() const {
    std::vector<DateKind> kinds;
    for (const unsigned id : xfFormats_) {
      const auto custom = customFormats_.find(id);
      kinds.push_back(custom != customFormats_.end() ? DateKindOfFormat(custom->second)
                                                     : DateKindOfBuiltinFormat(id));
    }
    return kinds;
  }
  void Open(std::string_view, std::string_view local, const XmlAttributes& attributes) override {
    if (local == "numFmt") {
      const std::string* id = attributes.Find("numFmtId");
      const std::string* code = attributes.Find("formatCode");
      if (id != nullptr && code != nullptr)
        customFormats_[Unsigned(*id)] = *code;
    } else if (local == "cellXfs") {
      inCellXfs_ = true;
    } else if (local == "xf" && inCellXfs_) {
      const std::string* id = attributes.Find("numFmtId");
      xfFormats_.push_back(id != nullptr ? Unsigned(*id) : 0);
    }
  }
  void Close(std::string_view, std::string_view local) override {
    if (local == "cellXfs")
      inCellXfs_ = false;
  }
  void Text(std::string_view) override {}

 private:
  static unsigned Unsigned(const std::string& text) {
    unsigned value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  }
  std::map<unsigned, std::string> customFormats_;
  std::vector<unsigned> xfFormats_;
  bool inCellXfs_ = false;
};

// "B3" -> row 2, column 1.
void ParseCellAddress(std::string_view address, std::size_t& row, std::size_t& column) {
  std::size_t i = 0, col = 0, r = 0;
  for (; i < address.size() && (address[i] | 0x20) >= 'a' && (address[i] | 0x20) <= 'z'; ++i) {
    if (i == 3)
      Damaged("invalid cell address " + std::string(address));
    col = col * 26 + static_cast<std::size_t>((address[i] | 0x20) - 'a' + 1);
  }
  const std::size_t letters = i;
  for (; i < address.size() && address[i] >= '0' && address[i] <= '9'; ++i) {
    if (i - letters == 7)
      Damaged("invalid cell address " + std::string(address));
    r = r * 10 + static_cast<std::size_t>(address[i] - '0');
  }
  if (letters == 0 || i == letters || i != address.size() || r == 0)
    Damaged("invalid cell address " + std::string(address));
  row = r - 1;
  column = col - 1;
}

// "2024-01-31T12:30:00" (a cell of type d) as the date text of platform/Workbook.h.
std::string IsoDateText(const std::string& value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;
  double second = 0;
  const int read = std::sscanf(value.c_str(), "%d-%d-%dT%d:%d:%lf", &year, &month, &day, &hour,
                               &minute, &second);
  if (read >= 3)
    return DateText(year, static_cast<unsigned>(month), static_cast<unsigned>(day),
                    hour * 3600LL + minute * 60LL + std::llround(second));
  if (std::sscanf(value.c_str(), "%d:%d:%lf", &hour, &minute, &second) == 3)
    return TimeText(hour * 3600LL + minute * 60LL + std::llround(second));
  return value;
}

class SheetHandler final : public XmlHandler {
 public:
  SheetHandler(const std::vector<std::string>& strings, const std::vector<DateKind>& dates,
               bool from1904, SheetBuilder& builder)
      : strings_(strings), dates_(dates), from1904_(from1904), builder_(builder) {}

  void Open(std::string_view, std::string_view local, const XmlAttributes& attributes) override {
    if (local == "row") {
      const std::string* r = attributes.Find("r");
      row_ = r != nullptr ? static_cast<std::size_t>(std::strtoull(r->c_str(), nullptr, 10)) - 1
                          : row_ + 1;
      if (row_ >= kWorkbookMaxRows)
        Damaged("invalid row number");
      column_ = static_cast<std::size_t>(-1);
    } else if (local == "c") {
      const std::string* r = attributes.Find("r");
      if (r != nullptr) {
        ParseCellAddress(*r, row_, column_);
      } else {
        ++column_;
      }
      const std::string* type = attributes.Find("t");
      type_ = type != nullptr ? *type : "n";
      const std::string* style = attributes.Find("s");
      style_ = style != nullptr
                   ? static_cast<std::size_t>(std::strtoull(style->c_str(), nullptr, 10))
                   : 0;
      formula_ = hasValue_ = false;
      value_.clear();
    } else if (local == "f") {
      formula_ = true;
    } else if (local == "v") {
      hasValue_ = true;
      collect_ = true;
    } else if (local == "is") {
      hasValue_ = true;
    } else if (local == "rPh") {
      ++phonetic_;
    } else if (local == "t") {
      collect_ = phonetic_ == 0;
    }
  }

  void Close(std::string_view, std::string_view local) override {
    if (local == "v" || local == "t") {
      collect_ = false;
    } else if (local == "rPh") {
      --phonetic_;
    } else if (local == "c") {
      if (builder_.TooLarge())
        throw XmlWalkDone{};
      builder_.Put(row_, column_, Value());
    }
  }

  void Text(std::string_view text) override {
    if (collect_)
      value_.append(text);
  }

 private:
  CellValue Value() const {
    if (type_ == "inlineStr")
      return DecodeXlsxEscapes(value_);
    if (type_ == "str") {
      // A text result may be empty, but it is stored: <v></v>.
      if (!hasValue_)
        return formula_ ? CellValue(NoResult{}) : CellValue(std::monostate{});
      return DecodeXlsxEscapes(value_);
    }
    if (value_.empty())
      return formula_ ? CellValue(NoResult{}) : CellValue(std::monostate{});
    if (type_ == "s") {
      const std::size_t id = static_cast<std::size_t>(ParseNumber(value_));
      if (id >= strings_.size())
        Damaged("invalid shared string " + value_);
      return strings_[id];
    }
    if (type_ == "b")
      return value_ != "0" && value_ != "false";
    if (type_ == "e")
      return ErrorValue{value_};
    if (type_ == "d")
      return IsoDateText(value_);
    const double number = ParseNumber(value_);
    const DateKind kind = style_ < dates_.size() ? dates_[style_] : DateKind::kNone;
    if (std::optional<std::string> date = SerialDateText(number, kind, from1904_))
      return std::move(*date);
    return number;
  }

  const std::vector<std::string>& strings_;
  const std::vector<DateKind>& dates_;
  bool from1904_;
  SheetBuilder& builder_;
  std::size_t row_ = static_cast<std::size_t>(-1);
  std::size_t column_ = 0;
  std::string type_;
  std::size_t style_ = 0;
  bool formula_ = false;
  bool hasValue_ = false;
  bool collect_ = false;
  int phonetic_ = 0;
  std::string value_;
};

// The part named by the relationship of type suffix, or nothing.
std::optional<std::string> RelatedPart(const ZipParts& zip, const WorkbookPart& workbook,
                                       std::string_view suffix) {
  for (const Relationship& relationship : workbook.relationships) {
    if (EndsWith(relationship.type, suffix))
      return zip.Read(ResolvePart(workbook.path, relationship.target));
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> XlsxSheetNames(const ZipParts& zip) {
  std::vector<std::string> names;
  for (const SheetEntry& sheet : ReadWorkbookPart(zip).content.sheets)
    names.push_back(sheet.name);
  return names;
}

std::optional<Result<WorkbookSheet>> XlsxSheet(const ZipParts& zip, const std::string& name) {
  const WorkbookPart workbook = ReadWorkbookPart(zip);
  const SheetEntry* wanted = nullptr;
  for (const SheetEntry& sheet : workbook.content.sheets) {
    if (SameSheetName(sheet.name, name)) {
      wanted = &sheet;
      break;
    }
  }
  if (wanted == nullptr)
    return std::nullopt;
  std::optional<std::string> part;
  for (const Relationship& relationship : workbook.relationships) {
    if (relationship.id == wanted->relationship)
      part = zip.Read(ResolvePart(workbook.path, relationship.target));
  }
  if (!part)
    Damaged("no part for sheet \"" + wanted->name + "\"");

  SharedStringsHandler strings;
  if (const std::optional<std::string> xml = RelatedPart(zip, workbook, "/sharedStrings"))
    WalkXml(*xml, strings);
  StylesHandler styles;
  if (const std::optional<std::string> xml = RelatedPart(zip, workbook, "/styles"))
    WalkXml(*xml, styles);
  const std::vector<DateKind> dates = styles.Kinds();

  SheetBuilder builder;
  SheetHandler sheet(strings.strings, dates, workbook.content.from1904, builder);
  WalkXml(*part, sheet);
  return builder.Finish(wanted->name);
}

}  // namespace quastor::workbook
