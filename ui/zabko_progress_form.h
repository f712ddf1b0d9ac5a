// The learning program's progress window, skinned, that every long piece of work runs in. Its
// runner logic (a one-shot 10 ms start timer, steps, filling, failures going to the application's
// exception handler, hiding for a message box) is TProgressRunnerForm's.
#pragma once

#include "ui/progress_runner_form.h"

class QProgressBar;
class QTimer;

namespace zabko {

class TNManager;
class TNStatic;
class TTntLabel;

class TZabkoProgressForm : public TProgressRunnerForm {
  Q_OBJECT

 public:
  static constexpr int kStartDelayMs = 10;

  // Manager: the skin ("Progress\Bkg.bmp"); a missing bitmap fails the construction.
  explicit TZabkoProgressForm(TNManager* manager, QWidget* parent = nullptr);

  // The English layout: caption "Please wait...", left-to-right reading.
  void ApplyLeftToRight();

  TTntLabel* MainLbl() const { return mainLbl_; }
  QProgressBar* Progress() const { return progress_; }
  QTimer* TimerStart() const { return StartTimer(); }

 protected:
  QProgressBar* Bar() const override { return progress_; }
  void ShowText(const QString& text) override;

 private:
  TNStatic* bkg_ = nullptr;
  TTntLabel* mainLbl_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace zabko
