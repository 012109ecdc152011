#include "desktop/DesktopApplication.h"

#include <QKeySequence>

#include <type_traits>

#include "app/AppState.h"
#include "app/AppTexts.h"
#include "app/UQuastoreFirmWare.h"
#include "canopen/CanopenTexts.h"
#include "canopen/EmcyTexts.h"
#include "canopen/SdoTable.h"
#include "canopen/UInfoPdo.h"
#include "canopen/USdo.h"
#include "canopen/UWemcy.h"
#include "canopen/Uemcy.h"
#include "canopen/Updo.h"
#include "check/CheckTexts.h"
#include "check/ProblemList.h"
#include "check/ProjectCheck.h"
#include "check/UCheckProject.h"
#include "devices/DeviceTexts.h"
#include "devices/UDbcImport.h"
#include "devices/UPickObject.h"
#include "gateway/UGatewaySteps.h"
#include "gateway/Upargen.h"
#include "j1939/FrameImport.h"
#include "j1939/FrameList.h"
#include "j1939/J1939Texts.h"
#include "j1939/USetPdo.h"
#include "j1939/USetVar.h"
#include "j1939/U_Rec_Info.h"
#include "j1939/U_Sen_Info.h"
#include "platform/ui/EditorFrame.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/SerialPort.h"
#include "platform/ui/StringGrid.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/Widgets.h"
#include "tools/SelectString.h"
#include "tools/ToolsTexts.h"
#include "tools/USELstringhe.h"
#include "tools/UXML.h"
#include "update/UBootSer.h"
#include "update/UModifyFileSx.h"
#include "update/UpdateTexts.h"

