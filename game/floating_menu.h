// The menu over a paused game: end this game, a new game with the last settings, a custom game,
// quit the program; Esc carries on. The play screen stops the game before showing it and runs it
// again only when the continue flag is set afterwards.
#pragma once

#include "game/game_dialog.h"

#include <functional>

namespace zabko {

class TFloatingMenu : public TGameDialog {
  Q_OBJECT

 public:
  // The menu's buttons, 200 x 36 each, side by side in "Dialogs\MenuBtns.bmp".
  static constexpr int kButtonWidth = 200, kButtonHeight = 36;

  explicit TFloatingMenu(TZabkoGameMainForm& main);

  // True when the menu was closed with Esc: the game runs on.
  bool Continue() const { return continue_; }

  void FormShow();
  void FormKeyPress(int key);
  // Quit the program, after a Yes to "nothing of this game is kept".
  void CloseBtnClick();
  void ExitGameBtnClick();
  void NewGameBtnClick();
  void CustomGameBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // A Yes/No question over a grey cover of alpha 50, freed in every case; while the cover is up,
  // a Yes runs OnYes.
  bool AskOverCover(const QString& text, const std::function<void()>& onYes = {});
  QString NewGameQuestion() const;

  bool continue_ = false;
};

}  // namespace zabko
