// The files installed with the application: where an installed tree keeps them, which
// application directory an installed program takes, how start-up fills a MASTER of the user's
// own, and where the help file is read from.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AppTexts.h"
#include "app/HelpFile.h"
#include "app/StartUp.h"
#include "platform/PathText.h"
#include "tests/support/TestFiles.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// Sets (or with nullopt removes) a variable of this process's environment for the object's
// life, then puts the old value back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name))
      old_ = old;
    Set(value);
  }
  ~ScopedEnvironment() { Set(old_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Set(const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable on Windows.
    _putenv_s(name_.c_str(), value ? value->c_str() : "");
#else
    if (value)
      setenv(name_.c_str(), value->c_str(), 1);
    else
      unsetenv(name_.c_str());
#endif
  }
  std::string name_;
  std::optional<std::string> old_;
};

// An installed tree: bin/ beside share/quastor/ with the help file and MASTER's two files.
struct InstalledTree {
  TempDir root;
  fs::path bin = root / "bin";
  fs::path data = root / "share" / "quastor";
  InstalledTree() {
    fs::create_directories(bin);
    fs::create_directories(data / "MASTER");
    WriteBytes(data / "help2.dat", "installed help");
    WriteBytes(data / "MASTER" / "sim4410.sim", "installed simulation\r\n");
    WriteBytes(data / "MASTER" / "sx4375.sx", "S00600004844521B\r\nS9030000FC\r\n");
  }
};

TEST(Installation, InstalledTreeIsToldByItsShareFolder) {
  InstalledTree tree;
  EXPECT_TRUE(RunsInstalled(tree.bin));
  EXPECT_EQ(InstalledDataDirectory(tree.bin), tree.data);
  EXPECT_EQ(InstalledDataDirectory(tree.bin / ""), tree.data) << "a trailing separator";

  // A build tree or an unpacked zip keeps the files beside the executable.
  TempDir flat;
  EXPECT_FALSE(RunsInstalled(flat.path()));
  EXPECT_EQ(InstalledDataDirectory(flat.path()), flat.path());
  // share/quastor must be a folder; a file of that name makes no installation.
  fs::create_directories(flat / "x" / "share");
  fs::create_directories(flat / "x" / "bin");
  WriteBytes(flat / "x" / "share" / "quastor", "");
  EXPECT_FALSE(RunsInstalled(flat / "x" / "bin"));
}

#ifndef _WIN32
TEST(Installation, UserDataDirectoryFollowsXdgThenHome) {
  struct Case {
    std::optional<std::string> xdg;
    std::optional<std::string> home;
    fs::path expected;
  } cases[] = {
      {"/xdg/data", "/home/u", "/xdg/data/quastor"},
      {std::nullopt, "/home/u", "/home/u/.local/share/quastor"},
      {"", "/home/u", "/home/u/.local/share/quastor"},
      {"relative/data", "/home/u", "/home/u/.local/share/quastor"},  // invalid, ignored
      {std::nullopt, std::nullopt, ""},
      {std::nullopt, "", ""},
  };
  for (const Case& c : cases) {
    ScopedEnvironment xdg("XDG_DATA_HOME", c.xdg);
    ScopedEnvironment home("HOME", c.home);
    EXPECT_EQ(UserDataDirectory(), c.expected)
        << c.xdg.value_or("(unset)") << " " << c.home.value_or("(unset)");
  }
}
#else
TEST(Installation, UserDataDirectoryIsUnderLocalAppData) {
  ScopedEnvironment local("LOCALAPPDATA", "C:\\Users\\u\\AppData\\Local");
  EXPECT_EQ(UserDataDirectory(), fs::path("C:\\Users\\u\\AppData\\Local") / "quastor");
}
#endif

TEST(Installation, InstalledProgramKeepsItsDataInTheUsersDirectory) {
  InstalledTree tree;
  TempDir user;
#ifdef _WIN32
  ScopedEnvironment data_home("LOCALAPPDATA", Utf8FromPath(user / "fresh"));
  const fs::path user_dir = user / "fresh" / "quastor";
#else
  ScopedEnvironment data_home("XDG_DATA_HOME", Utf8FromPath(user / "fresh" / "share"));
  const fs::path user_dir = user / "fresh" / "share" / "quastor";
#endif
  {
    ScopedEnvironment home("QUASTOR_HOME", std::nullopt);
    EXPECT_EQ(*ApplicationDirectory(tree.bin), user_dir);
    // Start-up makes it with its parents: a fresh account may have none of them.
    StartUp(*ApplicationDirectory(tree.bin), tree.data);
    EXPECT_TRUE(fs::is_regular_file(user_dir / "MASTER" / "sx4375.sx"));
    EXPECT_TRUE(fs::is_directory(user_dir / "PROJECTS"));
    // Not installed: the executable's own directory, as before.
    TempDir flat;
    EXPECT_EQ(*ApplicationDirectory(flat.path()), flat.path());
  }
  {
    // QUASTOR_HOME overrides the user's directory.
    ScopedEnvironment home("QUASTOR_HOME", Utf8FromPath(user / "mine"));
    EXPECT_EQ(*ApplicationDirectory(tree.bin), user / "mine");
  }
  // Nowhere of the user's own to go: refused, rather than taking the installed bin directory
  // (/usr/bin) for projects; a tree that is not installed still uses its own directory.
  ScopedEnvironment home("QUASTOR_HOME", std::nullopt);
#ifdef _WIN32
  ScopedEnvironment no_local("LOCALAPPDATA", std::nullopt);
  const std::string variable = "LOCALAPPDATA";
#else
  ScopedEnvironment no_xdg("XDG_DATA_HOME", std::nullopt);
  ScopedEnvironment no_home("HOME", std::nullopt);
  const std::string variable = "HOME";
#endif
  const Result<fs::path> refused = ApplicationDirectory(tree.bin);
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.error(), "No application directory: " + variable +
                                 " is not set, so the user's data directory is unknown. Set it, "
                                 "or set QUASTOR_HOME to the directory to use");
  TempDir flat;
  EXPECT_EQ(*ApplicationDirectory(flat.path()), flat.path());
}

