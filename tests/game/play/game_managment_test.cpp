#include "game/play/game_managment.h"

#include "tests/game/game_fixture.h"
#include "platform/exception.h"
#include "tests/common/test_util.h"

#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

namespace zabko {
namespace {

constexpr int kKey = 0x29425E;

// A music object that records what the model does with it.
struct TMusicLog {
  QStringList events;
  int failMaking = 0;  // the next makes that raise
  bool failPlaying = false;
};

class TFakeMusic : public TBackgroundMusic {
 public:
  TFakeMusic(TMusicLog& log, QString name) : log_(log), name_(std::move(name)) {}
  ~TFakeMusic() override { log_.events << "free " + name_; }
  void Play() override {
    if (log_.failPlaying) throw Exception("WaveOutOpen The specified resource does not exist.");
    log_.events << "play " + name_;
  }
  void Stop() override { log_.events << "stop " + name_; }

 private:
  TMusicLog& log_;
  QString name_;
};

// The base model with hooks that record their calls, over a sheet of 20 x 10 characters.
class TRecordingGame : public TGameManagment {
 public:
  TRecordingGame(TResManager* res, TMusicLog& music, test::TManualClock& clock)
      : TGameManagment("", [](const QString& name) { return "/data/" + name; }, res, 100, 200) {
    TickCount = clock.Function();
    MusicFactory = [&music](const QString& intro, const QString& loop, int bufferSize) -> std::unique_ptr<TBackgroundMusic> {
      if (music.failMaking > 0) {
        --music.failMaking;
        throw Exception("Failed to load file " + intro);
      }
      music.events << QStringLiteral("make %1 %2 %3").arg(intro, loop).arg(bufferSize);
      return std::make_unique<TFakeMusic>(music, intro.section(QLatin1Char('\\'), -1));
    };
  }
  void LoadSprites(TResManager* res) override {
    ++loads;
    AddSprite(std::make_unique<TSprite>("S", skOneSet, 1, kKey, 10, 20, *res, 1));
  }
  void OnTimeout() override { calls << "timeout"; }
  void OnHit(int index) override { calls << QStringLiteral("hit %1").arg(index); }
  void OnDoubleHit(int index) override { calls << QStringLiteral("double hit %1").arg(index); }
  void OnMiss(int x, int y) override { calls << QStringLiteral("miss %1,%2").arg(x).arg(y); }
  void OnDoubleMiss(int x, int y) override { calls << QStringLiteral("double miss %1,%2").arg(x).arg(y); }

  int loads = 0;
  QStringList calls;
};

class GameModelTest : public ::testing::Test {
 protected:
  GameModelTest() {
    res.writer.AddImage("S0000.bmp", test::TaggedFrame(20, 10, 1, test::RgbOf(kKey)), BitmapKind::RleBmp);
    game = TGameManagment::MakeGame<TRecordingGame>(&res.Manager(), music, clock);
  }
  // A character of the sheet at (X, Y).
  void Add(int x, int y) { game->AddCharacter(std::make_unique<TCharacter>(x, game->Sprite(0), dirE, 0, 0, y)); }

