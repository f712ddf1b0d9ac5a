#include "net/answer_report.h"

#include "core/data_packet.h"
#include "core/exception_log.h"

#include <algorithm>

namespace zabko {

void ClearAnswerReport(TDataPacket& report) {
  report.Clear();
  for (int i = 0; i < report::kSlotCount; ++i) report.AddInteger(0);
}

std::vector<qint32> AnswerIds(const TTestQuestion& question) {
  return {question.Answer1, question.Answer2, question.Answer3, question.Answer4};
}

bool IsAskableQuestion(const TTestQuestion& question, const std::function<bool(qint32 id)>& wordExists) {
  const std::vector<qint32> answers = AnswerIds(question);
  if (!wordExists(question.WordId)) return false;
  for (qint32 id : answers) {
    if (!wordExists(id)) return false;
  }
  return std::find(answers.begin(), answers.end(), question.WordId) != answers.end();
}

int DropUnaskableQuestions(std::vector<TTestQuestion>& questions,
                           const std::function<bool(qint32 id)>& wordExists) {
  const auto bad = [&](const TTestQuestion& q) {
    if (IsAskableQuestion(q, wordExists)) return false;
    LogLine("Question dropped, word " + QByteArray::number(q.WordId) + " answers " +
            QByteArray::number(q.Answer1) + "," + QByteArray::number(q.Answer2) + "," +
            QByteArray::number(q.Answer3) + "," + QByteArray::number(q.Answer4));
    return true;
  };
  const auto before = questions.size();
  questions.erase(std::remove_if(questions.begin(), questions.end(), bad), questions.end());
  return static_cast<int>(before - questions.size());
}

}  // namespace zabko
