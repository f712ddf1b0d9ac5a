#include "learn/views/test_run.h"

#include "core/word.h"
#include "learn/views/question_rules.h"
#include "net/answer_report.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>

namespace zabko {
namespace {

// Records what the run asks of the window; fetches answer from a script of batches.
class FakeRunHost : public ITestRunHost {
 public:
  struct Answer {
    qint32 wordId;
    quint8 kind;
    qint32 count;
    qint32 position;
  };
  struct Move {
    qint32 wordId;
    int from, to;
  };

  std::deque<std::optional<std::vector<TTestQuestion>>> batches;  // none: a failed fetch
  std::vector<TTestSettings> fetched;
  std::vector<std::pair<int, int>> tooMany;
  TDataPacket report;
  std::vector<Answer> answers;
  std::vector<Move> moves;
  std::vector<std::pair<QString, int>> lists;
  std::vector<QByteArray> sounds;
  int nextCalls = 0, backCalls = 0, introCalls = 0;
  TTestRun* run = nullptr;

  bool FetchBatch(const TTestSettings& s, std::vector<TTestQuestion>& batch) override {
    fetched.push_back(s);
    if (batches.empty() || !batches.front()) {
      if (!batches.empty()) batches.pop_front();
      return false;
    }
    batch = *batches.front();
    batches.pop_front();
    return true;
  }
  void ShowTooManyQuestions(int asked, int offered) override { tooMany.emplace_back(asked, offered); }
  TDataPacket& CurrentReport() override { return report; }
  void AddAnswer(qint32 wordId, quint8 kind, const TDataPacket& r) override {
    answers.push_back({wordId, kind, r.GetInteger(report::kQuestionCount), r.GetInteger(report::kPosition)});
  }
  void MoveWord(TWord& word, int from, int to) override { moves.push_back({word.Id, from, to}); }
  void NextQuestion() override {
    ++nextCalls;
    run->Advance();
    // The panel of the next question starts its report.
    ClearAnswerReport(report);
    report.SetInteger(report::kPosition, run->NextNumber() - 1);
  }
  void ShowWordList(const QString& title, const QList<TWord*>& words) override {
    lists.emplace_back(title, static_cast<int>(words.size()));
  }
  void PlaySound(const QByteArray& name) override { sounds.push_back(name); }
  void BackToOptions() override { ++backCalls; }
  void ShowIntro() override { ++introCalls; }
};

class TestRunTest : public ::testing::Test {
 protected:
  TestRunTest() : run(host, [this](qint32 id) { return Find(id); }) {
    host.run = &run;
    for (int id = 1; id <= 30; ++id) {
      auto w = std::make_unique<TWord>();
      w->Id = id;
      w->Headword = QStringLiteral("w%1").arg(id);
      w->MainSound.Name = "s" + QByteArray::number(id) + ".mp3";
      w->ExampleSound1.Name = "e" + QByteArray::number(id);
      w->ExampleSound2.Name = "x" + QByteArray::number(id);
      words[id] = std::move(w);
    }
  }
  TWord* Find(qint32 id) {
    const auto it = words.find(id);
    return it == words.end() ? nullptr : it->second.get();
  }
  static std::vector<TTestQuestion> Batch(int n, int firstId = 1) {
    std::vector<TTestQuestion> b;
    for (int i = 0; i < n; ++i) {
      const qint32 id = firstId + i;
      b.push_back({id, 30, 29, 28, id, /*right*/ 1, /*wrong*/ 0, /*current*/ 2, 0});
    }
    return b;
  }
  // Starts a test of Count and shows the first question as the window does.
  bool StartAndShowFirst(int count) {
    TTestSettings s;
    s.QuestionCount = count;
    if (!run.Start(s)) return false;
    run.PopQuestion();
    ClearAnswerReport(host.report);
    host.report.SetInteger(report::kPosition, 1);
    return true;
  }

  std::map<qint32, std::unique_ptr<TWord>> words;
  FakeRunHost host;
  TTestRun run;
};

TEST_F(TestRunTest, EventTable) {
  host.batches.push_back(Batch(3));
  ASSERT_TRUE(StartAndShowFirst(3));
  EXPECT_EQ(run.NextNumber(), 2);
  EXPECT_TRUE(run.IsInProgress());

  run.HandleEvent(kEventPlayWord);
  run.HandleEvent(kEventPlayExample);
  run.HandleEvent(kEventPlayExplanation);
  EXPECT_EQ(host.sounds, (std::vector<QByteArray>{"s1.mp3", "e1", "x1"}));

  run.HandleEvent(kEventRight);
  run.HandleEvent(kEventWrong);
  EXPECT_TRUE(run.IsInProgress()) << "the last question on screen still counts as running";
  run.HandleEvent(kEventNotKnown);
  EXPECT_FALSE(run.IsInProgress());
  EXPECT_EQ(run.CurrentWord(), nullptr);

  ASSERT_EQ(host.answers.size(), 3u);
  const quint8 kinds[] = {2, 0, 0};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(host.answers[i].wordId, i + 1);
    EXPECT_EQ(host.answers[i].kind, kinds[i]);
    EXPECT_EQ(host.answers[i].count, 3) << "slot 15 holds the count";
    EXPECT_EQ(host.answers[i].position, i + 1) << "slot 16 the position";
  }
  ASSERT_EQ(host.moves.size(), 3u);
  EXPECT_EQ(host.moves[0].from, 2);
  EXPECT_EQ(host.moves[0].to, 1);  // StatusIfRight
  EXPECT_EQ(host.moves[1].to, 0);  // StatusIfWrong
  EXPECT_EQ(host.moves[2].to, 0);
  EXPECT_EQ(run.RightCount(), 1);
  EXPECT_EQ(run.WrongCount(), 1);
  EXPECT_EQ(run.NotKnownCount(), 1);

