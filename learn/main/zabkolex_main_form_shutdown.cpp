// The main window's end: Close and its question, the shut-down steps, an end asked for by a
// signal, and the channel and boxes that keep such an end short and quiet.
#include "learn/main/zabkolex_main_form.h"
#include "learn/main/zabkolex_main_form_shutdown.h"

#include "core/exception_log.h"
#include "core/zabkolex_strings.h"
#include "net/answer_holder.h"
#include "net/win_http.h"
#include "net/zabkolex_client.h"
#include "net/zabkolex_flow.h"
#include "platform/exception.h"
#include "platform/exception_handler.h"
#include "ui/flow_windows.h"
#include "ui/modal_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

namespace zabko {

TMainWindowChannel::TMainWindowChannel() : abortTimer_(std::make_unique<QTimer>()) {
  clock_.start();
  abortTimer_->setSingleShot(true);
  abortTimer_->setTimerType(Qt::PreciseTimer);
  QObject::connect(abortTimer_.get(), &QTimer::timeout, [this] {
    // The reply did not come in time: the request ends without it, and no other starts (a
    // timer may fire a little early).
    deadlineMs_ = qMin(deadlineMs_, clock_.elapsed());
    if (depth_ > 0 && Http().Busy()) Http().Abort(false, true);
  });
}

TMainWindowChannel::~TMainWindowChannel() = default;

qint64 TMainWindowChannel::Remaining() const {
  if (!hasDeadline_) return -1;
  return qMax<qint64>(0, deadlineMs_ - clock_.elapsed());
}

void TMainWindowChannel::SetDeadline(int ms) {
  hasDeadline_ = true;
  deadlineMs_ = clock_.elapsed() + ms;
  abortTimer_->stop();
  // A request started before has no time limit of its own.
  if (depth_ > 0) abortTimer_->start(ms);
}

void TMainWindowChannel::ClearDeadline() {
  hasDeadline_ = false;
  abortTimer_->stop();
}

bool TMainWindowChannel::Post(const QByteArray& url, const QByteArray& data) {
  if (closed_) return false;
  const qint64 remaining = Remaining();
  if (remaining == 0) return false;
  struct TRequestScope {
    TMainWindowChannel& channel;
    ~TRequestScope() {
      --channel.depth_;
      if (channel.depth_ == 0) channel.abortTimer_->stop();
      if (channel.OnRequestEnd) channel.OnRequestEnd();
    }
  } scope{*this};
  ++depth_;
  // The deadline ends the wait itself, to the millisecond: a coarse wait time-out could end it
  // early and leave time for a retry that sends the same answers again.
  if (remaining > 0) abortTimer_->start(static_cast<int>(remaining));
  return TWebPacketChannel::Post(url, data);
}

void TQuietMessages::ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList& links) {
  if (quiet_()) {
    LogLine("No box while the program ends: " + caption.toUtf8() + " / " + text.left(80).toUtf8());
    return;
  }
  boxes_.ShowMessageWithLinks(caption, text, links);
}

bool TQuietMessages::AskYesNo(const QString& caption, const QString& text, int flags) {
  if (quiet_()) return false;
  return boxes_.AskYesNo(caption, text, flags);
}

// The end.

void TZabkolexMainForm::closeEvent(QCloseEvent* event) {
  // The window manager's close is the program's Close; the window goes when Close says so.
  event->ignore();
  Guarded([this] { Close(); });
}

