#include "platform/WorkbookTransfer.h"

#include <cstdint>
#include <string_view>

namespace quastor::workbook {
namespace {

// Tags: 'F' a failure and its message, 'N' no such sheet, 'S' a sheet, 'L' a list of names.
// Numbers are 8 bytes, little-endian; a text is its length and its bytes.
class Writer {
 public:
  void Tag(char tag) { out_ += tag; }
  void Number(std::uint64_t value) {
    for (int i = 0; i < 8; ++i)
      out_ += static_cast<char>((value >> (8 * i)) & 0xFF);
  }
  void Text(std::string_view text) {
    Number(text.size());
    out_ += text;
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

class Reader {
 public:
  explicit Reader(const std::string& bytes) : in_(bytes) {}
  bool Tag(char* tag) {
    if (in_.empty())
      return false;
    *tag = in_.front();
    in_.remove_prefix(1);
    return true;
  }
  bool Number(std::uint64_t* value) {
    if (in_.size() < 8)
      return false;
    *value = 0;
    for (int i = 0; i < 8; ++i)
      *value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in_[i])) << (8 * i);
    in_.remove_prefix(8);
    return true;
  }
  bool Text(std::string* text) {
    std::uint64_t size = 0;
    if (!Number(&size) || size > in_.size())
      return false;
    text->assign(in_.substr(0, size));
    in_.remove_prefix(size);
    return true;
  }
  bool AtEnd() const { return in_.empty(); }
  std::size_t Left() const { return in_.size(); }

 private:
  std::string_view in_;
};

constexpr char kBroken[] = "the reader's answer was cut short";

}  // namespace

std::string EncodeSheet(const Result<std::optional<WorkbookSheet>>& sheet) {
  Writer out;
  if (!sheet) {
    out.Tag('F');
    out.Text(sheet.error());
  } else if (!*sheet) {
    out.Tag('N');
  } else {
    const WorkbookSheet& s = **sheet;
    out.Tag('S');
    out.Text(s.name);
    out.Number(s.columnCount);
    out.Number(s.headings.size());
    for (const auto& heading : s.headings)
      out.Text(heading);
    out.Number(s.rows.size());
    for (const auto& row : s.rows) {
      out.Number(row.size());
      for (const auto& cell : row) {
        out.Tag(cell ? 'T' : '-');
        if (cell)
          out.Text(*cell);
      }
    }
    out.Number(s.unread.size());
    for (const auto& cell : s.unread) {
      out.Number(cell.row);
      out.Number(cell.column);
      out.Text(cell.reason);
    }
  }
  return out.Take();
}

Result<std::optional<WorkbookSheet>> DecodeSheet(const std::string& bytes) {
  Reader in(bytes);
  char tag = 0;
  if (!in.Tag(&tag))
    return Failure{kBroken};
  if (tag == 'F') {
    std::string message;
    if (!in.Text(&message))
      return Failure{kBroken};
    return Failure{message};
  }
  if (tag == 'N')
    return std::optional<WorkbookSheet>();
  WorkbookSheet sheet;
  std::uint64_t columns = 0, headings = 0, rows = 0;
  if (tag != 'S' || !in.Text(&sheet.name) || !in.Number(&columns) || !in.Number(&headings) ||
      headings > in.Left())
    return Failure{kBroken};
  sheet.columnCount = columns;
  sheet.headings.resize(headings);
  for (auto& heading : sheet.headings) {
    if (!in.Text(&heading))
      return Failure{kBroken};
  }
  if (!in.Number(&rows) || rows > in.Left())
    return Failure{kBroken};
  sheet.rows.resize(rows);
  for (auto& row : sheet.rows) {
    std::uint64_t cells = 0;
    if (!in.Number(&cells) || cells > in.Left())
      return Failure{kBroken};
    row.resize(cells);
    for (auto& cell : row) {
      char kind = 0;
      if (!in.Tag(&kind))
        return Failure{kBroken};
      if (kind == 'T') {
        std::string text;
        if (!in.Text(&text))
          return Failure{kBroken};
        cell = std::move(text);
      }
    }
  }
  std::uint64_t unread = 0;
  if (!in.Number(&unread) || unread > in.Left())
    return Failure{kBroken};
  sheet.unread.resize(unread);
  for (auto& cell : sheet.unread) {
    std::uint64_t row = 0, column = 0;
    if (!in.Number(&row) || !in.Number(&column) || !in.Text(&cell.reason))
      return Failure{kBroken};
    cell.row = row;
    cell.column = column;
  }
  if (!in.AtEnd())
    return Failure{kBroken};
  return std::optional<WorkbookSheet>(std::move(sheet));
}

std::string EncodeNames(const Result<std::vector<std::string>>& names) {
  Writer out;
  if (!names) {
    out.Tag('F');
    out.Text(names.error());
    return out.Take();
  }
  out.Tag('L');
  out.Number(names->size());
  for (const auto& name : *names)
    out.Text(name);
  return out.Take();
}

Result<std::vector<std::string>> DecodeNames(const std::string& bytes) {
  Reader in(bytes);
  char tag = 0;
  std::uint64_t count = 0;
  if (!in.Tag(&tag))
    return Failure{kBroken};
  if (tag == 'F') {
    std::string message;
    if (!in.Text(&message))
      return Failure{kBroken};
    return Failure{message};
  }
  if (tag != 'L' || !in.Number(&count) || count > in.Left())
    return Failure{kBroken};
  std::vector<std::string> names(count);
  for (auto& name : names) {
    if (!in.Text(&name))
      return Failure{kBroken};
  }
  if (!in.AtEnd())
    return Failure{kBroken};
  return names;
}

}  // namespace quastor::workbook