TEST(Installation, FirstStartFillsMasterFromTheInstallation) {
  InstalledTree tree;
  TempDir home;
  const AppState state = StartUp(home.path(), tree.data);
  EXPECT_EQ(state.DataDir, tree.data);
  for (const char* name : {"sim4410.sim", "sx4375.sx"}) {
    ASSERT_TRUE(fs::is_regular_file(home / "MASTER" / name)) << name;
    EXPECT_EQ(ReadBytes(home / "MASTER" / name), ReadBytes(tree.data / "MASTER" / name)) << name;
  }
  // Nothing else: no temporary left behind, no help file copied.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(home / "MASTER"))
    names.push_back(Utf8FromPath(entry.path().filename()));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"sim4410.sim", "sx4375.sx"}));
  EXPECT_FALSE(fs::exists(home / "help2.dat"));
  // The next start finds them there and copies nothing.
  EXPECT_TRUE(FillMasterFiles(StartUp(home.path(), tree.data)).empty());
}

// QUASTOR_HOME, --home or a fresh account's data directory may name a folder not made yet.
TEST(Installation, ApplicationDirectoryNamedForTheFirstTimeIsMade) {
  InstalledTree tree;
  TempDir top;
  const fs::path home = top / "not" / "yet";
  const AppState state = StartUp(home, tree.data);
  EXPECT_TRUE(fs::is_directory(home / "PROJECTS"));
  EXPECT_TRUE(fs::is_regular_file(home / "MASTER" / "sim4410.sim"));
  EXPECT_EQ(state.ProjectDir, home / "PROJECTS");
}

TEST(Installation, FillingNeverReplacesWhatTheUserHas) {
  struct Case {
    const char* name;
    std::function<void(const fs::path& master)> own;  // what the user has in MASTER
    std::vector<std::string> copied;
  } cases[] = {
      {"own firmware file",
       [](const fs::path& m) { WriteBytes(m / "sx4375.sx", "S9030000FC\r\n"); },
       {"sim4410.sim"}},
      {"own empty simulation file",
       [](const fs::path& m) { WriteBytes(m / "sim4410.sim", ""); },
       {"sx4375.sx"}},
      {"a folder in the firmware file's place",
       [](const fs::path& m) { fs::create_directory(m / "sx4375.sx"); },
       {"sim4410.sim"}},
      {"both there",
       [](const fs::path& m) {
         WriteBytes(m / "sx4375.sx", "mine");
         WriteBytes(m / "sim4410.sim", "mine");
       },
       {}},
  };
  for (const Case& c : cases) {
    InstalledTree tree;
    TempDir home;
    fs::create_directories(home / "MASTER");
    c.own(home / "MASTER");
    const auto before = fs::is_regular_file(home / "MASTER" / "sx4375.sx")
                            ? ReadBytes(home / "MASTER" / "sx4375.sx")
                            : std::string("(none)");
    AppState state;
    state.AppDir = home.path();
    state.MasterDir = home / "MASTER";
    state.DataDir = tree.data;
    EXPECT_EQ(FillMasterFiles(state), c.copied) << c.name;
    if (before != "(none)") {
      EXPECT_EQ(ReadBytes(home / "MASTER" / "sx4375.sx"), before) << c.name;
    }
  }
}

