// Fakes of the progress window and the message boxes: a runner that runs the job inline and
// records its steps and exceptions, and a message service that records the boxes and answers
// questions from a script.
#pragma once

#include "core/window_services.h"
#include "platform/exception.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zabko::test {

class TFakeRunner : public IProgressRunner, public IProgress {
 public:
  struct TRun {
    int steps = 0;
    QString caption;
    int stepped = 0;
    QStringList captions;
  };
  bool RunJob(int steps, const QString& caption, const TJob& job) override {
    runs.push_back({steps, caption, 0, {}});
    try {
      job(*this);
      return true;
    } catch (const Exception& e) {
      exceptions << e.Message();
      return false;
    }
  }
  void Step() override { ++runs.back().stepped; }
  void SetCaption(const QString& text) override { runs.back().captions << text; }
  void ProcessMessages() override {}

  std::vector<TRun> runs;
  QStringList exceptions;
};

class TFakeMessages : public IMessageService {
 public:
  struct TBox {
    QString caption, text;
    QStringList links;
  };
  void ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList& links) override {
    boxes.push_back({caption, text, links});
  }
  // Answers from Answers in turn, then true.
  bool AskYesNo(const QString& caption, const QString& text, int flags) override {
    questions.push_back({caption, text, flags});
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  struct TQuestion {
    QString caption, text;
    int flags = 0;
  };
  std::vector<TBox> boxes;
  std::vector<TQuestion> questions;
  std::vector<bool> answers;
};

}  // namespace zabko::test
