#include "learn/views/test_run.h"

#include "core/word.h"
#include "learn/views/question_rules.h"
#include "net/answer_holder.h"
#include "net/answer_report.h"

namespace zabko {

TTestRun::TTestRun(ITestRunHost& host, TFindWord findWord) : host_(host), findWord_(std::move(findWord)) {}

bool TTestRun::Start(const TTestSettings& settings) {
  settings_ = settings;
  currentWord_ = nullptr;
  ResetSeries();
  return FetchFullBatch();
}

bool TTestRun::FetchFullBatch() {
  std::vector<TTestQuestion> fetched;
  if (!host_.FetchBatch(settings_, fetched)) {
    batch_.clear();
    return false;
  }
  DropUnaskableQuestions(fetched, [this](qint32 id) { return findWord_(id) != nullptr; });
  batch_ = std::move(fetched);
  if (static_cast<int>(batch_.size()) < settings_.QuestionCount) {
    host_.ShowTooManyQuestions(settings_.QuestionCount, static_cast<int>(batch_.size()));
    return false;
  }
  return true;
}

void TTestRun::ResetSeries() {
  rightCount_ = wrongCount_ = notKnownCount_ = 0;
  knownWords_.clear();
  wrongWords_.clear();
  notKnownWords_.clear();
  nextNumber_ = 1;
}

void TTestRun::PopQuestion() {
  if (batch_.empty()) return;
  current_ = batch_.front();
  batch_.erase(batch_.begin());
  currentWord_ = findWord_(current_.WordId);
  ++nextNumber_;
}

bool TTestRun::Advance() {
  if (IsLastAnswered()) {
    EndSeries();
    return false;
  }
  PopQuestion();
  return true;
}

void TTestRun::Record(int code) {
  if (currentWord_ == nullptr) return;
  const bool right = code == kEventRight;
  TDataPacket& report = host_.CurrentReport();
  report.SetInteger(report::kQuestionCount, settings_.QuestionCount);
  host_.AddAnswer(current_.WordId, right ? kAnswerRight : kAnswerWrong, report);
  host_.MoveWord(*currentWord_, current_.CurrentStatus, right ? current_.StatusIfRight : current_.StatusIfWrong);
  switch (code) {
    case kEventNotKnown:
      ++notKnownCount_;
      notKnownWords_.append(currentWord_);
      break;
    case kEventWrong:
      ++wrongCount_;
      wrongWords_.append(currentWord_);
      break;
    default:
      ++rightCount_;
      knownWords_.append(currentWord_);
      break;
  }
  host_.NextQuestion();
}

bool TTestRun::Restart() {
  if (static_cast<int>(batch_.size()) < settings_.QuestionCount && !FetchFullBatch()) {
    currentWord_ = nullptr;
    host_.ShowIntro();
    return false;
  }
  ResetSeries();
  return true;
}

void TTestRun::HandleEvent(int code) {
  switch (code) {
    case kEventNotKnown:
    case kEventWrong:
    case kEventRight:
      Record(code);
      break;
    case kEventAnotherSeries:
      if (Restart()) host_.NextQuestion();
      break;
    case kEventShowWrong:
      host_.ShowWordList(QStringLiteral("WordsIWrong"), wrongWords_);
      break;
    case kEventShowRight:
      host_.ShowWordList(QStringLiteral("WordsIKnew"), knownWords_);
      break;
    case kEventShowNotKnown:
      host_.ShowWordList(QStringLiteral("WordsINotKnew"), notKnownWords_);
      break;
    case kEventPlayWord:
      if (currentWord_) host_.PlaySound(currentWord_->MainSound.Name);
      break;
    case kEventBackToOptions:
      host_.BackToOptions();
      break;
    case kEventPlayExample:
      if (currentWord_) host_.PlaySound(currentWord_->ExampleSound1.Name);
      break;
    case kEventPlayExplanation:
      if (currentWord_) host_.PlaySound(currentWord_->ExampleSound2.Name);
      break;
    default:
      break;
  }
}

}  // namespace zabko
