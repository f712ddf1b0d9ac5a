#include "game/play/question2_game.h"

#include "net/answer_holder.h"
#include "tests/common/test_util.h"
#include "tests/game/question_fixture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <set>

namespace zabko {
namespace {

class QuestionGameTest : public test::QuestionGameFixture {};

TEST_F(QuestionGameTest, StagesGiveTheirSheetAndSpeeds) {
  const TQuestion2Game::TStage expected[9] = {{1, 2, 5}, {1, 3, 6}, {2, 3, 5}, {2, 4, 1}, {3, 4, 4},
                                              {3, 5, 6}, {4, 5, 0}, {4, 6, 3}, {5, 6, 2}};
  // From stage 1 up to 9, then back to 1.
  for (int stage : {2, 3, 4, 5, 6, 7, 8, 9, 1}) {
    SCOPED_TRACE(stage);
    const TQuestion2Game::TStage& e = expected[stage - 1];
    EXPECT_EQ(game_->Stages[stage - 1].MinSpeed, e.MinSpeed);
    EXPECT_EQ(game_->Stages[stage - 1].MaxSpeed, e.MaxSpeed);
    EXPECT_EQ(game_->Stages[stage - 1].Sheet, e.Sheet);
    // Draws of the top of the range give the maximum speed.
    random_.script = {};
    for (int i = 0; i < 8; ++i) random_.script.push_back(e.MaxSpeed - e.MinSpeed);
    game_->SetStage(stage);
    EXPECT_EQ(game_->Stage, stage);
    ASSERT_EQ(game_->CharacterCount(), 4);
    for (int i = 0; i < 4; ++i) {
      const TCharacter& c = *game_->Character(i);
      EXPECT_EQ(c.Sprite, game_->Sprite(e.Sheet));
      EXPECT_EQ(c.Slot, i);
      EXPECT_EQ(c.Dx, e.MaxSpeed);
      EXPECT_EQ(c.Dy, e.MaxSpeed);
      EXPECT_EQ(c.X, 90 + 160 * i) << "a new sheet keeps the place";
    }
    EXPECT_EQ(OverlayKinds(*game_), std::vector<int>{kStageOverlay});
  }
  random_.counts.clear();
  game_->SetStage(1);
  EXPECT_TRUE(random_.counts.empty()) << "the same stage changes nothing";
  const struct {
    int asked, stage;
  } clamps[] = {{12, 9}, {0, 1}, {-3, 1}, {10, 9}};
  for (const auto& c : clamps) {
    game_->SetStage(c.asked);
    EXPECT_EQ(game_->Stage, c.stage) << c.asked;
  }
}

TEST_F(QuestionGameTest, BeforeTheFirstStageAnswersAreOfStageOne) {
  auto game = TGameManagment::MakeGame<TQuestion2Game>("", "Arial", "David", [](const QString& n) { return n; },
                                                       &res_.Manager(), kHeight, kWidth);
  Prepare(*game);
  game->Init();
  EXPECT_EQ(game->Stage, 0);
  ASSERT_EQ(game->CharacterCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(game->Character(i)->Sprite, game->Sprite(5));
    EXPECT_EQ(game->Character(i)->Slot, i);
    EXPECT_TRUE(std::set<int>({dirSE, dirSW, dirNW, dirNE}).count(game->Character(i)->Direction));
  }
  game->SetStage(1);
  EXPECT_EQ(game->Stage, 1);
  EXPECT_EQ(game->OverlayCount(), 1) << "the first stage 1 is a change";
}

TEST_F(QuestionGameTest, Scoring) {
  enum Shot { Right, Wrong, Nothing };
  const struct {
    const char* what;
    int before;
    qint64 ms;
    Shot shot;
    int after;
    int lives;
  } cases[] = {
      {"right at once", 0, 0, Right, 10, 5},
      {"right within the first second", 0, 999, Right, 10, 5},
      {"right after one second", 0, 1000, Right, 9, 5},
      {"right after 9.5 s", 0, 9500, Right, 1, 5},
      {"right after 12 s, the time-out not yet ticked", 4, 12000, Right, 5, 5},
      {"wrong", 5, 2000, Wrong, 3, 4},
      {"wrong at 1", 1, 0, Wrong, 0, 4},
      {"shot at nothing", 4, 0, Nothing, 3, 5},
      {"shot at nothing at 0", 0, 0, Nothing, 0, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    game_->Reset();
    Spread();
    game_->Reload(6);
    game_->Lives = 5;
    game_->SetScore(c.before);
    clock_.now += c.ms;
    switch (c.shot) {
      case Right: ShootRight(); break;
      case Wrong: ShootWrong(); break;
      case Nothing: game_->Shoot(5, 5); break;
    }
    EXPECT_EQ(game_->Score(), c.after);
    EXPECT_EQ(game_->Lives, c.lives);
    EXPECT_EQ(game_->CorrectCount, c.shot == Right ? 1 : 0);
  }
}

TEST_F(QuestionGameTest, TheTimeOutFiresOnceAndBringsTheNextQuestion) {
  game_->SetScore(8);
  const qint32 first = game_->Question.WordId;
  clock_.now += 10000;
  game_->Tick();
  EXPECT_EQ(game_->Score(), 3);
  EXPECT_EQ(game_->Lives, 4);
  EXPECT_TRUE(game_->TimedOut);
  EXPECT_EQ(Living(), 0) << "every answer explodes";
  EXPECT_TRUE(answers_.empty()) << "a time-out is not an answer";
  Ticks(10);
  EXPECT_EQ(game_->Score(), 3) << "once per question";
  EXPECT_EQ(game_->Lives, 4);
  EXPECT_EQ(game_->Question.WordId, first);
  game_->Tick();  // the explosions, made in the first tick, end after eleven moves
  EXPECT_NE(game_->Question.WordId, first);
  EXPECT_FALSE(game_->TimedOut);
  ASSERT_EQ(game_->CharacterCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(game_->Character(i)->Slot, i);
    EXPECT_EQ(game_->Character(i)->Sprite, game_->Sprite(5));
  }
  EXPECT_EQ(game_->ElapsedMs(), 0);
  EXPECT_FALSE(sounds_.contains("shoot_good.mp3"));
}

// A right answer at 9.7 s: the next question waits for its explosion, and the time-out that the
// clock reaches meanwhile costs nothing.
TEST_F(QuestionGameTest, ARightAnswerIsNotTimedOutWhileItExplodes) {
  clock_.now += 9700;
  const qint32 first = game_->Question.WordId;
  const int slot = RightSlot();
  random_.script = {4};  // the fifth of the good comments
  ShootRight();
  EXPECT_EQ(game_->Score(), 1);
  EXPECT_TRUE(game_->Answered);
  EXPECT_EQ(random_.counts.back(), 11) << "a good comment";
  EXPECT_EQ(OverlayKinds(*game_), (std::vector<int>{kStageOverlay})) << "refused while the stage picture shows";
  ASSERT_EQ(answers_.size(), 1u);
  EXPECT_EQ(answers_[0].wordId, first);
  EXPECT_EQ(answers_[0].kind, 2);
  EXPECT_EQ(answers_[0].choice, slot + 1);
  clock_.now += 600;
  Ticks(10);
  EXPECT_EQ(game_->Score(), 1);
  EXPECT_EQ(game_->Lives, 5);
  EXPECT_EQ(Living(), 3);
  EXPECT_EQ(game_->Question.WordId, first);
  game_->Tick();
  EXPECT_EQ(sounds_, QStringList({"shoot_good.mp3"}));
  EXPECT_NE(game_->Question.WordId, first);
  ASSERT_EQ(game_->CharacterCount(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(game_->Character(i)->Slot, i);
  int kept = 0;
  for (int i = 0; i < 3; ++i) kept += game_->Character(i)->Y == 250;
  EXPECT_EQ(kept, 3) << "the three others stay where they were";
}

TEST_F(QuestionGameTest, AWrongHitKeepsTheQuestion) {
  game_->Lives = 3;
  const qint32 asked = game_->Question.WordId;
  const int wrong = (RightSlot() + 1) % 4;
  random_.script = {2, 3};  // the third wrong sound, the fourth bad comment
  random_.counts.clear();
  ShootWrong();
  EXPECT_EQ(game_->Lives, 2);
  EXPECT_EQ(sounds_, QStringList({"shoot_boing.mp3"}));
  EXPECT_EQ(random_.counts, (std::vector<int>{4, 12}));
  EXPECT_EQ(game_->Question.WordId, asked);
  EXPECT_EQ(Living(), 3);
  ASSERT_EQ(answers_.size(), 1u);
  EXPECT_EQ(answers_[0].kind, 0);
  EXPECT_EQ(answers_[0].choice, wrong + 1);
  ShootSlot((RightSlot() + 2) % 4);
  EXPECT_EQ(game_->Missed.Count(), 1) << "a word is missed once";
  EXPECT_EQ(game_->Missed.Get(0), asked);
  Ticks(11);
  EXPECT_EQ(game_->Question.WordId, asked) << "explosions of wrong answers bring no question";
  EXPECT_EQ(game_->CharacterCount(), 2);
  ShootRight();
  Ticks(11);
  EXPECT_NE(game_->Question.WordId, asked);
  EXPECT_EQ(game_->CharacterCount(), 4);
  EXPECT_EQ(game_->Missed.Count(), 1);
}

// The play screen raises the stage inside the answer callback of the right hit, before that
// character explodes. When a wrong answer has exploded and gone before, the characters' indexes
// no longer match their answers: the stage change must keep every answer where it is, so the
// question keeps one right answer while the hit one explodes.
TEST_F(QuestionGameTest, AStageUpAfterAWrongAnswerHasGoneKeepsEveryAnswerWithItsCharacter) {
  game_->AnswerCallback = [this](qint32 id, int kind, int choice, const TTestQuestion& record) {
    answers_.push_back({id, kind, choice, record.WordId});
    if (kind == kAnswerRight) game_->SetStage(game_->Stage + 1);
  };
  for (int wrong = 0; wrong < 4; ++wrong) {
    for (int right = 0; right < 4; ++right) {
      if (wrong == right) continue;
      SCOPED_TRACE(testing::Message() << "wrong answer " << wrong << ", right answer " << right);
      game_->Reset();
      game_->SetStage(1);
      game_->Lives = 5;
      game_->Reload(6);
      Spread();
      game_->Question.WordId = game_->AnswerAt(right);
      answers_.clear();

      ShootSlot(wrong);
      Ticks(11);
      ASSERT_EQ(game_->CharacterCount(), 3) << "the wrong answer has exploded and gone";
      std::map<int, QPoint> places;  // the living characters' places, by answer
      for (int i = 0; i < 3; ++i) places[game_->Character(i)->Slot] = {game_->Character(i)->X, game_->Character(i)->Y};

      ShootSlot(right);
      EXPECT_EQ(game_->Stage, 2);
      EXPECT_EQ(game_->CorrectCount, 1);
      std::multiset<int> living, expected;
      std::vector<QPoint> targets;
      for (int i = 0; i < game_->CharacterCount(); ++i) {
        const TCharacter* c = game_->Character(i);
        if (game_->IsExploding(c)) continue;
        living.insert(c->Slot);
        targets.push_back({c->X, c->Y});
        EXPECT_EQ(c->Sprite, game_->Sprite(game_->Stages[1].Sheet)) << "stage 2's sheet";
        EXPECT_EQ(QPoint(c->X, c->Y), places[c->Slot]) << "answer " << c->Slot << " stays where it was";
      }
      for (int s = 0; s < 4; ++s)
        if (s != wrong && s != right) expected.insert(s);
      EXPECT_EQ(living, expected) << "the two answers left, each once";

      // During the explosion every character left is a wrong answer: a life and a row each.
      const int lives = game_->Lives;
      for (const QPoint& at : targets) game_->Shoot(at.x(), at.y());
      EXPECT_EQ(game_->CorrectCount, 1);
      EXPECT_EQ(game_->Lives, lives - 2);
      int rights = 0, wrongs = 0;
      for (const TAnswer& a : answers_)
        (a.kind == kAnswerRight ? rights : wrongs) += a.wordId == game_->Question.WordId;
      EXPECT_EQ(rights, 1) << "one right answer row for the question";
      EXPECT_EQ(wrongs, 3);
    }
  }
}

TEST_F(QuestionGameTest, ResetStartsAGameAfresh) {
  ShootRight();
  ShootWrong();
  game_->Shoot(5, 5);
  clock_.now += 3000;
  const int fetched = fetches_;
  game_->Reset();
  EXPECT_EQ(game_->Score(), 0);
  EXPECT_EQ(game_->CorrectCount, 0);
  EXPECT_EQ(game_->MissCount, 0);
  EXPECT_EQ(game_->Missed.Count(), 0);
  EXPECT_EQ(game_->ElapsedMs(), 0);
  EXPECT_EQ(fetches_, fetched + 1);
  EXPECT_FALSE(game_->Answered);
  EXPECT_EQ(game_->QuestionText, "meaning" + QString::number(game_->Question.WordId));
  EXPECT_TRUE(game_->Dying.empty());
}

// A batch that cannot be fetched mid-game reaches the caller of Tick, and the game stays as it was.
TEST_F(QuestionGameTest, AFailedFetchReachesTheLoop) {
  ShootRight();
  const TTestQuestion before = game_->Question;
  failFetch_ = true;
  Ticks(10);
  EXPECT_EQ(test::MessageOf([&] { game_->Tick(); }), "Failed to get questions from server");
  EXPECT_EQ(game_->Question.WordId, before.WordId);
  EXPECT_EQ(game_->Question.Answer1, before.Answer1);
  EXPECT_TRUE(game_->Answered);
  EXPECT_TRUE(game_->Dying.empty());
  EXPECT_EQ(game_->CharacterCount(), 3) << "no answers of a question that never came";
}

TEST_F(QuestionGameTest, LabelsFitAndHide) {
  QFont font;
  const QRect word = game_->LabelBox("word101", 0, TFontStyle::Bold, 13, "Arial", 2, 10, 300, 200, font);
  EXPECT_EQ(word.width(), QFontMetrics(font).horizontalAdvance("word101") + 20);
  EXPECT_EQ(word.height(), QFontMetrics(font).height() + 4);
  EXPECT_EQ(word.center().x(), 200);
  EXPECT_EQ(word.center().y(), 300);

  const QString longText = QString("a long meaning of the word ").repeated(3);
  const QRect fitted = game_->LabelBox(longText, 500, TFontStyle::Bold, 20, "David", 5, 25, 30, 335, font);
  EXPECT_LT(font.pixelSize(), 27) << "smaller than size 20";
  EXPECT_LE(fitted.width(), 550);
  const QRect clipped = game_->LabelBox(longText.repeated(8), 500, TFontStyle::Bold, 20, "David", 5, 25, 30, 335, font);
  EXPECT_EQ(clipped.width(), 550) << "the maximum width and the padding";
  EXPECT_EQ(font.pixelSize(), 8) << "six points";

  const struct {
    const char* text;
    const char* hidden;
  } cases[] = {{"word101", "*******"}, {"שלום עולם", "*********"}, {"", ""}};
  for (const auto& c : cases) {
    game_->Hidden = false;
    EXPECT_EQ(game_->ShownText(QString::fromUtf8(c.text)), QString::fromUtf8(c.text));
    game_->Hidden = true;
    EXPECT_EQ(game_->ShownText(QString::fromUtf8(c.text)), QString(c.hidden));
  }
}

// Every living answer with a word gets a label under it; an answer whose word is unknown gets none.
TEST_F(QuestionGameTest, AnswersAreLabelledUnderTheirCharacters) {
  game_->Question.Answer4 = 999;  // not a word of the databases
  QImage canvas(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::darkGreen);
  const QImage empty = canvas;
  {
    QPainter p(&canvas);
    game_->DrawAnswers(p);
  }
  for (int i = 0; i < 4; ++i) {
    const TCharacter& c = *game_->Character(i);
    const int y = c.Y + c.Height() / 4 + 20;
    const bool labelled = canvas.pixel(c.X, y) != empty.pixel(c.X, y) || canvas.pixel(c.X - 20, y) != empty.pixel(c.X - 20, y);
    EXPECT_EQ(labelled, c.Slot != 3) << "answer " << c.Slot;
  }
}

}  // namespace
}  // namespace zabko
