#include "ui/zabko_progress_form.h"

#include "ui/form_loading.h"
#include "ui/n_base.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QThread>
#include <QTimer>

namespace zabko {

TZabkoProgressForm::TZabkoProgressForm(TNManager* manager, QWidget* parent)
    : TModalForm(parent, QStringLiteral("ZabkoProgressForm")) {
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setFixedSize(471, 99);
  setLayoutDirection(Qt::RightToLeft);
  setFont(WinFont(QStringLiteral("Arial"), 0, -15));
  setWindowTitle(QString::fromUtf8("אנא המתן..."));

  TFormLoading loading(this);
  bkg_ = new TNStatic(this, QStringLiteral("Bkg"));
  bkg_->setGeometry(0, 0, 471, 99);
  bkg_->SetManager(manager);
  bkg_->SetBackgroundName(QStringLiteral("Progress\\Bkg.bmp"));

  mainLbl_ = new TTntLabel(bkg_, QStringLiteral("MainLbl"));
  mainLbl_->SetAutoSize(false);
  mainLbl_->setGeometry(31, 24, 409, 17);
  mainLbl_->SetTransparent(true);

  progress_ = new QProgressBar(bkg_);
  progress_->setObjectName(QStringLiteral("Progress"));
  progress_->setGeometry(31, 64, 409, 16);
  progress_->setTextVisible(false);
  progress_->setRange(0, 0);
  loading.Finish();

  timerStart_ = new QTimer(this);
  timerStart_->setObjectName(QStringLiteral("TimerStart"));
  timerStart_->setInterval(kStartDelayMs);
  connect(timerStart_, &QTimer::timeout, this, [this] { Guarded([this] { TimerStartTimer(); }); });
}

bool TZabkoProgressForm::RunJob(int steps, const QString& caption, const TJob& job) {
  if (running_) {
    SetCaption(caption);
    return Guarded([&] { job(*this); });
  }
  started_ = false;
  failed_ = false;
  completed_ = false;
  error_ = nullptr;
  progress_->setRange(0, qMax(steps, 0));
  progress_->setValue(0);
  SetCaption(caption);
  job_ = job;
  running_ = true;
  CenterOnScreen();
  try {
    ShowModal();
  } catch (...) {
    running_ = false;
    timerStart_->stop();
    job_ = nullptr;
    HandleException(std::current_exception());
    return false;
  }
  running_ = false;
  // The loop can end before the timer fired (the application quit): the job never ran.
  timerStart_->stop();
  job_ = nullptr;
  if (std::exception_ptr error = std::exchange(error_, nullptr)) HandleException(error);
  return completed_;
}

void TZabkoProgressForm::Step() {
  if (progress_->value() < progress_->maximum()) progress_->setValue(progress_->value() + 1);
  ProcessMessages();
}

void TZabkoProgressForm::SetCaption(const QString& caption) { mainLbl_->SetCaption(caption); }

void TZabkoProgressForm::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TZabkoProgressForm::HideForMessage() {
  if (messageDepth_++ == 0) visibleBeforeMessage_ = isVisible();
  hide();
}

void TZabkoProgressForm::RestoreAfterMessage() {
  // A restore without its hide changes nothing.
  if (messageDepth_ == 0 || --messageDepth_ > 0) return;
  if (visibleBeforeMessage_) show();
}

void TZabkoProgressForm::ApplyLeftToRight() {
  setWindowTitle(QStringLiteral("Please wait..."));
  setLayoutDirection(Qt::LeftToRight);
}

void TZabkoProgressForm::showEvent(QShowEvent* event) {
  TModalForm::showEvent(event);
  Guarded([this] { FormShow(); });
}

void TZabkoProgressForm::closeEvent(QCloseEvent* event) {
  // The job cannot be stopped from outside; the window closes when it has ended.
  if (running_) {
    event->ignore();
    return;
  }
  TModalForm::closeEvent(event);
}

void TZabkoProgressForm::FormShow() {
  if (!running_ || started_) return;
  started_ = true;
  timerStart_->start();
}

void TZabkoProgressForm::TimerStartTimer() {
  timerStart_->stop();
  if (!job_) return;
  failed_ = false;
  const TJob job = job_;
  try {
    job(*this);
    completed_ = true;
  } catch (...) {
    failed_ = true;
    error_ = std::current_exception();
  }
  Finish();
}

void TZabkoProgressForm::Finish() {
  if (!failed_) {
    while (progress_->value() < progress_->maximum()) {
      Step();
      QThread::msleep(kFillStepMs);
    }
  }
  SetModalResult(mrOk);
  hide();
  ProcessMessages();
}

}  // namespace zabko