bool TZabkolexMainForm::Close(bool ask) {
  if (!ask) signalEnd_ = true;
  if (closing_) {
    // A close is under way: a signal during its question answers it, and otherwise only makes
    // the steps still to come quiet and short.
    if (!ask && asking_) flowWindows_->Messages().SetModalResult(mrOk);
    if (!ask && channel_) channel_->SetDeadlineOnce(kSignalStepMs);
    return false;
  }
  if (channel_ && channel_->InRequest()) {
    // The steps would run inside the pending request and send its answers again: the close
    // waits until the request has returned.
    closePending_ = true;
    pendingAsk_ = pendingAsk_ && ask;
    // After a signal, that request and the uploads of the shut-down share the upload's time.
    if (!ask) channel_->SetDeadlineOnce(kSignalStepMs);
    return false;
  }
  closing_ = true;
  const bool quiet = signalEnd_;
  if (!FormCloseQuery(ask && !quiet)) {
    closing_ = false;
    return false;
  }
  if (saverTimer_) saverTimer_->stop();
  if (answersSaveTimer_) answersSaveTimer_->stop();
  hide();
  // Whatever runs on while the event loops end sends nothing more.
  if (channel_) channel_->CloseChannel();
  exitStatus_ = exitMode_ == kExitStartFailed ? 1 : 0;
  QCoreApplication::exit(exitStatus_);
  return true;
}

void TZabkolexMainForm::ClosePendingAfterRequest() {
  if (!closePending_ || closing_ || !channel_ || channel_->InRequest()) return;
  closePending_ = false;
  const bool ask = pendingAsk_;
  pendingAsk_ = true;
  Close(ask && !signalEnd_);
}

void TZabkolexMainForm::EndBySignal() { Close(false); }

bool TZabkolexMainForm::FormCloseQuery(bool ask) {
  bool canClose = true;
  if (exitMode_ == kExitNormal && ask) {
    asking_ = true;
    struct TAsking {
      bool& flag;
      ~TAsking() { flag = false; }
    } asking{asking_};
    canClose = flowWindows_->Messages().AskYesNo(Text("CaptionExitForm"), Text("DoYouWantToExit"),
                                                 kButtonYes | kButtonNo);
    // A signal while the question was open ends the program whatever the answer.
    if (signalEnd_) canClose = true;
  }
  if (!canClose || exitMode_ == kExitStartFailed) return canClose;
  // The answers go to their file before and after the steps, whatever these raise, but only
  // once a log-on has taken the user's own file: before that a save would overwrite answers
  // that an earlier run could not upload.
  SaveAnswersOnceLoggedOn();
  try {
    ShutDownSteps();
  } catch (...) {
    RecordCaughtException(std::current_exception());
    LogLine(("A shut-down step failed: " + ExceptionMessage(std::current_exception())).toUtf8());
  }
  if (channel_) channel_->ClearDeadline();
  SaveAnswersOnceLoggedOn();
  return true;
}

void TZabkolexMainForm::ShutDownSteps() {
  if (isVisible() && !inFormShow_) {
    try {
      hide();
    } catch (...) {
      RecordCaughtException(std::current_exception());
    }
  }
  // After a signal, the uploads together (from the signal on) and then the log-off get a few
  // seconds each, and the exit page, meant for a learner who closes the program, does not open.
  if (signalEnd_ && channel_) channel_->SetDeadlineOnce(kSignalStepMs);
  LeaveView(true);
  // Once the upload's time is up, a second try could not send anything.
  if (!(signalEnd_ && channel_ && channel_->TimeIsUp())) flow_->UploadAnswersWithProgress();
  if (signalEnd_ && channel_) channel_->SetDeadline(kSignalStepMs);
  flow_->LogOffAtExit();
  if (!signalEnd_) flow_->OpenExitPage();
}

void TZabkolexMainForm::SaveAnswersOnceLoggedOn() {
  if (!loggedOn_) return;
  try {
    central_->AnswerHolder().SaveToFile(GetAnswersFileName());
  } catch (const Exception& e) {
    LogLine("The answers file could not be written: " + e.Message().toUtf8());
  }
}

void TZabkolexMainForm::ScheduleAnswersSave() {
  if (loggedOn_ && !closing_ && answersSaveTimer_ && !answersSaveTimer_->isActive()) answersSaveTimer_->start();
}

void TZabkolexMainForm::Terminate() {
  exitMode_ = kExitStartFailed;
  exitStatus_ = 1;
  closing_ = true;
  if (saverTimer_) saverTimer_->stop();
  if (answersSaveTimer_) answersSaveTimer_->stop();
  hide();
  if (channel_) channel_->CloseChannel();
  QCoreApplication::exit(1);
}

}  // namespace zabko
