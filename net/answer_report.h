// The answer report that goes up with every test answer: a packet of 17 integers whose slots the
// question panel fills as the question runs, and the check that a question record from the server
// can be asked at all. Shared by the learning program's test window and the game.
#pragma once

#include "net/zabkolex_client.h"

#include <functional>
#include <vector>

namespace zabko {

class TDataPacket;

// Integer slots of the report.
namespace report {
constexpr int kWordId = 0;         // id of the asked word
constexpr int kChosen = 1;         // tag of the chosen answer button, 1..4, -1 when none
constexpr int kAnswer1 = 2;        // 2..5: word ids of answers 1..4
constexpr int kMeaning1 = 6;       // 6..9: first meaning of answer i's word holding its text, or -1
constexpr int kKind = 10;          // question kind, plus kPracticeOffset in a practice test
constexpr int kCurrentStatus = 11; // the word's status when asked
constexpr int kLetterScore = 12;   // score of the asked word's letter
constexpr int kAverageScore = 13;  // average letter score of the language
constexpr int kSeconds = 14;       // whole seconds from showing the answers to the check
constexpr int kQuestionCount = 15; // questions in the series
constexpr int kPosition = 16;      // position of the question in the series, 1 first
constexpr int kSlotCount = 17;
constexpr int kPracticeOffset = 100;
}  // namespace report

// Sets the report to 17 zeros.
void ClearAnswerReport(TDataPacket& report);

// The four answer ids of a record, in order.
std::vector<qint32> AnswerIds(const TTestQuestion& question);

// A record can be asked when every id it names is a known word and the asked word is one of its
// answers (otherwise no answer could be right and a wrong pick would be graded right).
bool IsAskableQuestion(const TTestQuestion& question, const std::function<bool(qint32 id)>& wordExists);

// Drops the records that cannot be asked, logging each; returns how many were dropped.
int DropUnaskableQuestions(std::vector<TTestQuestion>& questions,
                           const std::function<bool(qint32 id)>& wordExists);

}  // namespace zabko
