#pragma once
// Inside the workbook adapter: the parts of a zip workbook (.xlsx, .ods) and a streaming walk
// over their XML, for the readers of WorkbookXlsx.cpp and WorkbookOds.cpp. A sheet part can
// hold millions of cells, so it is walked as it is parsed, never held as a tree.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orcus {
class zip_archive;
class zip_archive_stream;
}  // namespace orcus

namespace quastor::workbook {

// The attributes of one element, by namespace prefix and local name.
class XmlAttributes {
 public:
  // The value of the attribute named local with the given prefix (any prefix when prefix is
  // null); null when the element has none.
  const std::string* Find(std::string_view local, const char* prefix = nullptr) const;
  void Clear() { used_ = 0; }
  void Add(std::string_view prefix, std::string_view local, std::string_view value);

 private:
  struct Entry {
    std::string prefix;
    std::string local;
    std::string value;
  };
  std::vector<Entry> entries_;  // reused from element to element
  std::size_t used_ = 0;
};

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  // prefix is the element's namespace prefix ("" for none), local its name without it.
  virtual void Open(std::string_view prefix, std::string_view local,
                    const XmlAttributes& attributes) = 0;
  virtual void Close(std::string_view prefix, std::string_view local) = 0;
  virtual void Text(std::string_view text) = 0;
};

// A handler throws this to end the walk early (it has what it wanted).
struct XmlWalkDone {};

// Walks xml in document order. A malformed document throws an std::exception.
void WalkXml(std::string_view xml, XmlHandler& handler);

// The entries of a zip archive held in memory (the bytes must outlive it).
class ZipParts {
 public:
  // Throws an std::exception when the archive's directory cannot be read.
  explicit ZipParts(std::string_view bytes);
  ~ZipParts();
  ZipParts(const ZipParts&) = delete;
  ZipParts& operator=(const ZipParts&) = delete;

  // The entry's bytes, or nothing when the archive has no such entry. Throws when the entry
  // cannot be inflated.
  std::optional<std::string> Read(std::string_view name) const;

 private:
  std::unique_ptr<orcus::zip_archive_stream> stream_;
  std::unique_ptr<orcus::zip_archive> archive_;
};

}  // namespace quastor::workbook
