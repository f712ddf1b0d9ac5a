// The rules of one question panel without its widgets: the look of a question by the parity of
// its position, the exam countdown, the key table, the distinct answer texts, and the answer
// report that the panel fills as the question runs.
#pragma once

#include "core/data_packet.h"
#include "core/word.h"
#include "net/zabkolex_client.h"

#include <QString>

#include <array>
#include <functional>

namespace zabko {

class ITickClock;
class TLanguagePack;

// Virtual key codes the main window forwards from its views.
namespace vk {
constexpr int kReturn = 0x0D;
constexpr int kSpace = 0x20;
constexpr int kLeft = 0x25;
constexpr int kRight = 0x27;
constexpr int kDigit1 = 0x31;  // 0x31..0x34: the digit keys 1 to 4
constexpr int kF = 0x46;
constexpr int kK = 0x4B;
constexpr int kN = 0x4E;
constexpr int kY = 0x59;
}  // namespace vk

// The virtual key code of a Qt key (letters and digits are their upper-case character codes);
// 0 for keys the views do not use.
int VirtualKeyOfQtKey(int qtKey);

// Events a question panel sends its owner.
enum TSubTestEvent : int {
  kEventNotKnown = 0,      // next after the don't-know button
  kEventWrong = 1,         // answered wrong, also a time-out
  kEventRight = 2,
  kEventAnotherSeries = 3,
  kEventShowWrong = 4,
  kEventShowRight = 5,
  kEventShowNotKnown = 6,
  kEventPlayWord = 7,
  kEventBackToOptions = 8,
  kEventPlayExample = 9,
  kEventPlayExplanation = 10,
};

// Question kinds.
enum TQuestionKind : quint8 { kKindNormal = 0, kKindUpsideDown = 1, kKindAudioOnly = 2 };

// Colours and sprite columns of a question (or summary) at an even or odd position.
struct TParityLook {
  quint32 Background;  // Windows colour value
  int ButtonX;         // know, don't know, check, summary buttons
  int RadioX;
  int FooterY;         // footer drawer
  int SummaryX;        // summary drawer
};
TParityLook ParityLook(bool even);
constexpr quint32 kEvenColour = 0xEEDAA5;

// "0:" and the seconds padded to two digits.
QString CountdownText(int seconds);

// The exam countdown: one Tick per second.
class TCountdown {
 public:
  void Start(int seconds) { left_ = seconds; running_ = true; }
  void Stop() { running_ = false; }
  void Pause() { running_ = false; }
  void Resume() { running_ = true; }
  bool Running() const { return running_; }
  int SecondsLeft() const { return left_; }
  // One second passed; true when the time ran out (it has gone below 0), which stops it.
  bool Tick();

 private:
  int left_ = 0;
  bool running_ = false;
};

// Pages of the panel, and what a key does on them.
enum class TPanelPage { First, Question, Summary };
enum class TKeyAction { None, Know, DontKnow, Next, Check, Answer1, Answer2, Answer3, Answer4 };
// nextShown: the "next word" link of the page is showing.
TKeyAction KeyActionFor(TPanelPage page, bool leftToRight, int virtualKey, bool nextShown);

// Makes the four answer texts distinct, pair by pair, replacing the text that is not the right
// answer's with Replacement(); at most 6 passes. Returns the number of passes run.
int MakeAnswersDistinct(std::array<QString, 4>& texts, const std::array<qint32, 4>& ids, qint32 rightId,
                        const std::function<QString()>& replacement);

// Index 0..3 of the right answer: the first whose id is the asked word's, else the last.
int RightAnswerIndex(const TTestQuestion& question);

// Sizes of a panel's layout that depend on its height.
int HeaderHeight(int panelHeight, bool largeUpsideDown);
int AnswerFontHeight(int headerHeight, bool largeUpsideDown);

// Fills the answer report of one question as it runs.
class TAnswerReportBuilder {
 public:
  explicit TAnswerReportBuilder(const ITickClock& clock);

  // A new question: all zeros, then its position.
  void Begin(int position);
  // The answers are shown: ids, the meaning indexes of the shown texts, kind, status, scores,
  // and the start of the answer time.
  void AnswersShown(const TTestQuestion& question, int kind, bool practice, const std::array<QString, 4>& shown,
                    const std::array<const TWord*, 4>& answerWords, int letterScore, int averageScore);
  // The check: the chosen button (1..4, -1 none) and the seconds taken.
  void Checked(int chosenTag);

  TDataPacket& Report() { return report_; }
  const TDataPacket& Report() const { return report_; }

 private:
  const ITickClock& clock_;
  TDataPacket report_;
  qint64 startTick_ = 0;
};

// Whether the test window plays a sound: the program has audio, the speaker is on or the
// question is audio only, and the question is not upside down.
bool ShouldPlayTestSound(bool hasAudio, bool speakerOff, int questionKind);

}  // namespace zabko
