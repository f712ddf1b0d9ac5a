// The result page after a game, docked in the main window's main area: the points, the right
// answers, the missed words and the first five of them, the player's name to send the result to
// the server's score table, and the ways on: the top 10, another game, the start screen.
#pragma once

#include "core/integer_list.h"

#include <QWidget>

class QLineEdit;

namespace zabko {

class IProgress;
class TNButton;
class TTntLabel;
class TZabkoGameMainForm;

class TEndGameForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShownMissed = 5;
  // The page's buttons, 150 x 34 each, side by side in "Dialogs\EndGameBtns.bmp".
  static constexpr int kButtonWidth = 150, kButtonHeight = 34;

  explicit TEndGameForm(TZabkoGameMainForm& main);

  // The ids of the words the player missed.
  TIntegerList& MissedWords() { return missedWords_; }

  void SetPoints(int points);
  void SetCorrect(int correct);
  void SetMissed(int missed);
  int GetPoints() const;
  QString GetPlayerName() const;
  // The headwords of the first five missed words, the other labels empty.
  void ShowMissedWords();

  // The send button again, the missed words, and the fonts of the game's language.
  void FormShow();
  // The name field's prompt from "EndGameForm.NameText".
  void LoadTexts();
  void SendResultClick();
  // "Game.SendStats" with the shown points and the name; once sent, the name field is disabled
  // and the send button hidden.
  void SendResultJob(IProgress& progress);
  void ExitBtnClick();
  void AnotherGameBtnClick();
  void TopTenBtnClick();

  QLineEdit* NameEdt() const { return nameEdt_; }
  TNButton* SendResult() const { return sendResult_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TZabkoGameMainForm& main_;
  TIntegerList missedWords_;
  bool firstShowing_ = true;
  TTntLabel* pointsLbl_ = nullptr;
  TTntLabel* correctLbl_ = nullptr;
  TTntLabel* missedLbl_ = nullptr;
  TTntLabel* wrongLbl_[kShownMissed] = {};
  QLineEdit* nameEdt_ = nullptr;
  TNButton* sendResult_ = nullptr;
};

}  // namespace zabko
