#include "game/play/words_center.h"

#include "core/word.h"
#include "tests/common/test_util.h"
#include "tests/game/game_server_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace zabko {
namespace {

using dev::TFaultKind;
using test::GameServerTest;

class WordsCenterTest : public GameServerTest {
 protected:
  int QuestionRequests() const { return static_cast<int>(server_->LogOf("Game.GetQuestions").size()); }

  // Every id of the question names a word of the databases.
  bool Known(const TTestQuestion& q) const {
    for (qint32 id : {q.WordId, q.Answer1, q.Answer2, q.Answer3, q.Answer4})
      if (!center_->FindWord(id)) return false;
    return true;
  }

  void Answer(int n) {
    for (int i = 0; i < n; ++i) {
      const TTestQuestion q = center_->NextQuestion();
      center_->RecordAnswer(q.WordId, i % 2 ? kAnswerWrong : kAnswerRight, 1 + i % 4, q);
    }
  }
};

TEST_P(WordsCenterTest, BatchesOfQuestionsForTheRange) {
  TWordsCenter& center = MakeCenter();
  center.SetRange(0, 25, false, true);
  ASSERT_EQ(runner_.runs.size(), 1u) << "no answers held: no upload before the batch";
  EXPECT_EQ(runner_.runs[0].steps, 2);
  EXPECT_EQ(runner_.runs[0].caption, "WordCenter.LoadingQuestions");
  EXPECT_EQ(runner_.runs[0].stepped, 1);
  const dev::TLoggedRequest request = server_->LogOf("Game.GetQuestions").at(0);
  EXPECT_FALSE(request.session) << "not authenticated: the plain envelope";
  TDataPacket expected;
  expected.AddByte(0), expected.AddByte(25), expected.AddInteger(20), expected.AddInteger(200);
  EXPECT_EQ(request.arguments->SaveToBytes(), expected.SaveToBytes());

  ASSERT_EQ(center.Queue().size(), 8u) << "every English word once";
  std::set<qint32> asked;
  for (int i = 0; i < 8; ++i) {
    const TTestQuestion q = center.NextQuestion();
    EXPECT_TRUE(Known(q));
    asked.insert(q.WordId);
  }
  EXPECT_EQ(asked.size(), 8u);
  EXPECT_EQ(QuestionRequests(), 1);
  center.NextQuestion();
  EXPECT_EQ(QuestionRequests(), 2) << "a used-up batch brings a new one";
  EXPECT_EQ(center.NextIndex(), 1);

  // The Hebrew range asks with the Hebrew code.
  center.SetRange(1, 2, false, false);
  EXPECT_EQ(server_->LogOf("Game.GetQuestions").back().arguments->GetInteger(0), 10);
  ASSERT_EQ(center.Queue().size(), 2u);
  for (const TTestQuestion& q : center.Queue()) EXPECT_TRUE(q.WordId == 10002 || q.WordId == 10003);
}

TEST_P(WordsCenterTest, AnEmptyOrUnusableBatchFails) {
  TWordsCenter& center = MakeCenter();
  // A word the server asks about that the databases here do not hold.
  server_->WithState([](dev::TDevProtocol& p) { p.Words().Add(20, {29999, 25, -1, -1}); });
  struct Case {
    const char* what;
    int first, last;
    bool fault;
  };
  const Case cases[] = {
      {"no words in the range", 8, 24, false},
      {"only an unknown word", 25, 25, false},
      {"the request fails", 0, 25, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server_->ClearFaults();
    if (c.fault) Fault("Game.GetQuestions", TFaultKind::Http500);
    EXPECT_EQ(test::MessageOf([&] { center.SetRange(c.first, c.last, false, true); }),
              "Failed to get questions from server");
    EXPECT_TRUE(center.Queue().empty());
  }
  // The unknown word as an answer leaves its questions out, the others stay.
  server_->ClearFaults();
  center.SetRange(0, 25, false, true);
  EXPECT_LE(center.Queue().size(), 8u);
  EXPECT_FALSE(center.Queue().empty());
  for (const TTestQuestion& q : center.Queue()) EXPECT_TRUE(Known(q));
}

TEST_P(WordsCenterTest, FindsWordsInEitherList) {
  TWordsCenter& center = MakeCenter();
  const struct {
    qint32 id;
    const char* text;
  } cases[] = {{10001, "אבא"}, {10004, "דג"}, {20003, "cat"}, {20008, "hat"}, {20009, nullptr}, {0, nullptr}, {-1, nullptr}};
  for (const auto& c : cases) {
    const TWord* word = center.FindWord(c.id);
    if (!c.text) {
      EXPECT_EQ(word, nullptr) << c.id;
    } else {
      ASSERT_NE(word, nullptr) << c.id;
      EXPECT_EQ(word->Text, QString(c.text));
    }
  }
  EXPECT_EQ(test::MessageOf([&] { TWordsCenter(dir_.filePath("none.dat"), EnglishPath()); }),
            "Failed to load file " + dir_.filePath("none.dat"));
}

TEST_P(WordsCenterTest, AnswerRowsCarryTheGameKind) {
  TWordsCenter& center = MakeCenter();
  center.SetRange(0, 25, false, true);
  TTestQuestion q{20005, 20002, 20007, 20003, 20002, 2, 0, 1, 0};
  center.RecordAnswer(20002, kAnswerRight, 2, q);
  center.RecordAnswer(20002, kAnswerWrong, 4, q);
  const TDataPacket& data = center.Answers().Data();  // columns: codes, ids, kinds, rows
  ASSERT_EQ(center.Answers().Count(), 2);
  const TDataPacket& row = *data.GetPacket(3)->GetPacket(1);
  ASSERT_EQ(row.IntegerCount(), 17);
  const qint32 expected[17] = {20002, 4, 20005, 20002, 20007, 20003, -1, -1, -1, -1, 203, 1, -1, -1, -1, -1, -1};
  for (int i = 0; i < 17; ++i) EXPECT_EQ(row.GetInteger(i), expected[i]) << "slot " << i;
  EXPECT_EQ(data.GetPacket(0)->GetInteger(1), 20) << "language code";
  EXPECT_EQ(data.GetPacket(1)->GetInteger(1), 20002) << "word id";
  EXPECT_EQ(data.GetPacket(2)->GetInteger(0), kAnswerRight);
  EXPECT_EQ(data.GetPacket(2)->GetInteger(1), kAnswerWrong);

  center.SetRange(0, 3, false, false);
  center.RecordAnswer(10001, kAnswerRight, 1, q);
  EXPECT_EQ(center.Answers().Data().GetPacket(0)->GetInteger(0), 10) << "Hebrew";
}

// Answers go up only in an authenticated game with updates wanted; otherwise each flush drops them.
TEST_P(WordsCenterTest, FlushUploadsOrDrops) {
  const struct {
    bool authenticated, update, uploads;
  } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}, {false, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "authenticated " << c.authenticated << ", update " << c.update);
    client_->SessionId = -1;
    if (c.authenticated) LogOn();
    client_->Authenticated = c.authenticated;
    TWordsCenter& center = MakeCenter();
    center.SetRange(0, 25, c.update, true);
    Answer(3);
    runner_.runs.clear();
    server_->ClearLog();
    center.Flush();
    EXPECT_EQ(center.Answers().Count(), 0);
    EXPECT_EQ(server_->LogOf("UpdateWords").size(), c.uploads ? 1u : 0u);
    ASSERT_EQ(runner_.runs.size(), c.uploads ? 1u : 0u);
    if (c.uploads) {
      EXPECT_EQ(runner_.runs[0].steps, 4);
      EXPECT_EQ(runner_.runs[0].caption, "WordCenter.UpdatingServer");
      EXPECT_EQ(server_->LogOf("UpdateWords")[0].arguments->PacketCount(), 3);
    }
    center.Flush();
    EXPECT_EQ(runner_.runs.size(), c.uploads ? 1u : 0u) << "nothing held: no job";
  }
}

