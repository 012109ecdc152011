#include "platform/ui/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

#include "platform/ui/QtText.h"

namespace quastor {
namespace {

bool IsBelow(const QString& directory, const QString& root) {
  const QString dir = QDir::cleanPath(QDir(directory).absolutePath());
  const QString top = QDir::cleanPath(QDir(root).absolutePath());
  return dir == top || dir.startsWith(top.endsWith('/') ? top : top + '/');
}

}  // namespace

std::optional<std::filesystem::path> QtFileDialogs::ChooseDirectory(
    QWidget* parent, const std::string& title, const std::filesystem::path& root,
    const std::filesystem::path& start) {
  const QString top = QPath(root);
  QFileDialog dialog(parent, Q(title));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  dialog.setSidebarUrls({QUrl::fromLocalFile(top)});
  dialog.setDirectory(start.empty() ? top : QPath(start));
  // Keep the browsing below the root: a step above it returns to the root.
  QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog,
                   [&dialog, top](const QString& dir) {
                     if (!IsBelow(dir, top))
                       dialog.setDirectory(top);
                   });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return PathOf(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

std::optional<std::filesystem::path> QtFileDialogs::SaveFileName(
    QWidget* parent, const std::filesystem::path& directory, const std::string& filter,
    const std::string& default_suffix) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(Q(filter));
  dialog.setDefaultSuffix(Q(default_suffix));
  dialog.setDirectory(QPath(directory));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return PathOf(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

std::optional<std::filesystem::path> QtFileDialogs::OpenFileName(
    QWidget* parent, const std::filesystem::path& directory, const std::string& filter,
    const std::string& title) {
  QFileDialog dialog(parent, Q(title));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(Q(filter));
  dialog.setDirectory(QPath(directory));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return PathOf(QDir::toNativeSeparators(dialog.selectedFiles().front()));
}

}  // namespace quastor
