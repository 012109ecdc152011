#include "devices/UPickObject.h"

#include <iterator>

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "devices/DeviceTexts.h"
#include "devices/EdsFile.h"
#include "devices/FileListParts.h"
#include "devices/ProjectDevices.h"
#include "platform/PathText.h"
#include "platform/Text.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/StringGrid.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"

namespace quastor {
namespace {

namespace texts = device_texts;

constexpr int kColumnWidths[] = {60, 60, 190, 130, 50, 45};
static_assert(std::size(kColumnWidths) == std::size(texts::kObjectColumns));

}  // namespace

TFPickObject::TFPickObject(UiServices& services, QWidget* parent)
    : QuastorDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                                Qt::WindowCloseButtonHint),
      services_(services) {
  setObjectName("TFPickObject");
  setWindowTitle(texts::kPickObjectCaption);
  resize(600, 480);

  const FileRow file_row = NewFileRow(texts::kNoEdsChosen, texts::kChooseEds, this);
  LFile = file_row.file;
  BChooseFile = file_row.choose;
  LFilter = NewLabel(texts::kFilterLabel, "LFilter", this);
  EFilter = NewEdit("EFilter", this);
  LFilter->setBuddy(EFilter);
  sgObjects = NewRowList("sgObjects", texts::kObjectColumns, kColumnWidths,
                         std::size(kColumnWidths), QAbstractItemView::SingleSelection, this);
  const OkCancelRow buttons = NewOkCancelRow(this);
  bitbtn1 = buttons.ok;
  bitbtn2 = buttons.cancel;

  auto* filter_row = new QHBoxLayout;
  filter_row->addWidget(LFilter);
  filter_row->addWidget(EFilter, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(file_row.layout);
  layout->addLayout(filter_row);
  layout->addWidget(sgObjects, 1);
  layout->addLayout(buttons.layout);

  connect(BChooseFile, &QPushButton::clicked, this, &TFPickObject::BChooseFileClick);
  connect(EFilter, &QLineEdit::textChanged, this, [this] { ApplyFilter(); });
  connect(sgObjects, &QAbstractItemView::doubleClicked, this, [this] { bitbtn1Click(); });
  connect(bitbtn1, &QPushButton::clicked, this, &TFPickObject::bitbtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &QDialog::reject);
}

// Every showing opens the file the project remembers, unfiltered.
void TFPickObject::FormShow() {
  picked_.reset();
  ShowNone();
  EFilter->clear();
  if (const std::optional<std::filesystem::path> file = RememberedEds(ProjectDir))
    ShowFile(*file);
  EFilter->setFocus();
}

void TFPickObject::ShowNone() {
  rows_.clear();
  LFile->setText(QString::fromUtf8(texts::kNoEdsChosen));
  ApplyFilter();
}

bool TFPickObject::ShowFile(const std::filesystem::path& file) {
  const Result<EdsFile> read = ReadEdsFile(file);
  if (!read) {
    services_.messages.Error(read.error());
    return false;
  }
  rows_ = ObjectRows(*read);
  const std::string device = read->productName.empty() ? "" : " (" + read->productName + ")";
  LFile->setText(Q(FormatText(texts::kEdsShown, {Utf8FromPath(file.filename()), device,
                                                 std::to_string(read->objects.size())})));
  ApplyFilter();
  return true;
}

void TFPickObject::ApplyFilter() {
  const std::string filter = S(EFilter->text());
  shown_.clear();
  GridRows cells;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (ObjectRowMatches(rows_[i], filter)) {
      shown_.push_back(i);
      cells.push_back(rows_[i].Cells());
    }
  }
  sgObjects->Model().Reset(static_cast<int>(cells.size()));
  sgObjects->Model().SetRows(cells);
  if (!cells.empty())
    sgObjects->setCurrentIndex(sgObjects->Model().index(0, 0));
}

void TFPickObject::BChooseFileClick() {
  const std::filesystem::path folder = DevicesFolder(ProjectDir);
  const auto chosen = services_.dialogs.OpenFileName(
      this, std::filesystem::is_directory(folder) ? folder : ProjectDir, texts::kEdsFilter);
  if (!chosen)
    return;
  // A file that does not read is neither copied nor remembered.
  if (const Result<EdsFile> read = ReadEdsFile(*chosen); !read) {
    services_.messages.Error(read.error());
    return;
  }
  const Result<std::filesystem::path> copy = AdoptEds(ProjectDir, *chosen);
  if (!copy) {
    services_.messages.Error(copy.error());
    return;
  }
  EFilter->clear();
  ShowFile(*copy);
}

void TFPickObject::bitbtn1Click() {
  const QModelIndex current = sgObjects->currentIndex();
  if (!current.isValid() || static_cast<std::size_t>(current.row()) >= shown_.size()) {
    services_.messages.Plain(texts::kNoObjectSelected);
    return;
  }
  Result<SdoFill> fill =
      SdoFillFor(rows_[shown_[static_cast<std::size_t>(current.row())]], Direction);
  if (!fill) {
    services_.messages.Error(fill.error());
    return;
  }
  picked_ = std::move(fill.value());
  accept();
}

}  // namespace quastor
