#include "learn/views/question_rules.h"

#include "learn/views/tick_clock.h"
#include "net/answer_report.h"

#include <QtCore/qnamespace.h>

#include <algorithm>

namespace zabko {

int VirtualKeyOfQtKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vk::kReturn;
    case Qt::Key_Space:
      return vk::kSpace;
    case Qt::Key_Left:
      return vk::kLeft;
    case Qt::Key_Right:
      return vk::kRight;
    default:
      break;
  }
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) return qtKey;
  return 0;
}

TParityLook ParityLook(bool even) {
  if (even) return {kEvenColour, 0, 0, 21, 0};
  return {0xDDD7C6, 45, 13, 0, 207};
}

QString CountdownText(int seconds) {
  return QStringLiteral("0:") + QString::number(seconds).rightJustified(2, u'0');
}

bool TCountdown::Tick() {
  if (!running_) return false;
  --left_;
  if (left_ >= 0) return false;
  running_ = false;
  return true;
}

TKeyAction KeyActionFor(TPanelPage page, bool leftToRight, int key, bool nextShown) {
  const bool goOn = key == vk::kReturn || key == vk::kSpace;
  switch (page) {
    case TPanelPage::First: {
      const bool know = leftToRight ? (key == vk::kRight || key == vk::kY) : (key == vk::kLeft || key == vk::kF);
      const bool dontKnow = leftToRight ? (key == vk::kLeft || key == vk::kN) : (key == vk::kRight || key == vk::kK);
      if (know) return TKeyAction::Know;
      if (dontKnow) return TKeyAction::DontKnow;
      if (goOn && nextShown) return TKeyAction::Next;
      return TKeyAction::None;
    }
    case TPanelPage::Question:
      if (key >= vk::kDigit1 && key < vk::kDigit1 + 4)
        return static_cast<TKeyAction>(static_cast<int>(TKeyAction::Answer1) + key - vk::kDigit1);
      if (goOn) return nextShown ? TKeyAction::Next : TKeyAction::Check;
      return TKeyAction::None;
    case TPanelPage::Summary:
      return TKeyAction::None;
  }
  return TKeyAction::None;
}

int MakeAnswersDistinct(std::array<QString, 4>& texts, const std::array<qint32, 4>& ids, qint32 rightId,
                        const std::function<QString()>& replacement) {
  static constexpr int kPairs[6][2] = {{0, 1}, {0, 2}, {0, 3}, {1, 2}, {1, 3}, {2, 3}};
  int passes = 0;
  bool replaced = true;
  while (replaced && passes < 6) {
    replaced = false;
    ++passes;
    for (const auto& pair : kPairs) {
      const int a = pair[0], b = pair[1];
      if (CompareItemTexts(texts[a], texts[b]) != 0) continue;
      const int target = ids[a] != rightId ? a : b;
      texts[target] = replacement();
      replaced = true;
    }
  }
  return passes;
}

int RightAnswerIndex(const TTestQuestion& q) {
  if (q.Answer1 == q.WordId) return 0;
  if (q.Answer2 == q.WordId) return 1;
  if (q.Answer3 == q.WordId) return 2;
  return 3;
}

int HeaderHeight(int panelHeight, bool largeUpsideDown) {
  if (largeUpsideDown) return std::max(29, std::min((panelHeight - 140) / 2, 70));
  return std::max(39, std::min((panelHeight - 140) / 2, 100));
}

int AnswerFontHeight(int headerHeight, bool largeUpsideDown) {
  const int f = headerHeight * 2 / 5;
  if (largeUpsideDown) return std::min(60, std::max(39, f));
  return std::min(30, std::max(17, f));
}

TAnswerReportBuilder::TAnswerReportBuilder(const ITickClock& clock) : clock_(clock) { ClearAnswerReport(report_); }

void TAnswerReportBuilder::Begin(int position) {
  ClearAnswerReport(report_);
  report_.SetInteger(report::kPosition, position);
}

void TAnswerReportBuilder::AnswersShown(const TTestQuestion& q, int kind, bool practice,
                                        const std::array<QString, 4>& shown,
                                        const std::array<const TWord*, 4>& words, int letterScore,
                                        int averageScore) {
  const std::vector<qint32> ids = AnswerIds(q);
  report_.SetInteger(report::kWordId, q.WordId);
  for (int i = 0; i < 4; ++i) {
    report_.SetInteger(report::kAnswer1 + i, ids[i]);
    const int meaning = words[i] ? TWStr::IndexOf(words[i]->Meanings, shown[i], false) : -1;
    report_.SetInteger(report::kMeaning1 + i, meaning);
  }
  report_.SetInteger(report::kKind, kind + (practice ? report::kPracticeOffset : 0));
  report_.SetInteger(report::kCurrentStatus, q.CurrentStatus);
  report_.SetInteger(report::kLetterScore, letterScore);
  report_.SetInteger(report::kAverageScore, averageScore);
  startTick_ = clock_.TickCount();
}

void TAnswerReportBuilder::Checked(int chosenTag) {
  report_.SetInteger(report::kChosen, chosenTag);
  report_.SetInteger(report::kSeconds, static_cast<qint32>((clock_.TickCount() - startTick_) / 1000));
}

bool ShouldPlayTestSound(bool hasAudio, bool speakerOff, int questionKind) {
  return hasAudio && (!speakerOff || questionKind == kKindAudioOnly) && questionKind != kKindUpsideDown;
}

}  // namespace zabko
