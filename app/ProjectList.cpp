#include "app/ProjectList.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <system_error>

#include "app/Projects.h"
#include "platform/PathText.h"

namespace quastor {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::time_t TimeOf(fs::file_time_type when) {
  using namespace std::chrono;
  const auto system = time_point_cast<system_clock::duration>(
      when - fs::file_time_type::clock::now() + system_clock::now());
  return system_clock::to_time_t(system);
}

// The newest modification time among dir and the entries of dir and of dir/bin.
fs::file_time_type NewestIn(const fs::path& dir) {
  std::error_code ec;
  fs::file_time_type newest = fs::last_write_time(dir, ec);
  for (const fs::path& folder : {dir, dir / "bin"}) {
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      std::error_code entry_ec;
      const fs::file_time_type when = it->last_write_time(entry_ec);
      if (!entry_ec)
        newest = std::max(newest, when);
    }
    ec.clear();
  }
  return newest;
}

}  // namespace

std::vector<ProjectEntry> ListProjects(const fs::path& projects_dir) {
  std::vector<ProjectEntry> projects;
  std::error_code ec;
  for (fs::directory_iterator it(projects_dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code entry_ec;
    if (!it->is_directory(entry_ec) || entry_ec)
      continue;
    projects.push_back(
        {Utf8FromPath(it->path().filename()), it->path(), TimeOf(NewestIn(it->path()))});
  }
  std::sort(projects.begin(), projects.end(), [](const ProjectEntry& a, const ProjectEntry& b) {
    const std::string la = Lower(a.name);
    const std::string lb = Lower(b.name);
    return la != lb ? la < lb : a.name < b.name;
  });
  return projects;
}

bool MatchesFilter(const std::string& name, const std::string& filter) {
  return Lower(name).find(Lower(Trimmed(filter))) != std::string::npos;
}

bool IsProjectFolder(const fs::path& dir, const fs::path& projects_dir) {
  const std::optional<std::string> below = NameBelow(dir, projects_dir);
  if (!below || below->empty())
    return false;
  std::error_code ec;
  if (!fs::is_directory(dir, ec))
    return false;
  // NameBelow gives "\\Plant1" for a folder directly under projects_dir.
  const bool directly_under = below->find(kNativeSeparator, 1) == std::string::npos;
  return directly_under || fs::is_directory(dir / "bin", ec);
}

std::string LastChangeText(std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

}  // namespace quastor
