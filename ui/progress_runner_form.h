// What every modal progress window shares: Run shows the window modally, a one-shot start timer
// runs the job on the GUI thread once the window is on screen, the job advances the bar with
// Step (which also processes pending events, so that the interface repaints and timers run),
// and steps the job did not use fill visibly at 10 ms a step. There is no worker thread.
//
// A job that raises ends the window (the bar stays where it was) and its exception goes to the
// application's exception handler after the run, never to the caller; the run answers whether
// the job ran to its end. A message box hides the window while it is open (HideForMessage /
// RestoreAfterMessage) without ending or restarting the job. Subclasses build the window's look
// and give the bar, the text line and the start timer's interval.
#pragma once

#include "net/flow_ui.h"
#include "ui/modal_form.h"

#include <exception>

class QProgressBar;
class QTimer;

namespace zabko {

class TProgressRunnerForm : public TModalForm, public IProgressRunner, public IProgress {
  Q_OBJECT

 public:
  static constexpr int kFillStepMs = 10;

  // The start timer is named TimerName and fires StartDelayMs after the window shows.
  TProgressRunnerForm(QWidget* parent, const QString& name, const QString& timerName, int startDelayMs);

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

  bool Running() const { return running_; }
  QTimer* StartTimer() const { return startTimer_; }

 protected:
  // The bar and the text line, made by the subclass's constructor.
  virtual QProgressBar* Bar() const = 0;
  virtual void ShowText(const QString& text) = 0;
  // Places the window before it shows.
  virtual void PlaceWindow() { CenterOnScreen(); }
  // Filling after the job stops after this many steps at most (0: until the bar is full).
  virtual int MaxFillSteps() const { return 0; }

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormShow();
  void StartTimerTimer();
  void Finish();

  QTimer* startTimer_ = nullptr;
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
