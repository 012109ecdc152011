#include "check/UCheckProject.h"

#include <string>
#include <vector>

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
}

void TFCheckProject::FormShow() {
  LbProblems->clear();
  const std::vector<CheckProblem> problems = CheckProject(state_);
  for (const CheckProblem& problem : problems)
    LbProblems->addItem(Q(ProblemLine(problem)));
  const std::size_t faults = FaultCount(problems);
  Label1->setText(faults == 0 ? texts::kNoProblems
                              : Q(FormatText(texts::kProblemCount, {std::to_string(faults)})));
}

}  // namespace quastor
