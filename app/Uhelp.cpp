#include "app/Uhelp.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/AppTexts.h"
#include "app/HelpFile.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UiServices.h"

namespace quastor {
namespace {

void ShowDocument(QTextEdit* edit, const RtfDocument& document) {
  edit->clear();
  QTextCursor cursor(edit->document());
  const qreal base_size = edit->font().pointSizeF();
  for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
    if (i > 0)
      cursor.insertBlock();
    for (const auto& run : document.paragraphs[i].runs) {
      QTextCharFormat format;
      format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
      format.setFontItalic(run.italic);
      format.setFontUnderline(run.underline);
      // Sizes are relative to 12 pt so that the help follows the desktop's font size.
      format.setFontPointSize(base_size * run.halfPoints / 24.0);
      cursor.insertText(Q(run.text), format);
    }
  }
  edit->moveCursor(QTextCursor::Start);
}

// Puts the cursor at the start of paragraph and scrolls it to the top of the box.
void GoToParagraph(QTextEdit* edit, std::size_t paragraph) {
  const QTextBlock block = edit->document()->findBlockByNumber(static_cast<int>(paragraph));
  if (!block.isValid())
    return;
  edit->setTextCursor(QTextCursor(block));
  const QRectF place = edit->document()->documentLayout()->blockBoundingRect(block);
  edit->verticalScrollBar()->setValue(static_cast<int>(place.top()));
}

}  // namespace

TFHelp::TFHelp(const AppState& state, UiServices& services, QWidget* parent)
    : QuastorDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint),
      state_(state),
      services_(services) {
  // The help stays open beside the window it explains, which keeps taking input.
  setModal(false);
  setObjectName("TFHelp");
  setWindowTitle(app_texts::kHelpCaption);
  resize(492, 397);
  RichEdit1 = new QTextEdit(this);
  RichEdit1->setObjectName("RichEdit1");
  RichEdit1->setReadOnly(true);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(RichEdit1);
}

void TFHelp::ShowSection(const std::string& caption) {
  caption_ = caption;
  if (isVisible())
    FormShow();
  else
    show();
  raise();
  activateWindow();
}

void TFHelp::FormShow() {
  const Result<HelpText> help = LoadHelpFile(HelpFilePath(state_));
  if (!help) {
    RichEdit1->clear();
    services_.messages.Plain(help.error());
    return;
  }
  ShowDocument(RichEdit1, help->document);
  if (const std::optional<std::size_t> section = HelpSection(help->document, caption_))
    GoToParagraph(RichEdit1, *section);
}

}  // namespace quastor
