// Takes a picture of every window of the program, as the program wires them, over a sample
// project and the files installed with the application (dist/): quastor-screenshots
// OUTPUT_DIR. Run it with QT_QPA_PLATFORM=offscreen or under xvfb-run (scripts/screenshots.sh,
// which refreshes docs/screenshots for the README).

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/UAbout.h"
#include "app/UQuastoreFirmWare.h"
#include "app/Uhelp.h"
#include "app/Unewp.h"
#include "canopen/UInfoPdo.h"
#include "canopen/USdo.h"
#include "canopen/UWemcy.h"
#include "canopen/Uemcy.h"
#include "canopen/Updo.h"
#include "check/UCheckProject.h"
#include "desktop/DesktopApplication.h"
#include "devices/UDbcImport.h"
#include "devices/UPickObject.h"
#include "gateway/UGatewaySteps.h"
#include "gateway/Upargen.h"
#include "j1939/USetPdo.h"
#include "j1939/USetVar.h"
#include "j1939/U_Rec_Info.h"
#include "j1939/U_Sen_Info.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/SerialPort.h"
#include "platform/ui/Shell.h"
#include "platform/ui/UiServices.h"
#include "tools/USELstringhe.h"
#include "tools/UXML.h"
#include "tools/UXmlTreeModel.h"
#include "update/UBootSer.h"
#include "update/UModifyFileSx.h"

