#include "game/progress_form.h"

#include "platform/gui/window_helpers.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProgressBar>

namespace zabko {

TProgressForm::TProgressForm(QWidget* parent)
    : TProgressRunnerForm(parent, QStringLiteral("ProgressForm"), QStringLiteral("Timer"), kStartDelayMs) {
  setFixedSize(380, 84);
  setLayoutDirection(Qt::RightToLeft);
  setFont(WinFont(QStringLiteral("Arial"), 10));
  setWindowTitle(QString::fromUtf8("אנא המתן..."));

  infoLbl_ = new TTntLabel(this, QStringLiteral("InfoLbl"));
  infoLbl_->SetAutoSize(false);
  infoLbl_->setGeometry(16, 14, 348, 20);

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("Progress"));
  progress_->setGeometry(16, 46, 348, 18);
  progress_->setTextVisible(false);
  progress_->setRange(0, 0);
}

int TProgressForm::Run(int steps, const QString& text, const TProgressJob& job) {
  const bool completed = RunJob(steps, text, [this, &job](IProgress&) { job(*this); });
  return completed ? mrOk : mrCancel;
}

void TProgressForm::ShowText(const QString& text) { infoLbl_->SetCaption(text); }

void TProgressForm::PlaceWindow() {
  QWidget* owner = FindActiveForm();
  if (owner == this || !owner || !owner->isVisible()) {
    CenterOnScreen();
    return;
  }
  const QRect area = owner->frameGeometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

namespace {

QPointer<TProgressForm> g_progressForm;

// Windows that outlive the application object would be freed without it.
void FreeProgressForm() { delete g_progressForm.data(); }

}  // namespace

TProgressForm* GetProgressForm() {
  if (!g_progressForm) {
    g_progressForm = new TProgressForm();
    qAddPostRoutine(FreeProgressForm);
  }
  return g_progressForm;
}

}  // namespace zabko
