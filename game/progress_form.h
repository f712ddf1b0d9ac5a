// The game's modal progress dialog: Run shows it with a bar of Steps steps and a text line, a
// one-shot 1 ms timer starts the job once the dialog is up, and the job calls Step between
// units of work. The runner logic is the learning program's (TProgressRunnerForm): unused steps
// fill at 10 ms a step (at most 101 of them), an exception of the job closes the dialog without
// filling and goes to the application's exception handler, never to Run's caller.
#pragma once

#include "ui/progress_runner_form.h"

#include <functional>

class QProgressBar;

namespace zabko {

class TTntLabel;

class TProgressForm : public TProgressRunnerForm {
  Q_OBJECT

 public:
  using TProgressJob = std::function<void(TProgressForm& form)>;

  static constexpr int kStartDelayMs = 1;
  static constexpr int kMaxFillSteps = 101;

  explicit TProgressForm(QWidget* parent = nullptr);

  // mrOk when the job ran to its end; mrCancel when it raised or never ran.
  int Run(int steps, const QString& text, const TProgressJob& job);
  // The info line.
  void SetText(const QString& text) { SetCaption(text); }

  TTntLabel* InfoLbl() const { return infoLbl_; }
  QProgressBar* Progress() const { return progress_; }
  QTimer* Timer() const { return StartTimer(); }

 protected:
  QProgressBar* Bar() const override { return progress_; }
  void ShowText(const QString& text) override;
  // Centred on the active window (the game's main window), else on the screen.
  void PlaceWindow() override;
  int MaxFillSteps() const override { return kMaxFillSteps; }

 private:
  TTntLabel* infoLbl_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

// The one progress dialog of the game, made on the first call and freed with the application.
TProgressForm* GetProgressForm();

}  // namespace zabko