namespace {

using namespace quastor;

void Write(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

// A project with a little of everything, so that the windows show content.
void MakeSampleProject(const std::filesystem::path& home) {
  const auto project = home / "PROJECTS" / "Plant1";
  std::filesystem::create_directories(project / "bin");
  Write(home / "Quastor_DNET2PROFI.ini", "[lastproj]\r\nprojectname=Plant1\r\n");
  Write(project / "rpdodef.xml",
        "<rpdodef><row cobid=\"0x181\" id_dev_orig=\"1\" en_bypass=\"3\" posind=\"0\" "
        "n_tpdo=\"1\"/><row cobid=\"0x182\" id_dev_orig=\"2\" en_bypass=\"0\" posind=\"1\" "
        "n_tpdo=\"2\"/><row cobid=\"0x183\" id_dev_orig=\"3\" en_bypass=\"1\" posind=\"2\" "
        "n_tpdo=\"3\"/></rpdodef>");
  Write(project / "sdo.xml",
        "<sdo><row conf=\"16\" IndexA=\"0x2000\" SubindexA=\"1\" devIDB=\"5\" IndexB=\"0x6000\" "
        "SubindexB=\"1\" nbyteB=\"2\" mnemonico=\"speed\"/><row conf=\"1\" IndexA=\"0x2100\" "
        "SubindexA=\"0\" devIDB=\"7\" IndexB=\"0x6100\" SubindexB=\"2\" nbyteB=\"1\" "
        "mnemonico=\"back\"/></sdo>");
  Write(project / "emcydef.xml",
        "<emcydef><row id_dev=\"5\" mask_eq_ec=\"0xFF00\" mask_eq_er=\"0x01\" mask_eq_m1=\"0\" "
        "mask_eq_m2=\"0\" mask_eq_m3=\"0\" enmask_eq_ec=\"0xFFFF\" enmask_eq_er=\"0xFF\" "
        "enmask_eq_m1=\"0\" enmask_eq_m2=\"0\" enmask_eq_m3=\"0\" bypass_set=\"5\"/>"
        "<row id_dev=\"12\" mask_eq_ec=\"0x8100\" mask_eq_er=\"0\" mask_eq_m1=\"0\" "
        "mask_eq_m2=\"0\" mask_eq_m3=\"0\" enmask_eq_ec=\"0xFF00\" enmask_eq_er=\"0\" "
        "enmask_eq_m1=\"0\" enmask_eq_m2=\"0\" enmask_eq_m3=\"0\" bypass_set=\"0\"/>"
        "<row id_dev=\"7\" mask_eq_ec=\"0\" mask_eq_er=\"0\" mask_eq_m1=\"0\" mask_eq_m2=\"0\" "
        "mask_eq_m3=\"0\" enmask_eq_ec=\"0\" enmask_eq_er=\"0\" enmask_eq_m1=\"0\" "
        "enmask_eq_m2=\"0\" enmask_eq_m3=\"0\" bypass_set=\"41\"/></emcydef>");
  std::string words = "<emcyword>";
  for (int w = 0; w < 3; ++w) {
    words += "<row index_addrm=\"0x" + std::to_string(2000 + w) + "\" subindex=\"1\" extdata=\"" +
             std::to_string(w / 2) + "\" devid=\"5\"";
    for (int j = 0; j < 16; ++j) {
      const std::string bit = " bit" + std::to_string(j);
      words += bit + "_b0=\"0xFF\"" + bit + "_b1=\"0\"" + bit + "_poscomp=\"" +
               std::to_string(16 * (j % 8) + j / 8) + "\"";
    }
    words += "/>";
  }
  Write(project / "emcyword.xml", words + "</emcyword>");
  Write(project / "sdopdo.xml",
        "<sdopdo><row index=\"0x2001\" subindex=\"1\" nrpdo=\"1\" poscomp=\"33\"/>"
        "<row index=\"0x2001\" subindex=\"2\" nrpdo=\"1\" poscomp=\"48\"/></sdopdo>");
  Write(project / "Receive_Frame.xml",
        "<Receive_Frames><row DataPage=\"0\" PGN=\"0xFEF1\" SA=\"0\" Delete=\"N\" "
        "Mnemonic=\"CCVS\"/><row DataPage=\"0\" PGN=\"61444\" SA=\"0\" Delete=\"Y\" "
        "Mnemonic=\"EEC1\"/><row DataPage=\"1\" PGN=\"0xFECA\" SA=\"3\" Delete=\"N\" "
        "Mnemonic=\"\"/></Receive_Frames>");
  Write(project / "Receive_Info.xml",
        "<Receive_Frames_Info><row B1=\"0\" B2=\"1\" B3=\"255\" B4=\"255\" B5=\"255\" "
        "B6=\"255\" B7=\"255\" B8=\"255\"/><row B1=\"255\" B2=\"255\" B3=\"255\" "
        "B4=\"2\" B5=\"3\" B6=\"255\" B7=\"255\" B8=\"255\"/></Receive_Frames_Info>");
  Write(project / "Send_Frame.xml",
        "<Receive_Frames><row Priority=\"6\" DataPage=\"0\" PGN=\"0xFF10\" SA=\"0x21\" "
        "Mnemonic=\"Gateway status\" Dim=\"4\"/><row Priority=\"3\" DataPage=\"0\" "
        "PGN=\"0xFF11\" SA=\"0x21\" Mnemonic=\"Set points\"/></Receive_Frames>");
  Write(project / "Send_Info.xml",
        "<Send_Frames_Info><row B1=\"10\" B2=\"11\" B3=\"255\" B4=\"12\" B5=\"255\" "
        "B6=\"255\" B7=\"255\" B8=\"255\"/></Send_Frames_Info>");
  Write(project / "pargen.xml",
        "<Par_Gen><PROFI_ID>5</PROFI_ID><PROFI_BAUD>10</PROFI_BAUD><PROFI_NB_IN>32</PROFI_NB_IN>"
        "<PROFI_NB_OUT>16</PROFI_NB_OUT><DNET_DEV_ID>10</DNET_DEV_ID><DNET_BAUD>2</DNET_BAUD></"
        "Par_Gen>");
  Write(project / "strings.xml",
        "<strings><s>speed</s><s>back</s><s>torque</s><s>position</s></strings>");
  Write(project / "sample.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- sample -->\n<?editor mode=\"tree\"?>\n"
        "<Par_Gen>\n  <PROFI_ID>20</PROFI_ID>\n  <PROFI_BAUD>10</PROFI_BAUD>\n"
        "  <row cobid=\"0x181\" id_dev_orig=\"1\" n_tpdo=\"1\"/>\n</Par_Gen>\n");
}

// Answers the open dialogs with one file, so that the XML tool shows it.
class SampleFileDialogs : public QtFileDialogs {
 public:
  std::optional<std::filesystem::path> OpenFileName(QWidget*, const std::filesystem::path&,
                                                    const std::string&,
                                                    const std::string&) override {
    return sample;
  }
  // The GSD file goes beside the sample project's tables.
  std::optional<std::filesystem::path> SaveFileName(QWidget*,
                                                    const std::filesystem::path& directory,
                                                    const std::string&,
                                                    const std::string&) override {
    return directory / "Plant1.gsd";
  }
  std::filesystem::path sample;
};

// A window's control by its name (every control is named after the window's member); a
// missing one ends the program, since the pictures would not show what they should.
template <class T>
T& Control(const QWidget& window, const char* name) {
  T* control = window.findChild<T*>(QString::fromUtf8(name));
  if (control == nullptr) {
    std::fprintf(stderr, "no control %s in %s\n", name, qPrintable(window.objectName()));
    std::exit(1);
  }
  return *control;
}

bool Grab(QWidget& window, const QString& dir, const QString& name) {
  window.show();
  QApplication::processEvents();
  const bool saved = window.grab().save(dir + "/" + name + ".png");
  window.hide();
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(name));
  return saved;
}

// The main window with its menu of windows open below the menu's button, in one picture.
bool GrabWithMenu(QWidget& window, QPushButton& button, QMenu& menu, const QString& dir,
                  const QString& name) {
  window.show();
  QApplication::processEvents();
  const QPixmap base = window.grab();
  const QPoint at = button.mapTo(&window, QPoint(0, button.height()));
  menu.popup(button.mapToGlobal(QPoint(0, button.height())));
  QApplication::processEvents();
  const QPixmap list = menu.grab();
  menu.hide();
  QPixmap picture(qMax(base.width(), at.x() + list.width()),
                  qMax(base.height(), at.y() + list.height()));
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.drawPixmap(0, 0, base);
  painter.drawPixmap(at, list);
  painter.end();
  const bool saved = picture.save(dir + "/" + name + ".png");
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(name));
  return saved;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: quastor-screenshots OUTPUT_DIR\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  const QString home = QDir::tempPath() + "/quastor-screenshots";
  QDir(home).removeRecursively();
  MakeSampleProject(PathOf(home));