  host.sounds.clear();
  run.HandleEvent(kEventPlayWord);
  EXPECT_TRUE(host.sounds.empty()) << "no word after the last question";

  run.HandleEvent(kEventShowWrong);
  run.HandleEvent(kEventShowRight);
  run.HandleEvent(kEventShowNotKnown);
  EXPECT_EQ(host.lists, (std::vector<std::pair<QString, int>>{{"WordsIWrong", 1}, {"WordsIKnew", 1}, {"WordsINotKnew", 1}}));
  run.HandleEvent(kEventBackToOptions);
  EXPECT_EQ(host.backCalls, 1);
  EXPECT_EQ(host.answers.size(), 3u) << "list and back events record nothing";
}

TEST_F(TestRunTest, ShortFirstBatchRefusesToStart) {
  struct Case {
    int count, offered;
  };
  for (const Case c : {Case{5, 4}, Case{10, 7}}) {
    host.batches.push_back(Batch(c.offered));
    EXPECT_FALSE(StartAndShowFirst(c.count));
    ASSERT_FALSE(host.tooMany.empty());
    EXPECT_EQ(host.tooMany.back(), std::make_pair(c.count, c.offered));
  }
  host.batches.push_back(std::nullopt);
  const size_t before = host.tooMany.size();
  EXPECT_FALSE(StartAndShowFirst(5)) << "a failed fetch starts nothing";
  EXPECT_EQ(host.tooMany.size(), before);
  EXPECT_TRUE(run.Batch().empty());
}

TEST_F(TestRunTest, UnaskableRecordsAreDroppedBeforeCounting) {
  auto batch = Batch(5);
  batch[1].WordId = 999;   // unknown word
  batch[3].Answer1 = 777;  // unknown answer
  host.batches.push_back(batch);
  EXPECT_FALSE(StartAndShowFirst(5));
  EXPECT_EQ(host.tooMany.back(), std::make_pair(5, 3));
}

TEST_F(TestRunTest, FurtherSeriesFetchesOnlyWhenShort) {
  host.batches.push_back(Batch(7));
  ASSERT_TRUE(StartAndShowFirst(5));
  for (int i = 0; i < 5; ++i) run.HandleEvent(kEventRight);
  EXPECT_FALSE(run.IsInProgress());
  EXPECT_EQ(run.Batch().size(), 2u);

  // Two left for a count of 5: a new batch.
  host.batches.push_back(Batch(6, 10));
  run.HandleEvent(kEventAnotherSeries);
  EXPECT_EQ(host.fetched.size(), 2u);
  EXPECT_EQ(run.RightCount(), 0);
  EXPECT_TRUE(run.KnownWords().isEmpty());
  EXPECT_EQ(run.CurrentWord()->Id, 10);
  EXPECT_EQ(run.NextNumber(), 2);

  for (int i = 0; i < 5; ++i) run.HandleEvent(kEventWrong);
  // One left again, and the server now offers too few: the options page, no question.
  host.batches.push_back(Batch(3, 20));
  const int answers = static_cast<int>(host.answers.size());
  run.HandleEvent(kEventAnotherSeries);
  EXPECT_EQ(host.tooMany.back(), std::make_pair(5, 3));
  EXPECT_EQ(host.introCalls, 1);
  EXPECT_FALSE(run.IsInProgress());
  run.HandleEvent(kEventRight);
  EXPECT_EQ(static_cast<int>(host.answers.size()), answers) << "nothing asked past the batch";

  // A failed fetch in a further series shows the options page too.
  host.batches.push_back(std::nullopt);
  run.HandleEvent(kEventAnotherSeries);
  EXPECT_EQ(host.introCalls, 2);
  EXPECT_FALSE(run.IsInProgress());
}

TEST_F(TestRunTest, FullBatchLeftStartsWithoutFetching) {
  host.batches.push_back(Batch(10));
  ASSERT_TRUE(StartAndShowFirst(5));
  for (int i = 0; i < 5; ++i) run.HandleEvent(kEventRight);
  run.HandleEvent(kEventAnotherSeries);
  EXPECT_EQ(host.fetched.size(), 1u);
  EXPECT_EQ(run.CurrentWord()->Id, 6);
}

}  // namespace
}  // namespace zabko
