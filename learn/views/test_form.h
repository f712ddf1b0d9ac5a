// The practice test and exam view: an options page ("Intro") and three question panels ("Test")
// stacked so that the question asked stands in the upper panel and the one answered last slides
// down into the lower one. The rules of the series live in TTestRun; this window draws them,
// fetches the batches and plays the sounds.
#pragma once

#include "learn/views/test_run.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class QStackedWidget;

namespace zabko {

class ITickClock;
class IViewHost;
class TNBitmapComponent;
class TNButton;
class TNManager;
class TOptionsForm;
class TSubTestForm;
class TTntLabel;
class TWordSummary;

class TTestForm : public QWidget, private ITestRunHost {
  Q_OBJECT

 public:
  TTestForm(QWidget* parent, IViewHost& host, TNManager* manager, TOptionsForm& options, TWordSummary* summary,
            const ITickClock& clock);
  ~TTestForm() override;

  bool IsExam = false;
  // Where the sounds go; the central object's player when unset.
  std::function<void(const QByteArray& fileName)> SoundSink;

  void ShowIntro() override;
  bool IsTestInProgress();
  void PauseCountDown();
  void ResumeCountDown();
  void KeyPressed(int virtualKey);
  void LetterChosen();
  void ApplyLeftToRight();
  void LoadCaptions();

  // The start button's callback of the options page.
  void StartTest();
  // Timer handlers (tests call them in place of the timers).
  void TimerTimer();
  void PlayTimerTimer();
  void SpeakerBtnClick();
  void FinishBtnClick();

  const TTestRun& Run() const { return run_; }
  bool OnIntroPage() const;
  TSubTestForm* UpperForm() const;
  TSubTestForm* LowerForm() const;
  TSubTestForm* SlidingForm() const;
  QWidget* UpperPanel() const { return upperPanel_; }
  QWidget* LowerPanel() const { return lowerPanel_; }
  QWidget* SlidingPanel() const { return slidingPanel_; }
  bool Sliding() const { return timer_.isActive(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // ITestRunHost.
  bool FetchBatch(const TTestSettings& settings, std::vector<TTestQuestion>& batch) override;
  void ShowTooManyQuestions(int asked, int offered) override;
  TDataPacket& CurrentReport() override;
  void AddAnswer(qint32 wordId, quint8 kind, const TDataPacket& report) override;
  void MoveWord(TWord& word, int fromStatus, int toStatus) override;
  void NextQuestion() override;
  void ShowWordList(const QString& titleKey, const QList<TWord*>& words) override;
  void PlaySound(const QByteArray& fileName) override;
  void BackToOptions() override;

  void OnSubTestEvent(int code);
  void StartFirstQuestion();
  void UpdateQuestionCount();
  void ShowCurrentOn(TSubTestForm* form);
  void PlayCurrentWord();
  static TSubTestForm* FormOf(QWidget* panel);
  static void SwapForms(QWidget* a, QWidget* b);
  void FormResize();

  IViewHost& host_;
  TNManager* manager_;
  TOptionsForm& options_;
  TWordSummary* summary_;
  TTestRun run_;
  QStackedWidget* notebook_;
  QWidget* introPage_;
  QWidget* testPage_;
  TTntLabel* questionCountLbl_;
  QWidget* pnl_[3];
  QWidget* upperPanel_;
  QWidget* lowerPanel_;
  QWidget* slidingPanel_;
  TNButton* speakerBtn_;
  TNButton* finishBtn_;
  TNBitmapComponent* speakerCmp_;
  TNBitmapComponent* finishCmp_;
  QTimer timer_;
  QTimer playTimer_;
  bool fetchFailed_ = false;
};

}  // namespace zabko
