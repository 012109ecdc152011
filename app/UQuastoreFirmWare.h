#pragma once
// TFQuastoreFirmWare: the main window with its four steps and its menu of windows.

#include <filesystem>
#include <functional>
#include <string>

#include <QWidget>

class QLabel;
class QMenu;
class QPushButton;

namespace quastor {

struct AppState;
struct UiServices;
class TFsaveproj;
class TFAbout;
class TFOpenProject;
class TFHelp;

class TFQuastoreFirmWare : public QWidget {
  Q_OBJECT

 public:
  // The actions of Steps 2 to 4, wired by the start-up code to the windows of their
  // subsystems. The main window makes the project test before it calls them.
  struct StepActions {
    std::function<void()> setCommunication;  // Step 2
    std::function<void()> saveGsdFile;       // Step 3
    std::function<void()> updateDevice;      // Step 4
  };

  // Runs FormCreate: computes the paths under app_dir, fills MASTER's missing installed files
  // from data_dir (the installation's data directory; empty: none) and restores the remembered
  // project.
  TFQuastoreFirmWare(AppState& state, UiServices& services, const std::filesystem::path& app_dir,
                     const std::filesystem::path& data_dir = {}, QWidget* parent = nullptr);

  void SetStepActions(StepActions actions);
  // Adds a window to the menu of windows, under its group ("Tables", "Tools"), in the order of
  // the calls; open shows it.
  void AddMenuWindow(const std::string& group, const std::string& caption,
                     std::function<void()> open);

  // Shows on the status line at the bottom what the last action did.
  void ShowStatus(const std::string& text);

  // The project dialog, built when first needed; it also edits text for the XML tool.
  TFsaveproj& SaveProj();

  // Shows the help at the section of the window with this caption, over the window in front;
  // F1 in any window of the program asks for the section of that window.
  void ShowHelp(const std::string& caption);
  TFHelp* Help() const { return help_; }

  // Initial directory of the spreadsheet open dialog, kept equal to ProjectDir.
  const std::filesystem::path& OpenExcelInitialDir() const { return openExcelInitialDir_; }

 public slots:
  void NewaClick();
  void OpenaClick();
  void btn_str_lng1aClick(QPushButton* which);
  void CreateBinaClick();
  void AboutClick();
  void HelpClick();
  void LbButton1Click();
  void Label1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* Newa;
  QPushButton* Opena;
  QPushButton* btn_str_lng1a;  // "Set Communication"
  QPushButton* btn_str_lng2a;  // "GSD File"
  QPushButton* CreateBina;     // "Update Device"
  QPushButton* Windows;        // the menu of windows
  QPushButton* About;
  QPushButton* HelpButton;
  QPushButton* LbButton1;  // "X"
  QMenu* WindowsMenu;
  QLabel* StatusLine;

  void FormCreate(const std::filesystem::path& app_dir, const std::filesystem::path& data_dir);
  void SetCaptionFor(const std::string& project_name);
  // The header's "Project: <name>", or "No project".
  void ShowProjectHeader();
  // Shows "Project not valid" and answers false when no project is selected.
  bool ProjectOrMessage();

  AppState& state_;
  UiServices& services_;
  TFsaveproj* saveproj_ = nullptr;
  TFAbout* about_ = nullptr;
  TFOpenProject* openProject_ = nullptr;
  QLabel* projectHeader_ = nullptr;
  TFHelp* help_ = nullptr;
  StepActions actions_;
  std::string lastMenuGroup_;
  std::filesystem::path openExcelInitialDir_;
};

}  // namespace quastor
