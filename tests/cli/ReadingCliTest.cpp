// A project file that is no regular file (a FIFO, a link to /dev/zero) is refused at once:
// quastor-cli neither waits for a writer nor reads until memory runs out.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/PathText.h"
#include "tests/cli/CliRunner.h"
#include "tests/support/TestFiles.h"

#ifndef _WIN32
#include "tests/support/Fifo.h"
#endif

namespace quastor::test {
namespace {

namespace fs = std::filesystem;

enum class Kind { kFifo, kZero, kDirectory };

TEST(ReadingCli, SettingsShowRefusesAPargenThatIsNoRegularFile) {
  const struct {
    const char* what;
    Kind kind;
  } cases[] = {
#ifndef _WIN32
      {"FIFO", Kind::kFifo},
      {"link to /dev/zero", Kind::kZero},
#endif
      {"directory", Kind::kDirectory},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir home;
    const fs::path project = home / "PROJECTS" / "Plant";
    fs::create_directories(project / "bin");
    WriteBytes(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=/Plant\r\n");
    const fs::path pargen = project / "pargen.xml";
    const auto show = [&] { return RunCliAt(home.path(), {"settings", "show"}); };
    CliRun run;
    bool waited = false;
    if (c.kind == Kind::kDirectory) {
      fs::create_directory(pargen);
      run = show();
    }
#ifndef _WIN32
    if (c.kind == Kind::kFifo)
      run = WithFifo(pargen, show, &waited);
    if (c.kind == Kind::kZero) {
      fs::create_symlink("/dev/zero", pargen);
      run = show();
    }
#endif
    EXPECT_FALSE(waited) << "quastor-cli waited for a writer";
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "\"" + Utf8FromPath(pargen) + "\" is not a regular file.\n");
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace quastor::test
