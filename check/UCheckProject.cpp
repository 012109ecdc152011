#include "check/UCheckProject.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "check/CheckTexts.h"
#include "check/ProjectCheck.h"
#include "platform/Text.h"
#include "platform/ui/QtText.h"
#include "platform/ui/WidgetTexts.h"
#include "platform/ui/Widgets.h"

namespace quastor {

namespace texts = check_texts;

TFCheckProject::TFCheckProject(AppState& state, UiServices&, QWidget* parent)
    : QuastorDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint),
      state_(state) {
  setObjectName("TFCheckProject");
  setWindowTitle(texts::kCaption);
  resize(760, 360);

  Label1 = NewLabel("", "Label1", this);
  LbProblems = Named(new QListWidget(this), "LbProblems");
  LbProblems->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // A line wraps rather than hide its end beyond the window's edge.
  LbProblems->setWordWrap(true);
  LbProblems->setResizeMode(QListView::Adjust);
  LbProblems->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  BitBtn1 = NewButton(widget_texts::kOk, "BitBtn1", this);
  BitBtn1->setDefault(true);

  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(BitBtn1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(LbProblems, 1);
  layout->addLayout(bottom);

  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(LbProblems, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { LbProblemsDblClick(LbProblems->row(item)); });
  // Enter opens the problem rather than pressing OK.
  LbProblems->installEventFilter(this);
}

bool TFCheckProject::eventFilter(QObject* watched, QEvent* event) {
  if (watched == LbProblems && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && LbProblems->currentRow() >= 0) {
      LbProblemsDblClick(LbProblems->currentRow());
      return true;
    }
  }
  return QuastorDialog::eventFilter(watched, event);
}

void TFCheckProject::LbProblemsDblClick(int row) {
  if (!open_ || row < 0 || row >= static_cast<int>(problems_.size()))
    return;
  const CheckProblem problem = problems_[static_cast<std::size_t>(row)];
  open_(problem);
  // What the window changed is checked again; the chosen position stays where it can.
  FormShow();
  if (LbProblems->count() > 0)
    LbProblems->setCurrentRow(std::min(row, LbProblems->count() - 1));
  LbProblems->setFocus(Qt::OtherFocusReason);
}

void TFCheckProject::FormShow() {
  LbProblems->clear();
  problems_ = CheckProject(state_);
  for (const CheckProblem& problem : problems_)
    LbProblems->addItem(Q(ProblemLine(problem)));
  const std::size_t faults = FaultCount(problems_);
  Label1->setText(faults == 0 ? texts::kNoProblems
                              : Q(FormatText(texts::kProblemCount, {std::to_string(faults)})));
}

}  // namespace quastor
