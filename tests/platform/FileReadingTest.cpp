// The one read every reader goes through: what is not a regular file is refused at once, a
// FIFO without a writer included, and so is a file above the size limit.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/FileReading.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "tests/support/TestFiles.h"

#ifndef _WIN32
#include "tests/support/Fifo.h"
#endif

namespace quastor {
namespace {

namespace fs = std::filesystem;

std::string NotRegular(const fs::path& file) {
  return FormatText(kNotRegularFile, {Utf8FromPath(file)});
}

// Each kind of file that is no regular file, reached by its own path or by a link in the
// project's place; the read must neither hang (FIFO) nor run out of memory (/dev/zero).
TEST(FileReading, RefusesWhatIsNotARegularFile) {
  test::TempDir dir;
  struct Case {
    const char* kind;
    fs::path path;
    std::function<void(const fs::path&)> make;  // makes path, unless it is there
  };
  std::vector<Case> cases = {
      {"directory", dir / "pargen.xml", [](const fs::path& p) { fs::create_directory(p); }},
  };
#ifndef _WIN32
  cases.push_back({"FIFO", dir / "fifo.xml", nullptr});
  cases.push_back({"character device read for ever", dir / "zero.xml",
                   [](const fs::path& p) { fs::create_symlink("/dev/zero", p); }});
  cases.push_back({"character device read as empty", "/dev/null", nullptr});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    if (c.make)
      c.make(c.path);
    const auto read = [&] { return ReadWholeFile(c.path, "Cannot open file \"%s\". %s"); };
    bool waited = false;
#ifndef _WIN32
    const Result<std::string> bytes =
        c.make || c.path == "/dev/null" ? read() : test::WithFifo(c.path, read, &waited);
#else
    const Result<std::string> bytes = read();
#endif
    EXPECT_FALSE(waited) << "the read waited for a writer";
    ASSERT_FALSE(bytes.ok());
    EXPECT_EQ(bytes.error(), NotRegular(c.path));
  }
}

// Above 256 MB a file is refused with its size before a byte is read (the file is sparse).
TEST(FileReading, RefusesAFileAboveTheLimitWithItsSize) {
  test::TempDir dir;
  const fs::path file = dir / "sdo.xml";
  test::WriteBytes(file, "");
  fs::resize_file(file, kReadLimitBytes);
  EXPECT_TRUE(OpenForReading(file).ok());
  fs::resize_file(file, kReadLimitBytes + 1);
  EXPECT_FALSE(OpenForReading(file).ok()) << "refused by its size, before it is read";
  const Result<std::string> bytes = ReadWholeFile(file);
  ASSERT_FALSE(bytes.ok());
  EXPECT_EQ(bytes.error(), FormatText(kFileTooLarge, {Utf8FromPath(file), "268435457", "256"}));
}

// The system's reason goes into the caller's words; a regular file reads whole.
TEST(FileReading, PutsTheSystemsReasonIntoTheCallersWords) {
  test::TempDir dir;
  const Result<std::string> missing = ReadWholeFile(dir / "x.xml", "Cannot open \"%s\": %s");
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.error(),
            "Cannot open \"" + Utf8FromPath(dir / "x.xml") + "\": " + SystemReason(ENOENT));
  test::WriteBytes(dir / "y.xml", "<a/>");
  EXPECT_EQ(ReadWholeFile(dir / "y.xml").value(), "<a/>");
}

}  // namespace
}  // namespace quastor
