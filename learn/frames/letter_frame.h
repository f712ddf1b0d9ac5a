// The bar under the header: one panel of letter buttons per language pack (the visible one the
// current pack's), the switch between the packs, a box of the four word counts of the selected
// letter (or of all letters) that open the matching word list, and an information button. The
// packs own the buttons' logic; this frame creates and lays out the buttons and shows the counts.
#pragma once

#include "core/letter_button.h"
#include "ui/n_button.h"

#include <QWidget>

#include <functional>
#include <vector>

namespace zabko {

class IFrameHost;
class TLinkLabel2;
class TMyShape;
class TNBitmapComponent;
class TNManager;
class TNStatic;

// A letter button: the skin kit's button with the language pack's handlers and style.
class TLetterButton : public TNButton, public ILetterButton {
  Q_OBJECT

 public:
  TLetterButton(QWidget* parent, const QString& name);

  // The letter's index in its alphabet.
  int Tag = 0;

  bool IsDown() const override { return Down(); }
  void SetDown(bool down) override { TNButton::SetDown(down); }
  void SetLetterHandlers(std::function<void()> onClick, std::function<void()> onEnter,
                         std::function<void()> onLeave) override;
  void ApplyStyle(const TButtonStyle& style) override;

 private:
  std::function<void()> onClick_, onEnter_, onLeave_;
};

class TLetterFrm : public QWidget {
  Q_OBJECT

 public:
  TLetterFrm(QWidget* parent, TNManager* manager, IFrameHost* host);

  // One panel per language of the application type, the first visible; the switch's hint.
  void SetupPanels();
  void ShowInfoButton();
  // Creates the letter buttons and the language packs (which take the buttons' clicks), then
  // gives every button its caption, hint and width, and lays the panels out.
  void SetupLetters();
  void ShowCounts(int status0, int status1, int status2, int total);
  // Half the widest alphabet's buttons with 2 px each: the narrowest width the bar accepts.
  int MinimumWidth() const;
  void ApplyLeftToRight();
  void LoadCaptions();
  // Asks the server for the words of the selected letter (or of all letters) in the level range
  // and shows them in the word summary under Title.
  void ShowWordList(const QString& title, int lowestLevel, int highestLevel);

  void NoLblClick();
  void PartialLblClick();
  void YesLblClick();
  void TotalLblClick();
  void InfoBtnClick();
  void SwitchBtnClick();
  // Lays out the buttons of one letters panel for its size.
  void LettersPnl1Resize(QWidget* panel);

  const std::vector<std::vector<TLetterButton*>>& LetterButtons() const { return letterButtons_; }
  QWidget* LettersPanel(int pack) const { return letterPanels_.at(pack); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CountClick(const char* titleKey, int lowest, int highest);
  int PackOfPanel(const QWidget* panel) const;

  TNManager* manager_;
  IFrameHost* host_;
  TMyShape* shapes_[4];
  TNButton* infoBtn_;
  TNStatic* numberBox_;
  TLinkLabel2* noLbl_;
  TLinkLabel2* partialLbl_;
  TLinkLabel2* yesLbl_;
  TLinkLabel2* totalLbl_;
  QWidget* panels_[3];
  TNButton* switchBtn_;
  TNBitmapComponent* infoCmp_;
  TNBitmapComponent* switchCmp_;
  // The letter buttons' sheet, one per panel: a panel in two rows takes the short sheet while
  // another, with fewer letters, may still stand in one row.
  TNBitmapComponent* letterCmps_[3];

  std::vector<QWidget*> letterPanels_;
  std::vector<std::vector<TLetterButton*>> letterButtons_;
};

}  // namespace zabko