namespace quastor {

DesktopApplication::DesktopApplication(UiServices& services, SerialPortFactory make_port,
                                       const std::filesystem::path& app_dir,
                                       const std::filesystem::path& data_dir)
    : state_(std::make_unique<AppState>()),
      services_(services),
      makePort_(std::move(make_port)),
      main_(std::make_unique<TFQuastoreFirmWare>(*state_, services, app_dir, data_dir)) {
  WireSteps();
  WireMenu();
}

DesktopApplication::~DesktopApplication() = default;

void DesktopApplication::Show() {
  main_->show();
  CenterOnScreen(main_.get());
}

void DesktopApplication::WireSteps() {
  main_->SetStepActions({
      [this] { Pargen().exec(); },
      [this] {
        if (const auto written = SaveGsdFile(main_.get(), *state_, services_))
          main_->ShowStatus(*written);
      },
      [this] {
        if (const auto written = PrepareDeviceUpdate(*state_, services_)) {
          main_->ShowStatus(*written);
          BootSer().exec();
        }
      },
  });
}

void DesktopApplication::WireMenu() {
  main_->AddMenuWindow(app_texts::kTablesGroup, canopen_texts::kSdoCaption,
                       [this] { OpenTable(Sdo()); });
  main_->AddMenuWindow(app_texts::kTablesGroup, canopen_texts::kPdoCaption,
                       [this] { OpenTable(Pdo()); });
  main_->AddMenuWindow(app_texts::kTablesGroup, canopen_texts::kStoredPdoCaption,
                       [this] { OpenTable(InfoPdo()); });
  main_->AddMenuWindow(app_texts::kTablesGroup, emcy_texts::kRulesCaption,
                       [this] { OpenTable(Emcy()); });
  main_->AddMenuWindow(app_texts::kTablesGroup, emcy_texts::kWordsCaption,
                       [this] { OpenTable(Wemcy()); });
  main_->AddMenuWindow(app_texts::kTablesGroup, j1939_texts::kReceiveFramesCaption,
                       [this] { OpenTable(SetVar()); });
  main_->AddMenuWindow(app_texts::kTablesGroup, j1939_texts::kSendFramesCaption,
                       [this] { OpenTable(SetPdo()); });
  main_->AddMenuWindow(app_texts::kTablesGroup, j1939_texts::kReceiveInfoCaption,
                       [this] { OpenTable(RecInfo()); });
  main_->AddMenuWindow(app_texts::kTablesGroup, j1939_texts::kSendInfoCaption,
                       [this] { OpenTable(SenInfo()); });
  main_->AddMenuWindow(app_texts::kToolsGroup, update_texts::kModifyCaption,
                       [this] { ModifyFileSx().exec(); });
  main_->AddMenuWindow(app_texts::kToolsGroup, tools_texts::kXmlCaption, [this] { Xml().exec(); });
  main_->AddMenuWindow(app_texts::kToolsGroup, tools_texts::kSelStringCaption,
                       [this] { PickString(); });
  main_->AddMenuWindow(app_texts::kToolsGroup, check_texts::kCaption,
                       [this] { OpenTable(CheckProject()); });
}

void DesktopApplication::OpenTable(QDialog& editor) {
  if (!state_->ProjectSelected()) {
    services_.messages.Plain(app_texts::kProjectNotValid);
    return;
  }
  editor.exec();
}

// Built on first use as a child of the main window, which deletes it.
// An editor tells the main window's status line what its OK wrote, as it closes then.
template <class Window, class... Args>
Window& DesktopApplication::Built(Window*& window, Args&&... args) {
  if (window == nullptr) {
    window = new Window(*state_, services_, std::forward<Args>(args)..., main_.get());
    if constexpr (std::is_base_of_v<EditorFrame, Window>)
      window->SetReporter([this](const std::string& text) { main_->ShowStatus(text); });
  }
  return *window;
}

TFpargen& DesktopApplication::Pargen() {
  return Built(pargen_);
}

TFBootSer& DesktopApplication::BootSer() {
  if (bootser_ == nullptr)
    bootser_ = new TFBootSer(*state_, services_, makePort_(), main_.get());
  return *bootser_;
}

TFModifyFileSx& DesktopApplication::ModifyFileSx() {
  return Built(modifyfilesx_);
}

TFsdo& DesktopApplication::Sdo() {
  if (sdo_ == nullptr) {
    Built(sdo_);
    // The free name of an entry can be picked from the project's strings.
    sdo_->SetStringPicker([this] { return PickString(); });
    // The real entry of the CAN A page lies in a device on CAN B: it can be picked from the
    // device's EDS file (F4 picks a string).
    sdo_->SetRealEntryPicker(device_texts::kPickObject, QKeySequence(Qt::SHIFT | Qt::Key_F4),
                             [this](const std::vector<std::string>& row)
                                 -> std::optional<std::vector<StringGrid::CellFill>> {
                               const auto cells = PickSdoObject(row);
                               if (!cells)
                                 return std::nullopt;
                               std::vector<StringGrid::CellFill> fills;
                               for (const auto& [column, text] : *cells)
                                 fills.push_back({column, text});
                               return fills;
                             });
  }
  return *sdo_;
}

TFpdo& DesktopApplication::Pdo() {
  return Built(pdo_);
}

TFInfopdo& DesktopApplication::InfoPdo() {
  return Built(infopdo_);
}

TFemcy& DesktopApplication::Emcy() {
  return Built(emcy_);
}

TFWemcy& DesktopApplication::Wemcy() {
  return Built(wemcy_);
}

// The frames' mnemonics, the last of the lists' five columns, can be picked too.
TFSetVar& DesktopApplication::SetVar() {
  if (setvar_ == nullptr) {
    Built(setvar_);
    setvar_->SetStringPicker([this] { return PickString(); });
    setvar_->SetFrameSource(device_texts::kImportDbc, [this] { return ChooseDbcFrames(); });
  }
  return *setvar_;
}

TFSetPdo& DesktopApplication::SetPdo() {
  if (setpdo_ == nullptr) {
    Built(setpdo_);
    setpdo_->SetStringPicker([this] { return PickString(); });
    setpdo_->SetFrameSource(device_texts::kImportDbc, [this] { return ChooseDbcFrames(); });
  }
  return *setpdo_;
}

TF_Rec_Info& DesktopApplication::RecInfo() {
  return Built(recinfo_);
}

TF_Sen_Info& DesktopApplication::SenInfo() {
  return Built(seninfo_);
}

TFXML& DesktopApplication::Xml() {
  return Built(xml_, main_->SaveProj());
}

TFSELstringhe& DesktopApplication::SelString() {
  if (selstring_ == nullptr)
    selstring_ = new TFSELstringhe(services_, main_.get());
  return *selstring_;
}

TFCheckProject& DesktopApplication::CheckProject() {
  if (checkproject_ == nullptr) {
    Built(checkproject_);
    checkproject_->SetOpenProblem([this](const CheckProblem& problem) { OpenProblem(problem); });
  }
  return *checkproject_;
}

TFPickObject& DesktopApplication::PickObject() {
  if (pickobject_ == nullptr)
    pickobject_ = new TFPickObject(services_, main_.get());
  return *pickobject_;
}

TFDbcImport& DesktopApplication::DbcImport() {
  if (dbcimport_ == nullptr)
    dbcimport_ = new TFDbcImport(services_, main_.get());
  return *dbcimport_;
}

void DesktopApplication::OpenProblem(const CheckProblem& problem) {
  const ProblemPlace& at = problem.place;
  const ProjectFileSet& files = state_->ProjectFiles;
  const auto is = [&problem](const std::filesystem::path& file) {
    return problem.file == ProblemFileName(file);
  };
  if (is(files.pargen)) {
    Pargen().ShowAt(at.element);
    OpenTable(Pargen());
  } else if (is(files.sdo)) {
    Sdo().ShowAt(at.page, at.row, at.column);
    OpenTable(Sdo());
  } else if (is(files.rpdodef)) {
    Pdo().ShowAt(at.page, at.row, at.column);
    OpenTable(Pdo());
  } else if (is(files.sdopdo)) {
    InfoPdo().ShowAt(at.page, at.row, at.entry, at.column);
    OpenTable(InfoPdo());
  } else if (is(files.emcydef)) {
    Emcy().ShowAt(at.page, at.row, at.column);
    OpenTable(Emcy());
  } else if (is(files.emcyword)) {
    Wemcy().ShowAt(at.page, at.row, at.column);
    OpenTable(Wemcy());
  } else if (is(files.receiveFrame)) {
    SetVar().ShowAt(at.row, at.column);
    OpenTable(SetVar());
  } else if (is(files.sendFrame)) {
    SetPdo().ShowAt(at.row, at.column);
    OpenTable(SetPdo());
  } else if (is(files.receiveInfo)) {
    RecInfo().ShowAt(at.row, at.column);
    OpenTable(RecInfo());
  } else if (is(files.sendInfo)) {
    SenInfo().ShowAt(at.row, at.column);
    OpenTable(SenInfo());
  } else if (problem.file == tools_texts::kStringsFileName) {
    PickString();
  }
}

std::optional<std::string> DesktopApplication::PickString() {
  TFSELstringhe& picker = SelString();
  picker.StringsFilePath = ProjectStringsFile(*state_);
  if (picker.exec() != QDialog::Accepted || picker.SelectedString().empty())
    return std::nullopt;
  return picker.SelectedString();
}

// The SDO table's columns of the real entry: Index, SubIndex, nbyte, mnemonico; column 0 is
// RW, "1" when the entry writes.
std::optional<std::vector<std::pair<int, std::string>>> DesktopApplication::PickSdoObject(
    const std::vector<std::string>& row) {
  constexpr int kRwColumn = 0, kIndexColumn = 4, kSubIndexColumn = 5, kBytesColumn = 6,
                kNameColumn = 7;
  TFPickObject& picker = PickObject();
  picker.ProjectDir = state_->ProjectDir;
  picker.Direction = EntryDirection(row.empty() ? std::string() : row[kRwColumn]);
  if (picker.exec() != QDialog::Accepted || !picker.Picked())
    return std::nullopt;
  const SdoFill& fill = *picker.Picked();
  return std::vector<std::pair<int, std::string>>{{kIndexColumn, fill.index},
                                                  {kSubIndexColumn, fill.subIndex},
                                                  {kBytesColumn, fill.bytes},
                                                  {kNameColumn, fill.name}};
}

std::optional<std::vector<ImportedFrame>> DesktopApplication::ChooseDbcFrames() {
  TFDbcImport& chooser = DbcImport();
  chooser.ProjectDir = state_->ProjectDir;
  if (chooser.exec() != QDialog::Accepted)
    return std::nullopt;
  std::vector<ImportedFrame> frames;
  for (const DbcFrame& message : chooser.Chosen()) {
    frames.push_back({message.priority, message.dataPage, message.pgn, message.sourceAddress,
                      message.name, message.length});
  }
  return frames;
}

}  // namespace quastor
