// The rules of a practice test or an exam without its window: the batch of questions, the
// question being asked, the counters and word lists of the series, what each panel event does,
// and when a further series fetches. The window implements ITestRunHost to draw and to reach
// the main window and the server.
#pragma once

#include "core/data_packet.h"
#include "net/zabkolex_client.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <vector>

namespace zabko {

class TWord;

// Settings of a test, copied from the options page when it starts.
struct TTestSettings {
  int QuestionCount = 10;
  quint8 Order = 0;  // 1 alphabetical
  quint8 QuestionKind = 0;
  int FromLetter = 0;
  int ToLetter = 0;
  qint32 SubjectId = -2;
  qint32 SubSubjectId = -2;
};

class ITestRunHost {
 public:
  virtual ~ITestRunHost() = default;
  // Uploads the pending answers and fetches a batch; false (the batch untouched or empty)
  // after any failure, which the host has already reported.
  virtual bool FetchBatch(const TTestSettings& settings, std::vector<TTestQuestion>& batch) = 0;
  // The batch holds fewer questions than asked.
  virtual void ShowTooManyQuestions(int asked, int offered) = 0;
  // The answer report of the panel that shows the current question.
  virtual TDataPacket& CurrentReport() = 0;
  virtual void AddAnswer(qint32 wordId, quint8 kind, const TDataPacket& report) = 0;
  virtual void MoveWord(TWord& word, int fromStatus, int toStatus) = 0;
  // Shows the next question (or, when the run says it is the last, the summary).
  virtual void NextQuestion() = 0;
  virtual void ShowWordList(const QString& titleKey, const QList<TWord*>& words) = 0;
  // Plays a sound file of the current word, under the window's sound rule.
  virtual void PlaySound(const QByteArray& fileName) = 0;
  // Back to the options page after the series (and the upload).
  virtual void BackToOptions() = 0;
  // The options page again, after a further series could not start.
  virtual void ShowIntro() = 0;
};

class TTestRun {
 public:
  using TFindWord = std::function<TWord*(qint32 id)>;
  TTestRun(ITestRunHost& host, TFindWord findWord);

  // A new test: resets the series and fetches the first batch. True when the first question
  // can be shown (the batch holds at least the count).
  bool Start(const TTestSettings& settings);
  // Takes the first question of the batch; nothing when the batch is empty.
  void PopQuestion();
  // After an answer: takes the next question (true), or ends the series on its summary when
  // the answer was the last one (false).
  bool Advance();
  // The answer to the question on screen was the last of the series.
  bool IsLastAnswered() const { return nextNumber_ > settings_.QuestionCount; }
  // Ends the series on its summary: no current word.
  void EndSeries() { currentWord_ = nullptr; }
  // A question of the series is on screen, unanswered.
  bool IsInProgress() const { return currentWord_ != nullptr; }
  // One event of the panel that shows the current question (or the summary).
  void HandleEvent(int code);

  const TTestSettings& Settings() const { return settings_; }
  const std::vector<TTestQuestion>& Batch() const { return batch_; }
  const TTestQuestion& Current() const { return current_; }
  TWord* CurrentWord() const { return currentWord_; }
  int NextNumber() const { return nextNumber_; }
  int RightCount() const { return rightCount_; }
  int WrongCount() const { return wrongCount_; }
  int NotKnownCount() const { return notKnownCount_; }
  const QList<TWord*>& KnownWords() const { return knownWords_; }
  const QList<TWord*>& WrongWords() const { return wrongWords_; }
  const QList<TWord*>& NotKnownWords() const { return notKnownWords_; }

 private:
  // Fetches a batch into the run, keeping only questions that can be asked; true when it holds
  // at least the count (a short one is reported).
  bool FetchFullBatch();
  void ResetSeries();
  void Record(int code);
  bool Restart();

  ITestRunHost& host_;
  TFindWord findWord_;
  TTestSettings settings_;
  std::vector<TTestQuestion> batch_;
  TTestQuestion current_;
  TWord* currentWord_ = nullptr;
  int nextNumber_ = 1;
  int rightCount_ = 0;
  int wrongCount_ = 0;
  int notKnownCount_ = 0;
  QList<TWord*> knownWords_;
  QList<TWord*> wrongWords_;
  QList<TWord*> notKnownWords_;
};

}  // namespace zabko
