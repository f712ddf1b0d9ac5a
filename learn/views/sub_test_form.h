// One question panel: asks a word in three steps (do you know it; pick the meaning among four;
// the verdict), fills the answer report, and tells its owner what happened through one event
// callback. The test window keeps three of them; opened modally by itself it is the word card.
// The rules it follows live in question_rules.h; the panel draws them.
#pragma once

#include "learn/views/question_rules.h"
#include "ui/modal_form.h"

#include <QTimer>

#include <array>
#include <functional>

class QStackedWidget;

namespace zabko {

class IViewHost;
class ITickClock;
class TLabel2;
class TLinkLabel2;
class TMyShape;
class TNBitmapComponent;
class TNButton;
class TNManager;
class TNStatic;
class TExtraInfoForm;
class TRoundedPanel;
class TTntLabel;
class TWord;

class TSubTestForm : public TModalForm {
  Q_OBJECT

 public:
  using TEventCallback = std::function<void(int code)>;

  // With a parent (a panel of the test window) the form is a plain child of it; without one it
  // is a dialog window (the word card).
  TSubTestForm(QWidget* parent, IViewHost& host, TNManager* manager, const ITickClock& clock);

  void SetEventCallback(TEventCallback callback) { eventCallback_ = std::move(callback); }

  void ShowQuestion(const TTestQuestion& question, bool exam, int kind, int seconds, int position);
  void ShowSummary(int rightCount, int wrongCount, int number, bool exam, int notKnownCount);
  TDataPacket& GetAnswerPacket() { return report_.Report(); }
  void HandleKey(int virtualKey);
  void PauseCountDown() { countdown_.Pause(); countDownTimer_.stop(); }
  void ResumeCountDown();
  void MakeWordClickable();
  void MakeWordInert();
  void ApplyLeftToRight();
  void LoadCaptions();

  // One second of the exam countdown (the timer's handler).
  void CountDownTimer();
  bool IsEvenQuestion() const;
  TPanelPage Page() const;
  int Kind() const { return kind_; }
  bool IsPractice() const { return isPractice_; }

  // Handlers.
  void KnowBtnClick();
  void DontKnowBtnClick();
  void AnswerBtnClick(int index);
  void CheckAnswerBtnClick(bool timeOut = false);
  void NextLblClick();
  void NextLbl2Click();
  void MoreTestBtnClick();
  void BackToDefBtnClick();
  // The example link: the extra-information window, modally.
  void Lbl3Click();
  void FillExtraInfo(TExtraInfoForm& info) const;

  void FormResize();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend void ShowWordCard(TWord* word, const TEventCallback& callback, IViewHost& host, TNManager* manager);
  void Send(int code);
  void LoadDrawers();
  void ShowAnswers(bool even);
  void SetQuestionWord(const QString& text, bool even);
  // The "next" links' distance from the panel's edge and their least gap to the verdict bar.
  static constexpr int kNextLinkMargin = 6;
  static constexpr int kNextLinkGap = 4;
  void ShowDefinition(TWord* word);
  void EnableAnswers(bool enable);
  void ApplyParity(bool even);
  void ShowTime();
  void BackgroundClick(bool first);
  TWord* FindWord(qint32 id) const;
  int ChosenIndex() const;

  IViewHost& host_;
  TNManager* manager_;
  TAnswerReportBuilder report_;
  TCountdown countdown_;
  QTimer countDownTimer_;
  TEventCallback eventCallback_;
  TTestQuestion question_{};
  int kind_ = 0;
  bool isPractice_ = true;
  bool leftToRight_ = false;
  bool shown_ = false;
  bool bitmapsLoaded_ = false;
  bool answersEnabled_ = true;
  bool wordClickable_ = false;
  int summaryDrawers_[2] = {-1, -1};
  int footerDrawers_[2] = {-1, -1};

  QStackedWidget* notebook_;
  QWidget* firstPage_;
  QWidget* questionPage_;
  QWidget* summaryPage_;
  TRoundedPanel* firstBkgrd_;
  TMyShape* headerBkg_;
  TLabel2* wordLbl_;
  TTntLabel* countLbl_;
  TNButton* knowBtn_;
  TNButton* dontKnowBtn_;
  std::array<TTntLabel*, 5> lbl_{};
  TLinkLabel2* nextLbl_;
  TRoundedPanel* secondBkg_;
  TMyShape* questHdrBkg_;
  TLabel2* questLbl_;
  TTntLabel* questCountLbl_;
  TTntLabel* timeLbl_;
  std::array<TTntLabel*, 4> aLbl_{};
  std::array<TNButton*, 4> aBtn_{};
  TNButton* checkAnswerBtn_;
  TLinkLabel2* nextLbl2_;
  TNStatic* fotterBkg_;
  TTntLabel* anwerLbl_;
  TRoundedPanel* lastBkg_;
  TTntLabel* headerLbl_;
  TNStatic* sumSpace_;
  TLinkLabel2* dontKnowLbl_;
  TLinkLabel2* correctLbl_;
  TLinkLabel2* wrongLbl_;
  TNButton* backToDefBtn_;
  TNButton* moreTestBtn_;
  TNBitmapComponent* orngBtns_;
  TNBitmapComponent* radioBtns_;
};

// The modal word card of a word: its headword, meanings and the example link; a click on the
// word sends 7 to the callback, the example link 9.
void ShowWordCard(TWord* word, const TSubTestForm::TEventCallback& callback, IViewHost& host, TNManager* manager);

}  // namespace zabko
