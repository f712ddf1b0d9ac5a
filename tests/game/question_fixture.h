// The shooting and question games on a manual clock and a scripted random source: every sheet of
// the shooting game as tiny pictures in a memory resource database (with the stage and comment
// pictures), words and questions the test makes up, and recorders for sounds and answers.
#pragma once

#include "core/word.h"
#include "game/play/question2_game.h"
#include "game/play/shoot_game.h"
#include "platform/exception.h"
#include "tests/game/game_fixture.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <vector>

namespace zabko::test {

// Draws from the script (0 once it is used up) and records the range of every draw.
struct TScriptedRandom {
  std::deque<int> script;
  std::vector<int> counts;
  TRandomIndex Function() {
    return [this](int count) {
      counts.push_back(count);
      if (script.empty()) return 0;
      const int value = script.front();
      script.pop_front();
      return value;
    };
  }
};

// The sheets of the shooting game: prefix, kind, frames per set.
struct TSheetName {
  const char* prefix;
  quint8 kind;
  int frames;
};
inline constexpr TSheetName kShootSheets[] = {
    {"Sprites\\bating", skDirected, 12},  {"Sprites\\cowking", skDirected, 8}, {"Sprites\\ball fish", skDirected, 8},
    {"Sprites\\mousing", skDirected, 8},  {"Sprites\\croing", skDirected, 16}, {"Sprites\\trexing", skDirected, 8},
    {"Sprites\\brding", skDirected, 12},  {"Sprites\\blowup ", skOneSet, 4},
};

// Every frame of every sheet as a 4 x 4 picture, the stage and comment pictures as 20 x 10 ones.
inline void AddGameGraphics(TMemoryResources& res) {
  int tag = 0;
  for (const TSheetName& sheet : kShootSheets) {
    const int sets = sheet.kind == skDirected ? kDirectionCount : 1;
    for (int d = 0; d < sets; ++d)
      for (int f = 0; f < sheet.frames; ++f)
        res.writer.AddImage(TSprite::FrameName(sheet.prefix, sheet.kind, d, f), TaggedFrame(4, 4, tag, 0),
                            BitmapKind::RleBmp);
    ++tag;
  }
  for (int n = 1; n <= 9; ++n)
    res.writer.AddImage(QStringLiteral("Texts\\Stage%1.bmp").arg(n), TaggedFrame(20, 10, n, 0), BitmapKind::RleBmp);
  for (int n = 1; n <= 23; ++n)
    res.writer.AddImage(QStringLiteral("Texts\\comment%1.bmp").arg(n), TaggedFrame(20, 10, n, 0), BitmapKind::RleBmp);
}

class ShootGameFixture : public ::testing::Test {
 protected:
  static constexpr int kWidth = 670, kHeight = 459;

  void SetUp() override { AddGameGraphics(res_); }

  template <class TGame>
  void Prepare(TGame& game) {
    game.TickCount = clock_.Function();
    game.Random = random_.Function();
    game.MusicFactory = [](const QString&, const QString&, int) { return std::unique_ptr<TBackgroundMusic>(); };
    game.SoundOutput = [this](const QByteArray& name) { sounds_ << QString::fromLatin1(name); };
    game.SetSoundOn(true);
    game.TimeOut = 10000;
    game.SetElapsed(0);
  }

  // The pictures of the overlays the game shows now, by kind.
  template <class TGame>
  static std::vector<int> OverlayKinds(const TGame& game) {
    std::vector<int> kinds;
    for (int i = 0; i < game.OverlayCount(); ++i)
      kinds.push_back(static_cast<const TShowBitmap*>(game.Overlay(i))->Kind());
    return kinds;
  }

  TMemoryResources res_;
  TManualClock clock_;
  TScriptedRandom random_;
  QStringList sounds_;
};

// The question game as the play screen starts one: words 101-112, questions of four of them.
class QuestionGameFixture : public ShootGameFixture {
 protected:
  void SetUp() override {
    ShootGameFixture::SetUp();
    for (qint32 id = 101; id <= 112; ++id) {
      auto word = std::make_unique<TWord>();
      word->Id = id;
      word->Text = word->Headword = QStringLiteral("word%1").arg(id);
      word->SetMeanings(QStringLiteral("meaning%1").arg(id));
      words_[id] = std::move(word);
    }
    game_ = TGameManagment::MakeGame<TQuestion2Game>("", "Arial", "David", [](const QString& n) { return n; },
                                                     &res_.Manager(), kHeight, kWidth);
    Prepare(*game_);
    game_->WordLookup = [this](qint32 id) -> TWord* {
      const auto it = words_.find(id);
      return it == words_.end() ? nullptr : it->second.get();
    };
    game_->SetQuestionSource([this](TTestQuestion& record) {
      ++fetches_;
      if (failFetch_) throw Exception("Failed to get questions from server");
      record = NextRecord();
    });
    game_->AnswerCallback = [this](qint32 id, int kind, int choice, const TTestQuestion& record) {
      answers_.push_back({id, kind, choice, record.WordId});
    };
    game_->Init();
    // A new game: the first reload is silent, five lives, the first question, stage 1.
    game_->RoundsLeft = -1;
    game_->Reload(6);
    game_->Hidden = false;
    game_->Lives = 5;
    game_->Reset();
    game_->SetStage(1);
    Spread();
    sounds_.clear();
  }

  // Question n asks word 100 + n, which is answer (n - 1) mod 4 of four consecutive words.
  TTestQuestion NextRecord() {
    const int n = ++served_;
    const qint32 base = 101 + (n - 1) % 9;
    TTestQuestion q{base, base + 1, base + 2, base + 3, base + (n - 1) % 4, 1, 0, 0, 0};
    return q;
  }

  // The answer characters side by side and still, so that a shot hits the one it aims at.
  void Spread() {
    for (int i = 0; i < game_->CharacterCount(); ++i) {
      TCharacter* c = game_->Character(i);
      c->X = 90 + 160 * i;
      c->Y = 250;
      c->Dx = c->Dy = 0;
    }
  }

  // The index of the living character at an answer position, -1 when none.
  int IndexOfSlot(int slot) const {
    for (int i = 0; i < game_->CharacterCount(); ++i)
      if (game_->Character(i)->Slot == slot && !game_->IsExploding(game_->Character(i))) return i;
    return -1;
  }
  int RightSlot() const {
    for (int s = 0; s < 4; ++s)
      if (game_->AnswerAt(s) == game_->Question.WordId) return s;
    return -1;
  }
  void ShootSlot(int slot) {
    const int i = IndexOfSlot(slot);
    ASSERT_GE(i, 0) << "no character at answer " << slot;
    game_->Shoot(game_->Character(i)->X, game_->Character(i)->Y);
  }
  void ShootRight() { ShootSlot(RightSlot()); }
  void ShootWrong() { ShootSlot((RightSlot() + 1) % 4); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) game_->Tick();
  }
  int Living() const {
    int n = 0;
    for (int i = 0; i < game_->CharacterCount(); ++i) n += !game_->IsExploding(game_->Character(i));
    return n;
  }

  struct TAnswer {
    qint32 wordId;
    int kind;
    int choice;
    qint32 recordWord;
  };

  std::map<qint32, std::unique_ptr<TWord>> words_;
  std::unique_ptr<TQuestion2Game> game_;
  std::vector<TAnswer> answers_;
  int served_ = 0;
  int fetches_ = 0;
  bool failFetch_ = false;
};

}  // namespace zabko::test