  test::TMemoryResources res;
  TMusicLog music;
  test::TManualClock clock;
  std::unique_ptr<TRecordingGame> game;
};

TEST_F(GameModelTest, SetupLoadsTheSubclassSheetsOnce) {
  EXPECT_EQ(game->loads, 1);
  EXPECT_EQ(game->SpriteCount(), 1);
  game->Setup();
  EXPECT_EQ(game->loads, 1);
  EXPECT_EQ(game->AreaWidth(), 200);
  EXPECT_EQ(game->AreaHeight(), 100);
}

TEST_F(GameModelTest, TheCharacterOnTopIsHitAndBordersCount) {
  Add(50, 50);  // rectangle (40, 45) to (60, 55)
  Add(58, 50);  // (48, 45) to (68, 55), drawn over the first
  EXPECT_EQ(game->GetCharacterRect(0), QRect(QPoint(40, 45), QPoint(60, 55)));
  struct Case {
    int x, y;
    int index;
  };
  const Case cases[] = {{45, 50, 0}, {50, 50, 1}, {40, 45, 0}, {60, 55, 1}, {68, 55, 1},
                        {69, 50, -1}, {39, 50, -1}, {50, 44, -1}, {50, 56, -1}};
  for (const Case& c : cases) EXPECT_EQ(game->HitTest(c.x, c.y), c.index) << c.x << "," << c.y;

  game->Shoot(50, 50);
  game->Shoot(5, 6);
  game->DoubleClick(45, 50);
  game->DoubleClick(7, 8);
  EXPECT_EQ(game->calls, QStringList({"hit 1", "miss 5,6", "double hit 0", "double miss 7,8"}));
}

TEST_F(GameModelTest, CharactersAreOwnedReplacedAndRemovedInPlace) {
  Add(1, 1);
  Add(2, 2);
  EXPECT_EQ(game->AddCharacter(std::make_unique<TCharacter>(3, game->Sprite(0), dirE, 0, 0, 3)), 3);
  TCharacter* second = game->Character(1);
  EXPECT_EQ(game->IndexOfCharacter(second), 1);
  game->ReplaceCharacter(1, std::make_unique<TCharacter>(9, game->Sprite(0), dirW, 0, 0, 9));
  EXPECT_EQ(game->Character(1)->X, 9);
  game->RemoveCharacter(0);
  ASSERT_EQ(game->CharacterCount(), 2);
  EXPECT_EQ(game->Character(0)->X, 9);
  EXPECT_EQ(game->Character(1)->X, 3);
  EXPECT_EQ(game->IndexOfCharacter(nullptr), -1);

  // A tick moves every character.
  game->Character(0)->Dx = 2;
  game->TimeOut = 10000;
  game->Tick();
  EXPECT_EQ(game->Character(0)->X, 7);
}

TEST_F(GameModelTest, TheScoreNeverGoesBelowZero) {
  game->SetScore(1);
  game->SetScore(game->Score() - 2);
  EXPECT_EQ(game->Score(), 0);
  game->SetScore(12);
  game->Init();
  EXPECT_EQ(game->Score(), 0);
}

TEST_F(GameModelTest, TheQuestionClockRunsOnTheTickCount) {
  int questions = 0;
  game->NextQuestion = [&](TTestQuestion& record) { record.WordId = ++questions; };
  TTestQuestion record;
  game->ResetClock(record);
  EXPECT_EQ(record.WordId, 1);
  EXPECT_EQ(game->ElapsedMs(), 0);
  clock.now += 7250;
  EXPECT_EQ(game->ElapsedMs(), 7250);
  EXPECT_EQ(game->ElapsedSeconds(), 7);
  EXPECT_EQ(game->ClockText(), "07:25");
  clock.now += 5;
  EXPECT_EQ(game->ClockText(), "07:25") << "hundredths are cut, not rounded";
  game->SetElapsed(430);
  EXPECT_EQ(game->ClockText(), "00:43");
  game->SetElapsed(123456);
  EXPECT_EQ(game->ClockText(), "123:45");

  game->TimeOut = 10000;
  game->SetElapsed(9999);
  EXPECT_EQ(game->CheckTimeout(), 9999);
  EXPECT_TRUE(game->calls.isEmpty());
  clock.now += 1;
  game->Tick();
  EXPECT_EQ(game->calls, QStringList{"timeout"});
}

// A picture of 30 x 20 on a plain background, with a mark of another colour.
QImage Picture(QRgb background) {
  QImage image(30, 20, QImage::Format_RGB32);
  image.fill(background);
  for (int y = 5; y < 15; ++y) {
    for (int x = 5; x < 25; ++x) image.setPixel(x, y, qRgb(200, 0, 0));
  }
  return image;
}

TEST_F(GameModelTest, OverlaysFollowTheirPriorityAndEndAfterTheirTime) {
  res.writer.AddImage("Texts\\comment1.bmp", Picture(qRgb(1, 2, 3)), BitmapKind::RleBmp);
  res.writer.AddImage("Texts\\Stage1.bmp", Picture(qRgb(1, 2, 3)), BitmapKind::RleBmp);
  res.writer.AddImage("texts\\game-over.bmp", Picture(qRgb(1, 2, 3)), BitmapKind::RleBmp);
  res.manager.reset();
  TResManager& m = res.Manager();
  auto comment = [&] { return std::make_unique<TShowBitmap>("Texts\\comment1.bmp", kCommentOverlay, 1000, m); };
  auto stage = [&] { return std::make_unique<TShowBitmap>("Texts\\Stage1.bmp", kStageOverlay, 1000, m); };

  EXPECT_TRUE(game->AddOverlay(comment()));
  EXPECT_TRUE(game->AddOverlay(comment())) << "a comment replaces a comment";
  EXPECT_EQ(game->OverlayCount(), 1);
  EXPECT_TRUE(game->AddOverlay(stage())) << "a stage picture replaces the comment";
  ASSERT_EQ(game->OverlayCount(), 1);
  EXPECT_EQ(static_cast<TShowBitmap*>(game->Overlay(0))->Kind(), kStageOverlay);
  EXPECT_FALSE(game->AddOverlay(comment())) << "no comment while a stage picture shows";
  EXPECT_EQ(game->OverlayCount(), 1);
  clock.now += 400;
  EXPECT_TRUE(game->AddOverlay(stage())) << "a newer stage picture replaces the older";
  EXPECT_EQ(game->Overlay(0)->StartTick, clock.now);
  EXPECT_TRUE(game->AddOverlay(std::make_unique<TShowBitmap>("texts\\game-over.bmp", kGameOverOverlay, 1, m)));
  EXPECT_EQ(game->OverlayCount(), 1);

  // Drawn while its time is not over, then freed.
  QImage canvas(200, 100, QImage::Format_RGB32);
  QPainter p(&canvas);
  clock.now += 1;
  game->DrawOverlays(p);
  EXPECT_EQ(game->OverlayCount(), 1) << "1 ms elapsed of 1 ms: still shown";
  clock.now += 1;
  game->DrawOverlays(p);
  EXPECT_EQ(game->OverlayCount(), 0);
  EXPECT_TRUE(game->AddOverlay(comment())) << "with nothing shown a comment is welcome again";
}

TEST_F(GameModelTest, APictureShowsCentredOnATranslucentBackdrop) {
  res.writer.AddImage("Texts\\comment2.bmp", Picture(qRgb(9, 9, 9)), BitmapKind::RleBmp);
  res.manager.reset();
  TShowBitmap bitmap("Texts\\comment2.bmp", kCommentOverlay, 1000, res.Manager());
  EXPECT_EQ(bitmap.BackdropSize(), QSize(110, 100));
  QImage canvas(200, 100, QImage::Format_RGB32);
  canvas.fill(qRgb(0, 0, 0));
  {
    QPainter p(&canvas);
    bitmap.Draw(p, 200, 100);
  }
  // Picture origin (85, 40); its mark covers (90, 45) to (109, 54); the box is (45, 0) to (155, 100).
  EXPECT_EQ(canvas.pixel(90, 45), qRgb(200, 0, 0));
  EXPECT_EQ(canvas.pixel(109, 54), qRgb(200, 0, 0));
  // The picture's background (its bottom-left colour) lets the backdrop through: 80/255 of
  // 0xECBB0F (red 15, green 187, blue 236) over black.
  const QRgb backdrop = canvas.pixel(86, 41);
  EXPECT_NEAR(qRed(backdrop), 15 * 80 / 255, 2);
  EXPECT_NEAR(qGreen(backdrop), 187 * 80 / 255, 2);
  EXPECT_NEAR(qBlue(backdrop), 236 * 80 / 255, 2);
  EXPECT_EQ(canvas.pixel(60, 50), backdrop) << "inside the box, off the picture";
  EXPECT_EQ(canvas.pixel(40, 50), qRgb(0, 0, 0)) << "outside the box";
  EXPECT_EQ(canvas.pixel(46, 2), qRgb(0, 0, 0)) << "the box's corners are rounded";
  EXPECT_EQ(canvas.pixel(100, 99), qRgb(255, 255, 255)) << "a white outline";
}

TEST_F(GameModelTest, MusicFollowsTheTrackAndTheSoundSwitch) {
  game->SetMusic(2);
  EXPECT_TRUE(music.events.isEmpty()) << "with sound off a track is only stored";
  EXPECT_EQ(game->StoredTrack(), 2);

  game->SetSoundOn(true);
  EXPECT_EQ(music.events, QStringList({"make /data/Game Music\\B1.mp3 /data/Game Music\\B2.mp3 1048576",
                                       "play B1.mp3"}));
  music.events.clear();
  game->SetMusic(2);
  EXPECT_TRUE(music.events.isEmpty()) << "the playing track is not restarted";
  game->SetMusic(5);
  EXPECT_EQ(music.events, QStringList({"stop B1.mp3", "free B1.mp3",
                                       "make /data/Game Music\\E.mp3 /data/Game Music\\E.mp3 1048576",
                                       "play E.mp3"}));
  music.events.clear();
  game->SetSoundOn(false);
  EXPECT_EQ(music.events, QStringList({"stop E.mp3", "free E.mp3"}));
  EXPECT_EQ(game->Music(), nullptr);
  game->SetMusic(0);
  game->SetSoundOn(false);
  EXPECT_EQ(music.events.size(), 2) << "silence while silent changes nothing";
  music.events.clear();
  game->SetSoundOn(true);
  EXPECT_EQ(music.events, QStringList({"make /data/Game Music\\E.mp3 /data/Game Music\\E.mp3 1048576",
                                       "play E.mp3"}))
      << "sound on restarts the stored track";
  music.events.clear();
  game->SetMusic(0);
  EXPECT_EQ(music.events, QStringList({"stop E.mp3", "free E.mp3"}));
  EXPECT_EQ(game->StoredTrack(), 5) << "silence keeps the stored track";

  const QString files[][2] = {{"A1", "A2"}, {"B1", "B2"}, {"C1", "C2"}, {"D1", "D2"}, {"E", "E"}, {"F", "F"}};
  for (quint8 track = 1; track <= 6; ++track) {
    QString intro, loop;
    TGameManagment::TrackFiles(track, intro, loop);
    EXPECT_EQ(intro, "Game Music\\" + files[track - 1][0] + ".mp3");
    EXPECT_EQ(loop, "Game Music\\" + files[track - 1][1] + ".mp3");
  }
}

TEST_F(GameModelTest, MusicThatCannotPlayLeavesTheGameSilentAndTheTrackStored) {
  game->SetSoundOn(true);
  music.failMaking = 1;
  EXPECT_NO_THROW(game->SetMusic(3));
  EXPECT_EQ(game->Music(), nullptr);
  EXPECT_EQ(game->StoredTrack(), 3);
  music.failPlaying = true;
  EXPECT_NO_THROW(game->SetMusic(4));
  EXPECT_EQ(game->Music(), nullptr) << "music that does not play is freed";
  EXPECT_EQ(game->StoredTrack(), 4);
  // Once the device is back, asking again plays the stored track.
  music.failPlaying = false;
  music.events.clear();
  game->SetMusic(4);
  EXPECT_EQ(music.events.last(), "play D1.mp3");
  EXPECT_NE(game->Music(), nullptr);
}

}  // namespace
}  // namespace zabko
