#include "devices/UDbcImport.h"

#include <algorithm>
#include <iterator>

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "devices/DeviceTexts.h"
#include "devices/FileListParts.h"
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

constexpr int kColumnWidths[] = {220, 80, 50, 60};
static_assert(std::size(kColumnWidths) == std::size(texts::kMessageColumns));

// The first parts, and how many more there are: a file of hundreds of messages the lists cannot
// hold would else push the message list out of the window.
std::string Joined(const std::vector<std::string>& parts) {
  constexpr std::size_t kNamed = 5;
  std::string text;
  for (std::size_t i = 0; i < parts.size() && i < kNamed; ++i)
    text += (text.empty() ? "" : "; ") + parts[i];
  if (parts.size() > kNamed)
    text += "; " + FormatText(texts::kNotListedMore, {std::to_string(parts.size() - kNamed)});
  return text;
}

}  // namespace

TFDbcImport::TFDbcImport(UiServices& services, QWidget* parent)
    : QuastorDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                                Qt::WindowCloseButtonHint),
      services_(services) {
  setObjectName("TFDbcImport");
  setWindowTitle(texts::kImportDbcCaption);
  resize(480, 440);

  const FileRow file_row = NewFileRow(texts::kNoDbcChosen, texts::kChooseDbc, this);
  LFile = file_row.file;
  BChooseFile = file_row.choose;
  sgMessages = NewRowList("sgMessages", texts::kMessageColumns, kColumnWidths,
                          std::size(kColumnWidths), QAbstractItemView::ExtendedSelection, this);
  LLeftOut = NewLabel(QString(), "LLeftOut", this);
  LLeftOut->setWordWrap(true);
  const OkCancelRow buttons = NewOkCancelRow(this);
  bitbtn1 = buttons.ok;
  bitbtn2 = buttons.cancel;

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(file_row.layout);
  layout->addWidget(sgMessages, 1);
  layout->addWidget(LLeftOut);
  layout->addLayout(buttons.layout);

  connect(BChooseFile, &QPushButton::clicked, this, &TFDbcImport::BChooseFileClick);
  connect(bitbtn1, &QPushButton::clicked, this, &TFDbcImport::bitbtn1Click);
  connect(bitbtn2, &QPushButton::clicked, this, &QDialog::reject);
}

// Every showing reads the file again, nothing selected.
void TFDbcImport::FormShow() {
  chosen_.clear();
  // A file chosen for another project's network is not offered in this one.
  if (ProjectDir != fileProject_)
    file_.clear();
  if (file_.empty() || !ShowFile(file_)) {
    file_.clear();
    LFile->setText(QString::fromUtf8(texts::kNoDbcChosen));
    ShowFrames({});
  }
  sgMessages->setFocus();
}

bool TFDbcImport::ShowFile(const std::filesystem::path& file) {
  const Result<DbcFrames> read = ReadJ1939Frames(file);
  if (!read) {
    services_.messages.Error(read.error());
    return false;
  }
  const DbcFrames& frames = *read;
  LFile->setText(Q(FormatText(
      texts::kDbcShown, {Utf8FromPath(file.filename()), std::to_string(frames.frames.size())})));
  ShowFrames(frames);
  return true;
}

void TFDbcImport::ShowFrames(const DbcFrames& frames) {
  frames_ = frames.frames;
  GridRows cells;
  for (const DbcFrame& frame : frames_)
    cells.push_back(frame.Cells());
  sgMessages->Model().Reset(static_cast<int>(cells.size()));
  sgMessages->Model().SetRows(cells);
  sgMessages->clearSelection();
  LLeftOut->setText(frames.leftOut.empty()
                        ? QString()
                        : Q(FormatText(texts::kNotListed, {Joined(frames.leftOut)})));
}

void TFDbcImport::BChooseFileClick() {
  const auto chosen = services_.dialogs.OpenFileName(this, ProjectDir, texts::kDbcFilter);
  if (chosen && ShowFile(*chosen)) {
    file_ = *chosen;
    fileProject_ = ProjectDir;
  }
}

void TFDbcImport::bitbtn1Click() {
  std::vector<int> rows;
  for (const QModelIndex& row : sgMessages->selectionModel()->selectedRows())
    rows.push_back(row.row());
  if (rows.empty()) {
    services_.messages.Plain(texts::kNoMessageSelected);
    return;
  }
  std::sort(rows.begin(), rows.end());
  chosen_.clear();
  for (const int row : rows)
    chosen_.push_back(frames_[static_cast<std::size_t>(row)]);
  accept();
}

}  // namespace quastor
