// The custom game's choices: the language of the words, the range of first letters whose words
// are asked (never running backwards) and whether the answers update the learning progress on
// the server. The main window starts a game with them when the dialog ends with OK.
#pragma once

#include "game/game_dialog.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

namespace zabko {

class TCustomGameForm : public TGameDialog {
  Q_OBJECT

 public:
  explicit TCustomGameForm(TZabkoGameMainForm& main);

  QRadioButton* HebrewRB() const { return hebrewRB_; }
  QRadioButton* EnglishRB() const { return englishRB_; }
  QComboBox* FromLetterCB() const { return fromLetterCB_; }
  QComboBox* ToLetterCB() const { return toLetterCB_; }
  QCheckBox* UpdateServerCB() const { return updateServerCB_; }

  // What the dialog gives back: the list indexes of the first and last letters, the update choice
  // and the English choice.
  int FirstLetter() const;
  int LastLetter() const;
  bool UpdateWanted() const;
  bool EnglishChosen() const;

  // A list without a selection gets one: the first letter 0, the last 21.
  void FormShow();
  // Either radio button: the letter lists of the chosen language.
  void EnglishCBClick();
  // Both lists get the letter labels of the game's language (26 for English, else 22), both at 0.
  void FillLetters();
  void FromLetterCBChange();
  void ToLetterCBChange();
  // The help on the update choice in an information box.
  void QuestionMarkBtnClick();
  void NButton1Click();
  void NButton2Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QRadioButton* hebrewRB_ = nullptr;
  QRadioButton* englishRB_ = nullptr;
  QComboBox* fromLetterCB_ = nullptr;
  QComboBox* toLetterCB_ = nullptr;
  QCheckBox* updateServerCB_ = nullptr;
};

}  // namespace zabko
