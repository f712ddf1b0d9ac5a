// Whole rounds of the question game as the play screen runs them: the words center over tiny word
// databases, the game client and the stand-in server, on a manual clock.
#include "game/play/question2_game.h"
#include "game/play/words_center.h"

#include "tests/common/test_util.h"
#include "tests/game/game_server_fixture.h"
#include "tests/game/question_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace zabko {
namespace {

using dev::TFaultKind;

class QuestionRoundTest : public test::GameServerTest {
 protected:
  static constexpr int kWidth = 670, kHeight = 459;

  void SetUp() override {
    GameServerTest::SetUp();
    test::AddGameGraphics(res_);
  }

  // The play screen's game creation, then a new English game over all letters with updates wanted.
  void StartGame() {
    game_ = TGameManagment::MakeGame<TQuestion2Game>("", "Arial", "David", [](const QString& n) { return n; },
                                                     &res_.Manager(), kHeight, kWidth);
    game_->TickCount = clock_.Function();
    game_->Random = [this](int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng_); };
    game_->MusicFactory = [](const QString&, const QString&, int) { return std::unique_ptr<TBackgroundMusic>(); };
    game_->SoundOutput = [this](const QByteArray& name) { sounds_ << QString::fromLatin1(name); };
    game_->WordLookup = [this](qint32 id) { return center_->FindWord(id); };
    game_->SetQuestionSource([this](TTestQuestion& record) { record = center_->NextQuestion(); });
    game_->AnswerCallback = [this](qint32 id, int kind, int choice, const TTestQuestion& record) {
      center_->RecordAnswer(id, static_cast<quint8>(kind), choice, record);
    };
    game_->SetSoundOn(true);
    game_->TimeOut = 10000;
    game_->Init();

    center_->SetRange(0, 25, true, true);
    game_->RoundsLeft = -1;
    game_->Reload(6);
    game_->Hidden = false;
    game_->Lives = 5;
    game_->Reset();
    game_->SetStage(1);
    Spread();
  }

  void Spread() {
    for (int i = 0; i < game_->CharacterCount(); ++i) {
      TCharacter* c = game_->Character(i);
      c->X = 90 + 160 * i;
      c->Y = 250;
      c->Dx = c->Dy = 0;
    }
  }
  int SlotOf(bool right) const {
    for (int s = 0; s < 4; ++s)
      if ((game_->AnswerAt(s) == game_->Question.WordId) == right) {
        for (int i = 0; i < game_->CharacterCount(); ++i) {
          const TCharacter* c = game_->Character(i);
          if (c->Slot == s && !game_->IsExploding(c)) return i;
        }
      }
    return -1;
  }
  void Hit(bool right) {
    const int i = SlotOf(right);
    ASSERT_GE(i, 0);
    game_->Shoot(game_->Character(i)->X, game_->Character(i)->Y);
  }
  // The explosions of a hit end, and a right answer brings the next question.
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) game_->Tick();
    Spread();
  }

  test::TMemoryResources res_;
  test::TManualClock clock_;
  std::mt19937 rng_{7};
  QStringList sounds_;
  std::unique_ptr<TQuestion2Game> game_;
};

