#pragma once
// TFOpenProject: "Open project" as a list of the projects under PROJECTS (name, last change)
// with a filter, beside the folder chooser ("Browse...").

#include <filesystem>
#include <vector>

#include "platform/ui/QuastorDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace quastor {

class TFOpenProject : public QuastorDialog {
  Q_OBJECT

 public:
  explicit TFOpenProject(QWidget* parent = nullptr);

  enum class Answer { kCancel, kProject, kBrowse };
  // Lists the projects under projects_dir, the current one (if listed) selected, shows the
  // dialog and tells what the user chose; Chosen() is the project of kProject.
  Answer Ask(const std::filesystem::path& projects_dir, const std::filesystem::path& current);
  const std::filesystem::path& Chosen() const { return chosen_; }

 private:
  void ApplyFilter();
  void OkClick();

  QLineEdit* filter_;
  QTreeWidget* list_;
  QLabel* empty_;
  QPushButton* ok_;
  std::vector<std::filesystem::path> dirs_;  // the listed projects' folders
  std::filesystem::path chosen_;
  bool browse_ = false;
};

}  // namespace quastor
