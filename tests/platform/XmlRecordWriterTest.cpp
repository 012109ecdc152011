// The record writer gives the bytes of the document serializer, so that table files written
// either way are the same, and what it writes reads back unchanged.

#include <gtest/gtest.h>

#include <string>

#include "platform/XmlDocument.h"
#include "platform/XmlRecordWriter.h"

namespace quastor {
namespace {

TEST(XmlRecordWriter, SameBytesAsTheDocumentForEveryByteOfAValue) {
  const std::vector<std::string> names = {"a", "b"};
  XmlRecordWriter writer("table");
  XmlDocument document;
  XmlNode root = document.AddRoot("table");
  for (int c = 1; c < 256; ++c) {
    const std::string value = std::string("x") + static_cast<char>(c) + "\xC3\xA9";
    writer.AddRecord("row", names, {value});
    XmlNode row = root.AppendElement("row");
    row.SetAttribute("a", value);
    row.SetAttribute("b", "");
  }
  EXPECT_EQ(writer.Finish(), document.ToText());
}

TEST(XmlRecordWriter, ValuesReadBackUnchanged) {
  const std::string value = "a&b<c\"d>e'f\tg\r\nh \xC3\xA9";
  XmlRecordWriter writer("table");
  writer.AddRecord("row", {"a"}, {value});
  XmlDocument read;
  ASSERT_TRUE(read.LoadText(writer.Finish()).ok());
  EXPECT_EQ(read.DocumentElement().Children().begin()->Attribute("a"), value);
}

TEST(XmlRecordWriter, EmptyDocumentElement) {
  XmlDocument document;
  document.AddRoot("sdopdo");
  EXPECT_EQ(XmlRecordWriter("sdopdo").Finish(), document.ToText());
  EXPECT_EQ(document.ToText(), "<sdopdo/>");
}

}  // namespace
}  // namespace quastor
