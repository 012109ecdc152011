#pragma once
// The system's file and folder choosers, behind an interface so that tests can answer them.

#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace quastor {

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // A folder chooser that starts at start and offers root and the folders below it.
  // Nothing when the user cancels.
  virtual std::optional<std::filesystem::path> ChooseDirectory(
      QWidget* parent, const std::string& title, const std::filesystem::path& root,
      const std::filesystem::path& start) = 0;
  // A save dialog in directory with a filter such as "Generic Station Description (*.gsd)";
  // default_suffix is added to a name typed without one. Nothing when the user cancels.
  virtual std::optional<std::filesystem::path> SaveFileName(QWidget* parent,
                                                            const std::filesystem::path& directory,
                                                            const std::string& filter,
                                                            const std::string& default_suffix) = 0;
  // An open dialog in directory for an existing file matching filter, such as
  // "Workbooks (*.xls *.xlsx)", with the system's title when title is empty. Nothing when the
  // user cancels.
  virtual std::optional<std::filesystem::path> OpenFileName(
      QWidget* parent, const std::filesystem::path& directory, const std::string& filter,
      const std::string& title = std::string()) = 0;
};

class QtFileDialogs : public FileDialogs {
 public:
  std::optional<std::filesystem::path> ChooseDirectory(QWidget* parent, const std::string& title,
                                                       const std::filesystem::path& root,
                                                       const std::filesystem::path& start) override;
  std::optional<std::filesystem::path> SaveFileName(QWidget* parent,
                                                    const std::filesystem::path& directory,
                                                    const std::string& filter,
                                                    const std::string& default_suffix) override;
  std::optional<std::filesystem::path> OpenFileName(
      QWidget* parent, const std::filesystem::path& directory, const std::string& filter,
      const std::string& title = std::string()) override;
};

}  // namespace quastor