  MessageRecorder messages;
  QtShell shell;
  SampleFileDialogs dialogs;
  dialogs.sample = PathOf(home) / "PROJECTS" / "Plant1" / "sample.xml";
  UiServices services{messages, shell, dialogs};
  DesktopApplication desktop(
      services, [] { return std::make_unique<SystemSerialPort>(); }, PathOf(home),
      PathOf(QUASTOR_DIST_DIR));
  TFQuastoreFirmWare& main_window = desktop.MainWindow();
  // The status line says what the last step did: here, the GSD file written.
  if (const auto written = SaveGsdFile(&main_window, desktop.State(), services))
    main_window.ShowStatus(*written);
  bool ok = Grab(main_window, out, "main-window");
  main_window.show();
  ok = GrabWithMenu(main_window, Control<QPushButton>(main_window, "Windows"),
                    Control<QMenu>(main_window, "WindowsMenu"), out, "windows-menu") &&
       ok;
  TFsaveproj& new_project = main_window.SaveProj();
  new_project.NewProjectMode = TFsaveproj::Mode::kNewProject;
  new_project.ProjectDestDir = desktop.State().ProjectsDir;
  new_project.show();
  Control<QLineEdit>(new_project, "Edit1").setText("Plant2");
  ok = Grab(new_project, out, "new-project") && ok;
  TFAbout about(services, &main_window);
  ok = Grab(about, out, "about") && ok;
  TFHelp help(desktop.State(), services, &main_window);
  ok = Grab(help, out, "help") && ok;
  ok = Grab(desktop.Pargen(), out, "set-communication") && ok;
  ok = Grab(desktop.BootSer(), out, "update-wizard") && ok;
  ok = Grab(desktop.ModifyFileSx(), out, "generate-firmware") && ok;
  ok = Grab(desktop.Sdo(), out, "sdo-access") && ok;
  ok = Grab(desktop.Pdo(), out, "pdo-translation") && ok;
  ok = Grab(desktop.InfoPdo(), out, "stored-pdo") && ok;
  ok = Grab(desktop.Emcy(), out, "emcy-rules") && ok;
  // The word editor with a word opened and one of its bits chosen.
  TFWemcy& words = desktop.Wemcy();
  words.show();
  QTreeWidget* tree = &Control<QTreeWidget>(words, "TWCanA");
  tree->expandItem(tree->topLevelItem(0));
  tree->setCurrentItem(tree->topLevelItem(0)->child(3));
  ok = Grab(words, out, "emcy-words") && ok;
  ok = Grab(desktop.SetVar(), out, "receive-frames") && ok;
  ok = Grab(desktop.SetPdo(), out, "send-frames") && ok;
  ok = Grab(desktop.RecInfo(), out, "receive-frames-info") && ok;
  ok = Grab(desktop.SenInfo(), out, "send-frames-info") && ok;
  TFXML& xml = desktop.Xml();
  xml.show();
  xml.btnOpenClick();
  xml.btnFullExpandClick();
  Control<QTreeView>(xml, "TvXml")
      .setCurrentIndex(xml.Model().index(1, 0, xml.Model().index(2, 0, xml.Model().index(0, 0))));
  ok = Grab(xml, out, "xml-reader-writer") && ok;
  TFSELstringhe& picker = desktop.SelString();
  picker.StringsFilePath = PathOf(home) / "PROJECTS" / "Plant1" / "strings.xml";
  picker.SelectedIndex = 2;
  ok = Grab(picker, out, "select-string") && ok;
  // The check over the sample with two faults a user might make by hand: a DeviceNet byte
  // that two frames write, and a row of bytes for a frame the list does not have.
  const auto project = PathOf(home) / "PROJECTS" / "Plant1";
  Write(project / "Receive_Info.xml",
        "<Receive_Frames_Info><row B1=\"0\" B2=\"1\" B3=\"255\" B4=\"255\" B5=\"255\" "
        "B6=\"255\" B7=\"255\" B8=\"255\"/><row B1=\"255\" B2=\"1\" B3=\"255\" "
        "B4=\"2\" B5=\"3\" B6=\"255\" B7=\"255\" B8=\"255\"/><row B1=\"7\" B2=\"255\" "
        "B3=\"255\" B4=\"255\" B5=\"255\" B6=\"255\" B7=\"255\" B8=\"255\"/>"
        "<row B1=\"8\" B2=\"255\" B3=\"255\" B4=\"255\" B5=\"255\" B6=\"255\" B7=\"255\" "
        "B8=\"255\"/></Receive_Frames_Info>");
  ok = Grab(desktop.CheckProject(), out, "check-project") && ok;
  TFPickObject& pick_object = desktop.PickObject();
  pick_object.ProjectDir = project;
  ok = Grab(pick_object, out, "pick-object") && ok;
  desktop.DbcImport().ProjectDir = project;
  ok = Grab(desktop.DbcImport(), out, "import-from-dbc") && ok;
  // What the windows said while they were shown, to look at beside the pictures.
  for (const std::string& text : messages.Texts())
    std::printf("message: %s\n", text.c_str());
  QDir(home).removeRecursively();
  return ok ? 0 : 1;
}
