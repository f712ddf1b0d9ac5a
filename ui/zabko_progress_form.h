// The progress window that every long piece of work runs in. RunJob shows it modally; once it
// is on screen a one-shot 10 ms timer starts the job on the GUI thread, and the job advances
// the bar with Step, which also processes pending events so that the interface repaints and
// timers run. There is no worker thread.
//
// A job that raises ends the window (the bar stays where it was) and its exception goes to the
// application's exception handler after the run; RunJob never rethrows and answers whether the
// job ran to its end. Steps the job did not use fill visibly at 10 ms a step. A message box
// hides the window while it is open (HideForMessage / RestoreAfterMessage) without ending or
// restarting the job.
#pragma once

#include "net/flow_ui.h"
#include "ui/modal_form.h"

#include <exception>

class QProgressBar;
class QTimer;

namespace zabko {

class TNManager;
class TNStatic;
class TTntLabel;

class TZabkoProgressForm : public TModalForm, public IProgressRunner, public IProgress {
  Q_OBJECT

 public:
  static constexpr int kStartDelayMs = 10;
  static constexpr int kFillStepMs = 10;

  // Manager: the skin ("Progress\Bkg.bmp"); a missing bitmap fails the construction.
  explicit TZabkoProgressForm(TNManager* manager, QWidget* parent = nullptr);

  // Steps below 0 count as 0. A job that itself calls RunJob while the window runs gets its
  // inner job run at once inside the same window (with the inner caption), so that no second
  // modal loop is stacked on the one that is running.
  bool RunJob(int steps, const QString& caption, const TJob& job) override;
  void Step() override;
  void SetCaption(const QString& caption) override;
  void ProcessMessages() override;

  // Hidden while a message box is open and shown again afterwards if it was visible; boxes
  // opened while another is open nest, and the window comes back after the outermost.
  void HideForMessage();
  void RestoreAfterMessage();
  // The English layout: caption "Please wait...", left-to-right reading.
  void ApplyLeftToRight();

  bool Running() const { return running_; }
  TTntLabel* MainLbl() const { return mainLbl_; }
  QProgressBar* Progress() const { return progress_; }
  QTimer* TimerStart() const { return timerStart_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  void TimerStartTimer();
  void Finish();

  TNStatic* bkg_ = nullptr;
  TTntLabel* mainLbl_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QTimer* timerStart_ = nullptr;

  TJob job_;
  bool running_ = false;
  bool started_ = false;
  bool failed_ = false;
  bool completed_ = false;
  bool visibleBeforeMessage_ = false;
  int messageDepth_ = 0;
  std::exception_ptr error_;
};

}  // namespace zabko
