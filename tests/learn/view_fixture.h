// What the view tests share: the frames' fixture (stand-in server in process, demo skin, word
// databases), a larger English word list with 17 words under "d", and a main window that
// records what the views ask of it and forwards answers and word moves to the real services.
#pragma once

#include "core/language_pack.h"
#include "core/word.h"
#include "core/word_list.h"
#include "learn/views/view_host.h"
#include "net/answer_holder.h"
#include "tools/word_db_writer.h"

#include "tests/learn/frame_fixture.h"

#include <QComboBox>

#include <deque>

namespace zabko::test {

// Message boxes that record, and answer the yes/no questions from a script (yes when empty).
class TScriptedMessages : public IMessageService {
 public:
  void ShowMessageWithLinks(const QString& caption, const QString& text, const QStringList&) override {
    boxes.push_back({caption, text});
    if (onBox) onBox();
  }
  bool AskYesNo(const QString& caption, const QString& text, int) override {
    questions.push_back({caption, text});
    if (onBox) onBox();
    if (answers.empty()) return true;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  std::vector<std::pair<QString, QString>> boxes, questions;
  std::deque<bool> answers;
  std::function<void()> onBox;
};

class TFakeViewHost : public IViewHost {
 public:
  TFakeViewHost(TFakeRunner& runner, TFakeClock& clock, std::unique_ptr<TZabkolexFlow>& flow)
      : runner_(runner), clock_(clock), flow_(flow) {}

  void FocusCurrentView() override { ++focusCalls; }
  void SelectLanguagePack(int) override {}
  void RefreshView() override {}
  bool LeaveViewForSwitch() override { return true; }
  bool CanChangeLetter(TLanguagePack&, ILetterButton*) override { return true; }
  void LetterChosen(TLanguagePack&, ILetterButton*) override {}
  void ShowWords(const QString&, const TWordItemList&) override {}
  void ShowStringList(const QString&, const TWordItemList&) override {}
  void StackLeftPanel(QWidget*) override {}
  IProgressRunner& ProgressRunner() override { return runner_; }
  IMessageService& MessageService() override { return messages; }
  IFlowClock& FlowClock() override { return clock_; }
  TZabkolexFlow& Flow() override { return *flow_; }

  void AddAnswer(qint32 wordId, quint8 kind, const TDataPacket* detail) override {
    answers.push_back({wordId, kind});
    Central().AnswerHolder().AddAnswer(Central().CurrentLanguagePack()->GetCode(), wordId, detail, kind);
  }
  void MoveWord(TWord& word, int from, int to) override {
    TLanguagePack* pack = Central().CurrentLanguagePack();
    pack->MoveWord(pack->GetLetterIndex(word), from, to);
    moves.push_back({word.Id, to});
  }
  bool ConfirmLeaveTest() override {
    ++confirmCalls;
    return confirmAnswer;
  }
  void ShowConnectionError() override { ++connectionErrors; }
  bool IsLeftToRight() const override { return leftToRight; }
  void ClearLetter() override { selected = -1; }
  void SelectLetter(int index) override { selected = index; }
  int SelectedLetter() const override { return selected; }
  void AddWordsOfLetters(TWordItemList& list, int first, int last, bool skipKnown) override {
    Central().CurrentLanguagePack()->AddWordsOfLetters(list, first, last, skipKnown);
  }
  void BuildSubjectList(TSubjectItemList& list, int, int) override {
    list = {{QStringLiteral("All subjects"), -2}, {QStringLiteral("General"), 1}};
  }
  void BuildSubjectListOfSubject(qint32 subject, TSubjectItemList& list, int, int) override {
    list = {{QStringLiteral("All subjects"), -2}};
    if (subject == 1) list.append({QStringLiteral("Home"), 2});
  }
  void SetComboDropWidth(QComboBox*, int) override {}

  TScriptedMessages messages;
  std::vector<std::pair<qint32, quint8>> answers;
  std::vector<std::pair<qint32, int>> moves;
  int focusCalls = 0, confirmCalls = 0, connectionErrors = 0;
  bool confirmAnswer = true;
  bool leftToRight = false;
  int selected = -1;

 private:
  TFakeRunner& runner_;
  TFakeClock& clock_;
  std::unique_ptr<TZabkolexFlow>& flow_;
};

class ViewTest : public FrameTest {
 protected:
  static constexpr int kLetterD = 3;
  static constexpr int kLetterDWords = 17;

  void SetUp() override {
    FrameTest::SetUp();
    WriteLargerEnglish();
    LoadPacks();
    SelectEnglish();
  }

  // apple, book, cat keep their ids; d01..d17 come after them, then one word for each of e..h.
  void WriteLargerEnglish() {
    TWordDBWriter db(WordLanguage::English);
    db.AddSubject({1, 0, QString::fromUtf8("כללי"), "General"});
    db.AddSubject({2, 1, QString::fromUtf8("בית"), "Home"});
    for (const char* w : {"apple", "book", "cat"}) db.AddWord(QString::fromLatin1(w), "m", 2);
    for (int i = 1; i <= kLetterDWords; ++i)
      db.AddWord(QStringLiteral("d%1").arg(i, 2, 10, QChar(u'0')), QStringLiteral("meaning d%1").arg(i), 2);
    for (const char* w : {"egg", "fig", "gum", "hat"}) db.AddWord(QString::fromLatin1(w), "m", 2);
    const QString file = DataPath("ClientPsyEnglish.dat");
    db.SaveToFile(file, 3010);
    server_->WithState([&](dev::TDevProtocol& p) { p.Words().LoadDatabase(file, kEnglish); });
  }

  void SelectEnglish() {
    for (const auto& pack : central_->LanguagePacks()) {
      if (pack->GetCode() == kEnglish) central_->CurrentLanguageId = pack->LanguageId();
    }
    ASSERT_EQ(central_->CurrentLanguagePack()->GetCode(), kEnglish);
  }

  TWord* WordByText(const QString& headword) {
    for (const auto& w : central_->CurrentWordList()->Words()) {
      if (w->Headword == headword || w->Text == headword || w->SearchText == headword) return w.get();
    }
    return nullptr;
  }

  TFakeViewHost view{runner_, clock_, flow_};
};

}  // namespace zabko::test
