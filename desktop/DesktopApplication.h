#pragma once
// The composition root: the main window and every window of the subsystems, wired as the
// shipped program has them. main() builds one; the window tests build one over fake services.
// The other windows are built when first opened and live until the main window goes.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QDialog;

namespace quastor {

struct AppState;
struct CheckProblem;
struct UiServices;
class SerialPort;
class TFQuastoreFirmWare;
class TFpargen;
class TFBootSer;
class TFModifyFileSx;
class TFsdo;
class TFpdo;
class TFInfopdo;
class TFemcy;
class TFWemcy;
class TFSetVar;
class TFSetPdo;
class TF_Rec_Info;
class TF_Sen_Info;
class TFXML;
class TFSELstringhe;
class TFCheckProject;
class TFPickObject;
class TFDbcImport;
struct ImportedFrame;

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

class DesktopApplication {
 public:
  // Runs the main window's start-up over app_dir (with the installation's files from data_dir,
  // when given) and wires its steps and menu of windows.
  DesktopApplication(UiServices& services, SerialPortFactory make_port,
                     const std::filesystem::path& app_dir,
                     const std::filesystem::path& data_dir = {});
  ~DesktopApplication();
  DesktopApplication(const DesktopApplication&) = delete;
  DesktopApplication& operator=(const DesktopApplication&) = delete;

  // Shows the main window centred on its screen.
  void Show();

  TFQuastoreFirmWare& MainWindow() { return *main_; }
  AppState& State() { return *state_; }

  TFpargen& Pargen();
  TFBootSer& BootSer();
  TFModifyFileSx& ModifyFileSx();
  TFsdo& Sdo();
  TFpdo& Pdo();
  TFInfopdo& InfoPdo();
  TFemcy& Emcy();
  TFWemcy& Wemcy();
  TFSetVar& SetVar();
  TFSetPdo& SetPdo();
  TF_Rec_Info& RecInfo();
  TF_Sen_Info& SenInfo();
  TFXML& Xml();
  TFSELstringhe& SelString();
  TFCheckProject& CheckProject();
  TFPickObject& PickObject();
  TFDbcImport& DbcImport();

 private:
  void WireSteps();
  void WireMenu();
  // Shows a table editor of the current project; without one, "Project not valid".
  void OpenTable(QDialog& editor);
  // Shows the window of a problem's file, at the problem's place where it is known.
  void OpenProblem(const CheckProblem& problem);
  // Shows the string picker on the current project's strings file; the chosen string on OK.
  std::optional<std::string> PickString();
  // Shows the object picker for an entry of the SDO table (its cells as stored); the cells of
  // the real entry it fills on OK.
  std::optional<std::vector<std::pair<int, std::string>>> PickSdoObject(
      const std::vector<std::string>& row);
  // Shows the DBC import; the chosen messages as frames on OK.
  std::optional<std::vector<ImportedFrame>> ChooseDbcFrames();
  template <class Window, class... Args>
  Window& Built(Window*& window, Args&&... args);

  std::unique_ptr<AppState> state_;
  UiServices& services_;
  SerialPortFactory makePort_;
  std::unique_ptr<TFQuastoreFirmWare> main_;
  // Children of the main window, which deletes them.
  TFpargen* pargen_ = nullptr;
  TFBootSer* bootser_ = nullptr;
  TFModifyFileSx* modifyfilesx_ = nullptr;
  TFsdo* sdo_ = nullptr;
  TFpdo* pdo_ = nullptr;
  TFInfopdo* infopdo_ = nullptr;
  TFemcy* emcy_ = nullptr;
  TFWemcy* wemcy_ = nullptr;
  TFSetVar* setvar_ = nullptr;
  TFSetPdo* setpdo_ = nullptr;
  TF_Rec_Info* recinfo_ = nullptr;
  TF_Sen_Info* seninfo_ = nullptr;
  TFXML* xml_ = nullptr;
  TFSELstringhe* selstring_ = nullptr;
  TFCheckProject* checkproject_ = nullptr;
  TFPickObject* pickobject_ = nullptr;
  TFDbcImport* dbcimport_ = nullptr;
};

}  // namespace quastor
