// The server's table of the ten best game scores, a name and a score a row, fetched in the
// game's progress dialog each time the window shows. Rows the reply does not fill keep what they
// showed before.
#pragma once

#include "game/game_dialog.h"

class QTimer;

namespace zabko {

class IProgress;

class TTop10Form : public TGameDialog {
  Q_OBJECT

 public:
  static constexpr int kRows = 10;

  explicit TTop10Form(TZabkoGameMainForm& main);

  QTimer* Timer() const { return timer_; }

  // Starts the one-shot timer, so that the fetch begins once the window is up.
  void FormShow();
  void TimerTimer();
  // "Game.GetTop10" into the labels "NameLbl<n>" and "ScoreLbl<n>"; a refused request fails
  // with "Failed to get Top10 list".
  void LoadTop10Job(IProgress& progress);
  void NButton1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTimer* timer_ = nullptr;
};

}  // namespace zabko
