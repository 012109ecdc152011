#include "app/UOpenProject.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/ProjectList.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "platform/ui/Widgets.h"

namespace quastor {
namespace {

constexpr int kDirRole = Qt::UserRole;

}  // namespace

TFOpenProject::TFOpenProject(QWidget* parent) : QuastorDialog(parent) {
  setObjectName("TFOpenProject");
  setWindowTitle(app_texts::kOpenProjectCaption);

  auto* filter_label = new QLabel(app_texts::kProjectFilterLabel, this);
  filter_ = Named(new QLineEdit(this), "Filter");
  filter_->setClearButtonEnabled(true);
  filter_label->setBuddy(filter_);
  list_ = Named(new QTreeWidget(this), "Projects");
  list_->setHeaderLabels({app_texts::kProjectColumn, app_texts::kLastChangeColumn});
  list_->setRootIsDecorated(false);
  list_->setSortingEnabled(true);
  list_->sortByColumn(0, Qt::AscendingOrder);
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  list_->header()->setStretchLastSection(false);
  list_->setMinimumSize(380, 220);
  empty_ = Named(new QLabel(this), "NoProjects");
  empty_->setWordWrap(true);

  auto* browse = Named(new QPushButton(app_texts::kBrowseFolder, this), "Browse");
  const OkCancelRow buttons = NewOkCancelRow(this);
  ok_ = buttons.ok;
  buttons.layout->insertWidget(0, browse);

  auto* filter_row = new QHBoxLayout;
  filter_row->addWidget(filter_label);
  filter_row->addWidget(filter_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(filter_row);
  layout->addWidget(list_, 1);
  layout->addWidget(empty_);
  layout->addLayout(buttons.layout);

  connect(filter_, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { OkClick(); });
  connect(list_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* item) { ok_->setEnabled(item != nullptr && !item->isHidden()); });
  connect(ok_, &QPushButton::clicked, this, &TFOpenProject::OkClick);
  connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(browse, &QPushButton::clicked, this, [this] {
    browse_ = true;
    accept();
  });
}

TFOpenProject::Answer TFOpenProject::Ask(const std::filesystem::path& projects_dir,
                                         const std::filesystem::path& current) {
  chosen_.clear();
  browse_ = false;
  list_->clear();
  filter_->clear();
  dirs_.clear();
  const std::vector<ProjectEntry> projects = ListProjects(projects_dir);
  for (const ProjectEntry& project : projects) {
    auto* item =
        new QTreeWidgetItem(list_, {Q(project.name), Q(LastChangeText(project.lastChange))});
    // By its place in dirs_: a folder name need not be text Qt can hold.
    item->setData(0, kDirRole, static_cast<int>(dirs_.size()));
    dirs_.push_back(project.dir);
    if (project.dir == current)
      list_->setCurrentItem(item);
  }
  empty_->setText(Q(FormatText(app_texts::kNoProjects, {Utf8FromPath(projects_dir)})));
  empty_->setVisible(projects.empty());
  if (list_->currentItem() == nullptr && list_->topLevelItemCount() > 0)
    list_->setCurrentItem(list_->topLevelItem(0));
  ok_->setEnabled(list_->currentItem() != nullptr);
  filter_->setFocus();
  if (exec() != QDialog::Accepted)
    return Answer::kCancel;
  return browse_ ? Answer::kBrowse : Answer::kProject;
}

void TFOpenProject::ApplyFilter() {
  const std::string filter = S(filter_->text());
  QTreeWidgetItem* first = nullptr;
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list_->topLevelItem(i);
    item->setHidden(!MatchesFilter(S(item->text(0)), filter));
    if (first == nullptr && !item->isHidden())
      first = item;
  }
  if (list_->currentItem() == nullptr || list_->currentItem()->isHidden())
    list_->setCurrentItem(first);
  ok_->setEnabled(first != nullptr);
}

void TFOpenProject::OkClick() {
  QTreeWidgetItem* item = list_->currentItem();
  if (item == nullptr || item->isHidden())
    return;
  chosen_ = dirs_.at(static_cast<std::size_t>(item->data(0, kDirRole).toInt()));
  accept();
}

}  // namespace quastor