#ifndef _WIN32
TEST(Installation, BrokenLinkInMasterIsTheUsers) {
  InstalledTree tree;
  TempDir home;
  fs::create_directories(home / "MASTER");
  fs::create_symlink(home / "elsewhere.sx", home / "MASTER" / "sx4375.sx");
  StartUp(home.path(), tree.data);
  EXPECT_TRUE(fs::is_symlink(home / "MASTER" / "sx4375.sx"));
  EXPECT_FALSE(fs::exists(home / "elsewhere.sx")) << "written through the user's link";
  EXPECT_TRUE(fs::is_regular_file(home / "MASTER" / "sim4410.sim"));
}
#endif

TEST(Installation, NothingToFillFromMakesNoChange) {
  struct Case {
    const char* name;
    std::function<fs::path(const InstalledTree&)> data;
  } cases[] = {
      {"no data directory", [](const InstalledTree&) { return fs::path(); }},
      {"data directory gone", [](const InstalledTree& t) { return t.root / "gone"; }},
      {"data directory without MASTER",
       [](const InstalledTree& t) {
         fs::remove_all(t.data / "MASTER");
         return t.data;
       }},
  };
  for (const Case& c : cases) {
    InstalledTree tree;
    TempDir home;
    const AppState state = StartUp(home.path(), c.data(tree));
    EXPECT_TRUE(fs::is_directory(home / "MASTER")) << c.name;
    EXPECT_TRUE(fs::is_empty(home / "MASTER")) << c.name;
  }

  // Only one of the two installed: that one comes.
  InstalledTree tree;
  fs::remove(tree.data / "MASTER" / "sim4410.sim");
  TempDir home;
  StartUp(home.path(), tree.data);
  EXPECT_TRUE(fs::exists(home / "MASTER" / "sx4375.sx"));
  EXPECT_FALSE(fs::exists(home / "MASTER" / "sim4410.sim"));

  // The application directory is the data directory (a build tree, an unpacked zip).
  InstalledTree same;
  const AppState state = StartUp(same.data, same.data);
  EXPECT_TRUE(FillMasterFiles(state).empty());
  EXPECT_EQ(ReadBytes(same.data / "MASTER" / "sim4410.sim"), "installed simulation\r\n");

  // A MASTER that cannot be made: start-up goes on without a word.
  TempDir blocked;
  WriteBytes(blocked / "MASTER", "a file where MASTER should be");
  const AppState no_master = StartUp(blocked.path(), tree.data);
  EXPECT_EQ(no_master.ProjectDir, blocked / "PROJECTS");
  EXPECT_EQ(ReadBytes(blocked / "MASTER"), "a file where MASTER should be");
}

TEST(Installation, HelpFileFromTheApplicationDirectoryElseTheInstallation) {
  InstalledTree tree;
  TempDir home;
  AppState state = StartUp(home.path(), tree.data);
  EXPECT_EQ(HelpFilePath(state), tree.data / "help2.dat");
  ASSERT_TRUE(LoadHelpFile(HelpFilePath(state)).ok());
  EXPECT_EQ(LoadHelpFile(HelpFilePath(state))->document.PlainText(), "installed help");

  // The user's own help file wins; the help file is not copied into the application directory.
  WriteBytes(home / "help2.dat", "my own help");
  EXPECT_EQ(HelpFilePath(state), home / "help2.dat");
  EXPECT_EQ(LoadHelpFile(HelpFilePath(state))->document.PlainText(), "my own help");

  // Without an installation, or when neither has one: the application directory's, whose
  // absence the help window reports.
  fs::remove(home / "help2.dat");
  fs::remove(tree.data / "help2.dat");
  EXPECT_EQ(HelpFilePath(state), tree.data / "help2.dat");
  EXPECT_EQ(LoadHelpFile(HelpFilePath(state)).error(), "Impossible to read file Help");
  state.DataDir.clear();
  EXPECT_EQ(HelpFilePath(state), home / "help2.dat");
}

TEST(Installation, OneVersionForTheAboutWindowAndBothExecutables) {
  EXPECT_STREQ(app_texts::kVersion, "1.002");
  EXPECT_STREQ(app_texts::kVersion, QUASTOR_VERSION);
}

}  // namespace
}  // namespace quastor
