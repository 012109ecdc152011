#include "tools/UXML.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "app/Unewp.h"
#include "platform/DoneReport.h"
#include "platform/PathText.h"
#include "platform/ui/ChangedFiles.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"
#include "tools/ToolsTexts.h"
#include "tools/UXmlTreeModel.h"
#include "tools/XmlWrite.h"

namespace quastor {
namespace {

namespace texts = tools_texts;

// Disables a button while an operation runs; it is enabled again however the operation ends.
class DisabledWhileRunning {
 public:
  explicit DisabledWhileRunning(QWidget* widget) : widget_(widget) { widget_->setEnabled(false); }
  ~DisabledWhileRunning() { widget_->setEnabled(true); }
  DisabledWhileRunning(const DisabledWhileRunning&) = delete;
  DisabledWhileRunning& operator=(const DisabledWhileRunning&) = delete;

 private:
  QWidget* widget_;
};

}  // namespace

TFXML::TFXML(const AppState& state, UiServices& services, TFsaveproj& editor, QWidget* parent)
    : EditorFrame(services.messages, parent,
                  Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                      Qt::WindowCloseButtonHint),
      state_(state),
      services_(services),
      editor_(editor),
      model_(new XmlTreeModel(this)) {
  setObjectName("TFXML");
  setWindowTitle(texts::kXmlCaption);
  resize(480, 560);

  btnopen = NewButton(texts::kOpenButton, "btnopen", this);
  btnFullExpand = NewButton(texts::kFullExpandButton, "btnFullExpand", this);
  btnWrite = NewButton(texts::kWriteButton, "btnWrite", this);
  TvXml = Named(new QTreeView(this), "TvXml");
  TvXml->setModel(model_);
  TvXml->setHeaderHidden(true);
  TvXml->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TvXml->setSelectionMode(QAbstractItemView::SingleSelection);
  // Rows of one height: the view never measures a large tree item by item.
  TvXml->setUniformRowHeights(true);
  // One column as wide as the tree; a text too long for it ends in "…" and shows whole in
  // its tip and in the edit box.
  TvXml->header()->setStretchLastSection(true);
  TvXml->setTextElideMode(Qt::ElideRight);
  TvXml->installEventFilter(this);
  TvXml->viewport()->installEventFilter(this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnopen);
  buttons->addWidget(btnFullExpand);
  buttons->addWidget(btnWrite);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(TvXml, 1);
  layout->addWidget(StatusLine());

  connect(btnopen, &QPushButton::clicked, this, &TFXML::btnOpenClick);
  connect(btnFullExpand, &QPushButton::clicked, this, &TFXML::btnFullExpandClick);
  connect(btnWrite, &QPushButton::clicked, this, &TFXML::btnWriteClick);
}

void TFXML::FormShow() {
  model_->SetTree(XmlItemTree());
  stamps_.Clear();
}

void TFXML::btnOpenClick() {
  const DisabledWhileRunning running(btnopen);
  const std::filesystem::path start =
      state_.ProjectSelected() ? state_.ProjectDir : state_.ProjectsDir;
  const auto file =
      services_.dialogs.OpenFileName(this, start, texts::kXmlFilter, texts::kOpenXmlTitle);
  if (!file)
    return;
  Result<XmlItemTree> opened = OpenXmlTree(*file);
  if (!opened) {
    services_.messages.Error(opened.error());
    return;
  }
  model_->SetTree(std::move(opened.value()));
  ForgetChanges();
  RememberTarget();
}

// The file Write will replace, as it is now: another program's write since is asked about.
void TFXML::RememberTarget() {
  stamps_.Clear();
  if (const Result<std::filesystem::path> target = XmlTreeTarget(model_->Tree(), state_))
    stamps_.Remember(*target);
}

void TFXML::btnFullExpandClick() {
  TvXml->expandAll();
}

void TFXML::btnWriteClick() {
  const DisabledWhileRunning running(btnWrite);
  if (!ConfirmOverwriteChanged(services_.messages, stamps_))
    return;
  if (Status written = WriteXmlTree(model_->Tree(), state_); !written) {
    services_.messages.Error(written.error());
    return;
  }
  ForgetChanges();
  RememberTarget();
  if (const Result<std::filesystem::path> target = XmlTreeTarget(model_->Tree(), state_)) {
    if (const Result<std::string> said = FileWrittenReport(*target))
      Say(*said);
  }
}

void TFXML::TvXmlMouseDown(Qt::MouseButton button, const QPoint& at) {
  if (button != Qt::RightButton)
    return;
  const QModelIndex there = TvXml->indexAt(at);
  if (there.isValid())
    TvXml->setCurrentIndex(there);
  EditSelected();
}

void TFXML::TvXmlKeyDown(int key) {
  if (key == Qt::Key_F2)
    EditSelected();
}

void TFXML::EditSelected() {
  const QModelIndexList selected = TvXml->selectionModel()->selectedIndexes();
  if (selected.isEmpty())
    return;
  const QPersistentModelIndex item = selected.front();
  const std::string before = S(item.data(Qt::EditRole).toString());
  const std::optional<std::string> edited = editor_.EditText(before);
  if (!edited || *edited == before || !item.isValid())
    return;
  const std::string after = *edited;
  model_->SetShownText(item, after);
  RecordChange([this, item, before] { model_->SetShownText(item, before); },
               [this, item, after] { model_->SetShownText(item, after); });
}

std::string TFXML::TableName() const {
  const Result<std::filesystem::path> target = XmlTreeTarget(model_->Tree(), state_);
  return target ? Utf8FromPath(target->filename()) : std::string(texts::kXmlCaption);
}

bool TFXML::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TvXml->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      TvXmlMouseDown(mouse->button(), mouse->position().toPoint());
      return true;
    }
  }
  if (watched == TvXml && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
    TvXmlKeyDown(Qt::Key_F2);
    return true;
  }
  return EditorFrame::eventFilter(watched, event);
}

}  // namespace quastor
