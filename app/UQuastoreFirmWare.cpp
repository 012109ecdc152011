#include "app/UQuastoreFirmWare.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "app/Projects.h"
#include "app/StartUp.h"
#include "app/UAbout.h"
#include "app/UOpenProject.h"
#include "app/Uhelp.h"
#include "app/Unewp.h"
#include "platform/Text.h"
#include "platform/ui/ClickLabel.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/Shell.h"
#include "platform/ui/TitleBar.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/WidgetTexts.h"
#include "platform/ui/Widgets.h"

namespace quastor {
namespace {

QPushButton* NewBarButton(const QString& text, const char* name, const QString& tip,
                          QWidget* parent) {
  return Named(new BarButton(text, tip, parent), name);
}

void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  widget->setPalette(palette);
}

void SetBold(QWidget* widget) {
  QFont font = widget->font();
  font.setBold(true);
  widget->setFont(font);
}

QLabel* StepLabel(int step, QWidget* parent) {
  auto* label = new QLabel(QString("Step %1").arg(step), parent);
  label->setObjectName(QString("Step%1").arg(step));
  SetBold(label);
  SetTextColour(label, QColor(0x14, 0x3d, 0x7a));
  return label;
}

}  // namespace

TFQuastoreFirmWare::TFQuastoreFirmWare(AppState& state, UiServices& services,
                                       const std::filesystem::path& app_dir,
                                       const std::filesystem::path& data_dir, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      state_(state),
      services_(services) {
  setObjectName("TFQuastoreFirmWare");
  setWindowTitle(app_texts::kDesignCaption);
  setFixedSize(565, 236);

  auto* bar = Named(new TitleBar(this), "TitleBar");
  auto* product = new QLabel(app_texts::kProductLine, bar);
  SetBold(product);
  SetTextColour(product, Qt::white);
  HelpButton = NewBarButton("?", "HelpButton", app_texts::kHelpTip, bar);
  Windows = NewBarButton(app_texts::kWindowsMenu, "Windows", app_texts::kWindowsMenuTip, bar);
  WindowsMenu = Named(new QMenu(Windows), "WindowsMenu");
  Windows->setMenu(WindowsMenu);
  About = NewBarButton(app_texts::kAbout, "About", app_texts::kAboutTip, bar);
  LbButton1 = NewBarButton(widget_texts::kClose, "LbButton1", app_texts::kCloseTip, bar);
  projectHeader_ = Named(new QLabel(bar), "ProjectHeader");
  SetBold(projectHeader_);
  // A long name must not widen the fixed window: it is cut, and whole in the tip.
  projectHeader_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  SetTextColour(projectHeader_, QColor(0xff, 0xe0, 0x8a));
  auto* bar_layout = new QHBoxLayout(bar);
  bar_layout->setContentsMargins(12, 5, 8, 5);
  bar_layout->addWidget(product);
  bar_layout->addSpacing(12);
  bar_layout->addWidget(projectHeader_, 1);
  bar_layout->addWidget(Windows);
  bar_layout->addWidget(HelpButton);
  bar_layout->addWidget(About);
  bar_layout->addWidget(LbButton1);

  Newa = NewButton(app_texts::kNewProject, "Newa", this);
  Opena = NewButton(app_texts::kOpenProject, "Opena", this);
  btn_str_lng1a = NewButton(app_texts::kSetCommunication, "btn_str_lng1a", this);
  btn_str_lng2a = NewButton(app_texts::kGsdFile, "btn_str_lng2a", this);
  CreateBina = NewButton(app_texts::kUpdateDevice, "CreateBina", this);
  for (QPushButton* button : {Newa, Opena, btn_str_lng1a, btn_str_lng2a, CreateBina}) {
    button->setMinimumWidth(124);
  }

  auto* steps = new QGridLayout;
  steps->setContentsMargins(16, 8, 16, 0);
  steps->setHorizontalSpacing(14);
  steps->setVerticalSpacing(5);
  const char* what[] = {"Create or open a project", "Set the bus parameters",
                        "PROFIBUS device description", "Configure the gateway"};
  for (int row = 0; row < 4; ++row) {
    steps->addWidget(StepLabel(row + 1, this), row, 0);
    auto* description = new QLabel(what[row], this);
    SetTextColour(description, QColor(0x44, 0x44, 0x44));
    steps->addWidget(description, row, 1);
  }
  steps->addWidget(Newa, 0, 2);
  steps->addWidget(Opena, 0, 3);
  steps->addWidget(btn_str_lng1a, 1, 2);
  steps->addWidget(btn_str_lng2a, 2, 2);
  steps->addWidget(CreateBina, 3, 2);
  steps->setColumnStretch(1, 1);

  auto* Label1 = NewWebLinkLabel(app_texts::kWebAddress, this);
  Label1->setObjectName("Label1");
  auto* footer = new QHBoxLayout;
  footer->setContentsMargins(16, 0, 16, 6);
  footer->addStretch();
  footer->addWidget(Label1);
  StatusLine = NewStatusLine(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addLayout(steps);
  layout->addStretch();
  layout->addLayout(footer);
  layout->addWidget(StatusLine);

  connect(Newa, &QPushButton::clicked, this, &TFQuastoreFirmWare::NewaClick);
  connect(Opena, &QPushButton::clicked, this, &TFQuastoreFirmWare::OpenaClick);
  connect(btn_str_lng1a, &QPushButton::clicked, this,
          [this] { btn_str_lng1aClick(btn_str_lng1a); });
  connect(btn_str_lng2a, &QPushButton::clicked, this,
          [this] { btn_str_lng1aClick(btn_str_lng2a); });
  connect(CreateBina, &QPushButton::clicked, this, &TFQuastoreFirmWare::CreateBinaClick);
  connect(About, &QPushButton::clicked, this, &TFQuastoreFirmWare::AboutClick);
  connect(HelpButton, &QPushButton::clicked, this, &TFQuastoreFirmWare::HelpClick);
  connect(LbButton1, &QPushButton::clicked, this, &TFQuastoreFirmWare::LbButton1Click);
  connect(Label1, &ClickLabel::clicked, this, &TFQuastoreFirmWare::Label1Click);
  // F1 asks for help in every window of the program, the modal ones included.
  qApp->installEventFilter(this);
  // The bar's buttons take no focus, so the menu of windows has a key of its own.
  auto* windows_key = new QShortcut(QKeySequence(app_texts::kWindowsMenuKey), this);
  connect(windows_key, &QShortcut::activated, Windows, &QPushButton::showMenu);

  FormCreate(app_dir, data_dir);
}

void TFQuastoreFirmWare::SetStepActions(StepActions actions) {
  actions_ = std::move(actions);
}

void TFQuastoreFirmWare::ShowStatus(const std::string& text) {
  SetStatusText(StatusLine, Q(text));
}

void TFQuastoreFirmWare::AddMenuWindow(const std::string& group, const std::string& caption,
                                       std::function<void()> open) {
  if (group != lastMenuGroup_) {
    WindowsMenu->addSection(Q(group));
    lastMenuGroup_ = group;
  }
  // A menu reads "&" as the mark of a shortcut letter; captions show it as it is.
  QAction* action = WindowsMenu->addAction(Q(caption).replace('&', QStringLiteral("&&")));
  connect(action, &QAction::triggered, this, [open = std::move(open)] { open(); });
}

TFsaveproj& TFQuastoreFirmWare::SaveProj() {
  if (saveproj_ == nullptr)
    saveproj_ = new TFsaveproj(state_, services_, this);
  return *saveproj_;
}

bool TFQuastoreFirmWare::ProjectOrMessage() {
  if (state_.ProjectSelected())
    return true;
  services_.messages.Plain(app_texts::kProjectNotValid);
  return false;
}

void TFQuastoreFirmWare::FormCreate(const std::filesystem::path& app_dir,
                                    const std::filesystem::path& data_dir) {
  state_ = StartUp(app_dir, data_dir);
  setWindowTitle(Q(StartUpCaption(state_)));
  ShowProjectHeader();
  openExcelInitialDir_ = state_.ProjectDir;
}

void TFQuastoreFirmWare::SetCaptionFor(const std::string& project_name) {
  setWindowTitle(Q(ProjectCaption(project_name)));
  ShowProjectHeader();
}

void TFQuastoreFirmWare::ShowProjectHeader() {
  std::string name = state_.ProjectName;
  while (!name.empty() && (name.front() == '\\' || name.front() == '/'))
    name.erase(name.begin());
  projectHeader_->setText(state_.ProjectSelected() && !name.empty()
                              ? Q(FormatText(app_texts::kProjectHeader, {name}))
                              : QString(app_texts::kNoProjectHeader));
  projectHeader_->setToolTip(projectHeader_->text());
}

void TFQuastoreFirmWare::NewaClick() {
  TFsaveproj& saveproj = SaveProj();
  saveproj.NewProjectMode = TFsaveproj::Mode::kNewProject;
  saveproj.ProjectDestDir = state_.ProjectsDir;
  if (saveproj.exec() == QDialog::Accepted) {
    SetCaptionFor(state_.ProjectName);
    openExcelInitialDir_ = state_.ProjectDir;
  }
  // Cancelled: the current project stays selected, and so does its caption.
}

void TFQuastoreFirmWare::OpenaClick() {
  const std::filesystem::path start = PrepareOpenProject(state_);
  if (openProject_ == nullptr)
    openProject_ = new TFOpenProject(this);
  std::optional<std::filesystem::path> chosen;
  switch (openProject_->Ask(state_.ProjectsDir, state_.ProjectDir)) {
    case TFOpenProject::Answer::kProject:
      chosen = openProject_->Chosen();
      break;
    case TFOpenProject::Answer::kBrowse:
      chosen = services_.dialogs.ChooseDirectory(this, app_texts::kSelectDirectoryTitle,
                                                 state_.ProjectsDir, start);
      break;
    case TFOpenProject::Answer::kCancel:
      break;
  }
  const Status opened = CompleteOpenProject(state_, chosen);
  if (!opened)
    services_.messages.Plain(opened.error());
  SetCaptionFor(state_.ProjectName);
  openExcelInitialDir_ = state_.ProjectDir;
}

void TFQuastoreFirmWare::btn_str_lng1aClick(QPushButton* which) {
  if (!ProjectOrMessage())
    return;
  const auto& action = which == btn_str_lng2a ? actions_.saveGsdFile : actions_.setCommunication;
  if (action)
    action();
}

void TFQuastoreFirmWare::CreateBinaClick() {
  // Without a project there is no bin directory for the image and the updater.
  if (!ProjectOrMessage())
    return;
  if (actions_.updateDevice)
    actions_.updateDevice();
}

void TFQuastoreFirmWare::AboutClick() {
  if (about_ == nullptr)
    about_ = new TFAbout(services_, this);
  about_->exec();
}

void TFQuastoreFirmWare::HelpClick() {
  ShowHelp(S(windowTitle()));
}

void TFQuastoreFirmWare::ShowHelp(const std::string& caption) {
  if (help_ == nullptr)
    help_ = new TFHelp(state_, services_, this);
  // A modal window blocks every window but those it owns: the window in front owns the help,
  // so that the help scrolls and takes clicks while that window stays usable beside it.
  QWidget* owner = QApplication::activeModalWidget();
  if (owner == nullptr || owner == help_)
    owner = this;
  if (help_->parentWidget() != owner)
    help_->setParent(owner, help_->windowFlags());
  help_->ShowSection(caption);
}

bool TFQuastoreFirmWare::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
      // The key reaches the widget with the focus: its window tells the section.
      QWidget* window = static_cast<QWidget*>(watched)->window();
      if (window != help_)
        ShowHelp(S(window->windowTitle()));
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TFQuastoreFirmWare::LbButton1Click() {
  close();
}

void TFQuastoreFirmWare::Label1Click() {
  services_.shell.OpenUrl(app_texts::kWebPage);
}

void TFQuastoreFirmWare::closeEvent(QCloseEvent* event) {
  const Status saved = SaveLastProject(state_);
  if (!saved)
    services_.messages.Error(saved.error());
  event->accept();
}

}  // namespace quastor
