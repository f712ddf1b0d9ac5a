#include "ui/progress_runner_form.h"

#include "ui/event_guard.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QThread>
#include <QTimer>

namespace zabko {

TProgressRunnerForm::TProgressRunnerForm(QWidget* parent, const QString& name, const QString& timerName,
                                         int startDelayMs)
    : TModalForm(parent, name) {
  startTimer_ = new QTimer(this);
  startTimer_->setObjectName(timerName);
  startTimer_->setInterval(startDelayMs);
  connect(startTimer_, &QTimer::timeout, this, [this] { Guarded([this] { StartTimerTimer(); }); });
}

bool TProgressRunnerForm::RunJob(int steps, const QString& caption, const TJob& job) {
  if (running_) {
    SetCaption(caption);
    return Guarded([&] { job(*this); });
  }
  started_ = false;
  failed_ = false;
  completed_ = false;
  error_ = nullptr;
  Bar()->setRange(0, qMax(steps, 0));
  Bar()->setValue(0);
  SetCaption(caption);
  job_ = job;
  running_ = true;
  PlaceWindow();
  try {
    ShowModal();
  } catch (...) {
    running_ = false;
    startTimer_->stop();
    job_ = nullptr;
    HandleException(std::current_exception());
    return false;
  }
  running_ = false;
  // The loop can end before the timer fired (the application quit): the job never ran.
  startTimer_->stop();
  job_ = nullptr;
  if (std::exception_ptr error = std::exchange(error_, nullptr)) HandleException(error);
  return completed_;
}

void TProgressRunnerForm::Step() {
  QProgressBar* bar = Bar();
  if (bar->value() < bar->maximum()) bar->setValue(bar->value() + 1);
  ProcessMessages();
}

void TProgressRunnerForm::SetCaption(const QString& caption) { ShowText(caption); }

void TProgressRunnerForm::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TProgressRunnerForm::HideForMessage() {
  if (messageDepth_++ == 0) visibleBeforeMessage_ = isVisible();
  hide();
}

void TProgressRunnerForm::RestoreAfterMessage() {
  // A restore without its hide changes nothing.
  if (messageDepth_ == 0 || --messageDepth_ > 0) return;
  if (visibleBeforeMessage_) show();
}

void TProgressRunnerForm::showEvent(QShowEvent* event) {
  TModalForm::showEvent(event);
  Guarded([this] { FormShow(); });
}

void TProgressRunnerForm::closeEvent(QCloseEvent* event) {
  // The job cannot be stopped from outside; the window closes when it has ended.
  if (running_) {
    event->ignore();
    return;
  }
  TModalForm::closeEvent(event);
}

void TProgressRunnerForm::FormShow() {
  if (!running_ || started_) return;
  started_ = true;
  startTimer_->start();
}

void TProgressRunnerForm::StartTimerTimer() {
  startTimer_->stop();
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

void TProgressRunnerForm::Finish() {
  if (!failed_) {
    QProgressBar* bar = Bar();
    const int limit = MaxFillSteps();
    for (int filled = 0; bar->value() < bar->maximum() && (limit == 0 || filled < limit); ++filled) {
      Step();
      QThread::msleep(kFillStepMs);
    }
  }
  SetModalResult(mrOk);
  hide();
  ProcessMessages();
}

}  // namespace zabko