TEST_P(WordsCenterTest, AUsedUpBatchUploadsBeforeTheNextOne) {
  LogOn();
  TWordsCenter& center = MakeCenter();
  center.SetRange(0, 25, true, true);
  Answer(8);
  EXPECT_TRUE(server_->LogOf("UpdateWords").empty());
  server_->ClearLog();
  center.NextQuestion();
  const auto methods = Methods();
  ASSERT_EQ(methods.size(), 2u);
  EXPECT_EQ(methods[0], "UpdateWords");
  EXPECT_EQ(methods[1], "Game.GetQuestions");
  EXPECT_TRUE(server_->LogOf("Game.GetQuestions")[0].session) << "authenticated: the session envelope";
  EXPECT_EQ(center.Answers().Count(), 0);
}

TEST_P(WordsCenterTest, UploadLogsOnAgainAfterNotLogged) {
  LogOn();
  TWordsCenter& center = MakeCenter();
  center.SetRange(0, 25, true, true);
  Answer(2);
  // The call's own three re-logons meet "Not Logged" again; the main window's log-on follows.
  Fault("UpdateWords", TFaultKind::NotLogged, 3);
  center.Flush();
  EXPECT_EQ(logOns_, 1);
  EXPECT_EQ(center.Answers().Count(), 0);
  EXPECT_EQ(runner_.runs.back().stepped, 2);

  // A server that never takes them: two re-logons, then the answers stay for the next flush.
  Answer(2);
  logOns_ = 0;
  Fault("UpdateWords", TFaultKind::Http500);
  server_->ClearLog();
  center.Flush();
  EXPECT_EQ(logOns_, 2);
  EXPECT_EQ(center.Answers().Count(), 2);
  EXPECT_EQ(server_->LogOf("UpdateWords").size(), 3u) << "a first try and one after each re-logon";
  server_->ClearFaults();
  center.Flush();
  EXPECT_EQ(center.Answers().Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Channels, WordsCenterTest, ::testing::Bool(), test::ChannelName);

}  // namespace
}  // namespace zabko
