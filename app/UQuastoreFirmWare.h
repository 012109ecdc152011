#pragma once
// TFQuastoreFirmWare: the main window with its four steps.

#include <filesystem>
#include <functional>

#include <QWidget>

class QLabel;
class QPushButton;

namespace quastor {

struct AppState;
struct UiServices;
class TFsaveproj;
class TFAbout;
class TFHelp;

class TFQuastoreFirmWare : public QWidget {
  Q_OBJECT

 public:
  // The actions of Steps 2 to 4, wired by the start-up code to the windows of their
  // subsystems. Unwired steps say "not available yet".
  struct StepActions {
    std::function<void()> setCommunication;  // Step 2, with a project selected
    std::function<void()> saveGsdFile;       // Step 3, with a project selected
    std::function<void()> updateDevice;      // Step 4
  };

  // Runs FormCreate: computes the paths under app_dir and restores the remembered project.
  TFQuastoreFirmWare(AppState& state, UiServices& services, const std::filesystem::path& app_dir,
                     QWidget* parent = nullptr);

  void SetWindows(TFsaveproj* saveproj, TFAbout* about, TFHelp* help);
  void SetStepActions(StepActions actions);

  // Initial directory of the spreadsheet open dialog, kept equal to ProjectDir.
  const std::filesystem::path& OpenExcelInitialDir() const { return openExcelInitialDir_; }

  QPushButton* Newa;
  QPushButton* Opena;
  QPushButton* btn_str_lng1a;  // "Set Communication"
  QPushButton* btn_str_lng2a;  // "GSD File"
  QPushButton* CreateBina;     // "Update Device"
  QPushButton* About;
  QPushButton* HelpButton;
  QPushButton* LbButton1;  // "X"

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

 private:
  void FormCreate(const std::filesystem::path& app_dir);
  void SetCaptionFor(const std::string& project_name);

  AppState& state_;
  UiServices& services_;
  TFsaveproj* saveproj_ = nullptr;
  TFAbout* about_ = nullptr;
  TFHelp* help_ = nullptr;
  StepActions actions_;
  std::filesystem::path openExcelInitialDir_;
};

}  // namespace quastor
