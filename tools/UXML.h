#pragma once
// TFXML ("XML Reader & Writer"): shows an XML file as a tree through the tool's own parser,
// edits the text of any item in the text-entry mode of the project dialog, and writes the
// tree back as an XML file into the current project's directory. It shares the table
// editors' frame: each text edited is a change that can be taken back, closing with
// changes not written asks first, and the status line tells what Write wrote.

#include <QPoint>

#include "platform/FileStamp.h"
#include "platform/ui/EditorFrame.h"

class QPushButton;
class QTreeView;

namespace quastor {

struct AppState;
struct UiServices;
class TFsaveproj;
class XmlTreeModel;

class TFXML : public EditorFrame {
  Q_OBJECT

 public:
  // editor: the main window's project dialog, which edits one line of text in mode 1.
  TFXML(const AppState& state, UiServices& services, TFsaveproj& editor, QWidget* parent = nullptr);

  const XmlTreeModel& Model() const { return *model_; }

 public slots:
  void btnOpenClick();
  void btnFullExpandClick();
  void btnWriteClick();
  // The right button pressed at a point of the tree's viewport: edits the item there, or
  // the selected one when the point is below the last item.
  void TvXmlMouseDown(Qt::MouseButton button, const QPoint& at);
  // F2 edits the selected item.
  void TvXmlKeyDown(int key);

 protected:
  void FormShow() override;
  // The file Write replaces, as it is named.
  std::string TableName() const override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* btnopen;
  QPushButton* btnFullExpand;
  QPushButton* btnWrite;
  QTreeView* TvXml;

  void EditSelected();
  void RememberTarget();

  const AppState& state_;
  UiServices& services_;
  TFsaveproj& editor_;
  XmlTreeModel* model_;
  ReadStamps stamps_;  // the file Write replaces, as it was when the tree was opened
};

}  // namespace quastor