TEST_P(QuestionRoundTest, ARoundUpToTheLastLife) {
  LogOn();
  TWordsCenter& center = MakeCenter();
  StartGame();
  EXPECT_EQ(game_->Stage, 1);
  EXPECT_EQ(game_->Lives, 5);
  EXPECT_EQ(game_->RoundsLeft, 6);
  EXPECT_FALSE(sounds_.contains("reload.mp3")) << "the first reload is silent";
  ASSERT_NE(center.FindWord(game_->Question.WordId), nullptr);
  EXPECT_EQ(game_->QuestionText, center.FindWord(game_->Question.WordId)->PickMeaning());
  EXPECT_EQ(game_->CharacterCount(), 4);
  EXPECT_EQ(center.NextIndex(), 1);

  // A right hit in the first second, its explosion, the next question.
  const qint32 first = game_->Question.WordId;
  Hit(true);
  EXPECT_EQ(game_->Score(), 10);
  EXPECT_EQ(game_->CorrectCount, 1);
  Ticks(11);
  EXPECT_NE(game_->Question.WordId, first);
  EXPECT_EQ(game_->CharacterCount(), 4);

  // A wrong hit: a life, the word missed, the same question.
  const qint32 second = game_->Question.WordId;
  clock_.now += 3000;
  Hit(false);
  EXPECT_EQ(game_->Lives, 4);
  EXPECT_EQ(game_->Score(), 8);
  EXPECT_TRUE(game_->Missed.Contains(second));
  EXPECT_EQ(game_->Question.WordId, second);
  EXPECT_EQ(center.Answers().Count(), 2);

  // The time-out: every answer explodes, then the next question.
  clock_.now += 7000;
  Ticks(1);
  EXPECT_EQ(game_->Lives, 3);
  EXPECT_EQ(game_->Score(), 3);
  Ticks(11);
  EXPECT_NE(game_->Question.WordId, second);
  EXPECT_EQ(center.Answers().Count(), 2) << "a time-out is not an answer";

  // Shots into nothing use the magazine up; then clicks only click.
  for (int i = 0; i < 4; ++i) game_->Shoot(5, 5);
  EXPECT_EQ(game_->RoundsLeft, 0);
  EXPECT_EQ(game_->Score(), 0);
  sounds_.clear();
  Hit(true);
  EXPECT_EQ(sounds_, QStringList({"empty_magazine.mp3"}));
  EXPECT_EQ(game_->CorrectCount, 1);
  game_->Reload(6);
  EXPECT_EQ(sounds_.last(), "reload.mp3");

  // Right answers until the batch of eight is used up: the held answers go up before the next.
  server_->ClearLog();
  int held = center.Answers().Count();
  while (server_->LogOf("Game.GetQuestions").empty()) {
    if (game_->RoundsLeft == 0) game_->Reload(6);
    Hit(true);
    ++held;
    Ticks(11);
  }
  const auto methods = Methods();
  ASSERT_EQ(methods.size(), 2u);
  EXPECT_EQ(methods[0], "UpdateWords");
  EXPECT_EQ(methods[1], "Game.GetQuestions");
  EXPECT_EQ(server_->LogOf("UpdateWords")[0].arguments->PacketCount(), held);
  EXPECT_TRUE(server_->LogOf("Game.GetQuestions")[0].session);
  EXPECT_EQ(center.Answers().Count(), 0);
  EXPECT_EQ(center.NextIndex(), 1);

  // Three wrong hits take the last lives; the game's end flushes, logging on again after
  // "Not Logged" has outlasted the request's own re-logons.
  game_->Reload(6);
  for (int i = 0; i < 3; ++i) Hit(false);
  EXPECT_EQ(game_->Lives, 0);
  EXPECT_EQ(center.Answers().Count(), 3);
  server_->ClearLog();
  Fault("UpdateWords", TFaultKind::NotLogged, 3);
  center.Flush();
  EXPECT_EQ(logOns_, 1);
  EXPECT_EQ(center.Answers().Count(), 0);
  const auto uploads = server_->LogOf("UpdateWords");
  ASSERT_EQ(uploads.size(), 4u);
  EXPECT_EQ(uploads.back().arguments->PacketCount(), 3);
  server_->WithState([](dev::TDevProtocol& p) {
    EXPECT_GT(p.Store().Counter("answers"), 0);
  });
}

// A learner who plays without logging on: nothing goes up, every flush drops the answers.
TEST_P(QuestionRoundTest, WithoutLogOnNothingIsUploaded) {
  TWordsCenter& center = MakeCenter();
  StartGame();
  Hit(true);
  Ticks(11);
  Hit(false);
  EXPECT_EQ(center.Answers().Count(), 2);
  center.Flush();
  EXPECT_EQ(center.Answers().Count(), 0);
  EXPECT_TRUE(server_->LogOf("UpdateWords").empty());
  EXPECT_FALSE(server_->LogOf("Game.GetQuestions")[0].session);
}

INSTANTIATE_TEST_SUITE_P(Channels, QuestionRoundTest, ::testing::Bool(), test::ChannelName);

}  // namespace
}  // namespace zabko
