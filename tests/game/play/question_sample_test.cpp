// A picture of the question game for a person to look at: a Hebrew question over four labelled
// characters with a comment, and below it the same scene paused (labels as asterisks). Saved as
// question_sample.png in the build folder. The characters come from the demo Graphics.dat when
// the build has made it, else from simple drawn frames.
#include "game/play/question2_game.h"

#include "core/res_manager.h"
#include "tests/game/question_fixture.h"

#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

namespace zabko {
namespace {

// A frame of a sheet: a round body with an eye, its colour by sheet, on the key colour.
QImage DrawnFrame(int width, int height, QColor body, TColor key, int frame) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(WinColor(key));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(body);
  const int bob = frame % 2 * 3;
  p.drawEllipse(QRect(width / 6, height / 5 + bob, width * 2 / 3, height * 3 / 5));
  p.setBrush(Qt::white);
  p.drawEllipse(QRect(width / 2, height / 3 + bob, width / 8, width / 8));
  p.setBrush(Qt::black);
  p.drawEllipse(QRect(width / 2 + width / 32, height / 3 + width / 32 + bob, width / 16, width / 16));
  return image;
}

void AddDrawnGraphics(test::TMemoryResources& res) {
  const struct {
    const char* prefix;
    quint8 kind;
    int frames, width, height;
    TColor key;
  } sheets[] = {
      {"Sprites\\bating", skDirected, 12, 128, 128, 0x29425E}, {"Sprites\\cowking", skDirected, 8, 96, 96, 0x334F6F},
      {"Sprites\\ball fish", skDirected, 8, 64, 80, 0x2B4461}, {"Sprites\\mousing", skDirected, 8, 96, 96, 0x29425E},
      {"Sprites\\croing", skDirected, 16, 64, 64, 0x2E8031},   {"Sprites\\trexing", skDirected, 8, 128, 128, 0x2B4461},
      {"Sprites\\brding", skDirected, 12, 128, 128, 0x808080}, {"Sprites\\blowup ", skOneSet, 4, 61, 63, 0x000000},
  };
  const QColor bodies[] = {Qt::darkMagenta, Qt::darkYellow, Qt::cyan, Qt::gray, Qt::darkGreen, QColor(60, 140, 60),
                           Qt::blue, QColor(255, 140, 0)};
  int s = 0;
  for (const auto& sheet : sheets) {
    const bool full = s == 5;  // stage 1's sheet is seen; the others only need to exist
    const int sets = sheet.kind == skDirected ? kDirectionCount : 1;
    for (int d = 0; d < sets; ++d)
      for (int f = 0; f < sheet.frames; ++f)
        res.writer.AddImage(TSprite::FrameName(sheet.prefix, sheet.kind, d, f),
                            full ? DrawnFrame(sheet.width, sheet.height, bodies[s], sheet.key, f)
                                 : DrawnFrame(8, 8, bodies[s], sheet.key, f),
                            BitmapKind::RleBmp);
    ++s;
  }
  for (int n = 1; n <= 23; ++n) {
    QImage comment(220, 60, QImage::Format_RGB32);
    comment.fill(Qt::magenta);
    QPainter p(&comment);
    QFont font("David CLM");
    font.setPixelSize(40);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(200, 30, 30));
    p.drawText(comment.rect(), Qt::AlignCenter, QString::fromUtf8("כל הכבוד!"));
    res.writer.AddImage(QStringLiteral("Texts\\comment%1.bmp").arg(n), comment, BitmapKind::RleBmp);
  }
  for (int n = 1; n <= 9; ++n)
    res.writer.AddImage(QStringLiteral("Texts\\Stage%1.bmp").arg(n), test::TaggedFrame(20, 10, n, 0), BitmapKind::RleBmp);
}

class QuestionSampleTest : public test::ShootGameFixture {
 protected:
  void SetUp() override {}
};

TEST_F(QuestionSampleTest, SavesAPictureOfAQuestion) {
  const QString demo = QStringLiteral(ZABKO_BUILD_DIR "/data/Game/Graphics.dat");
  std::unique_ptr<TResManager> demoManager;
  TResManager* graphics = nullptr;
  if (QFile::exists(demo)) {
    demoManager = std::make_unique<TResManager>(QStringList{demo});
    graphics = demoManager.get();
  } else {
    AddDrawnGraphics(res_);
    graphics = &res_.Manager();
  }
  // An English game: the question is a Hebrew meaning, the answers English words.
  std::map<qint32, std::unique_ptr<TWord>> words;
  const std::pair<const char*, const char*> pairs[] = {
      {"apple", "תפוח עץ"}, {"bread", "לחם"}, {"candle", "נר"}, {"drum", "תוף"}};
  qint32 id = 20001;
  for (const auto& [text, meaning] : pairs) {
    auto w = std::make_unique<TWord>();
    w->Id = id;
    w->Text = w->Headword = text;
    w->SetMeanings(QString::fromUtf8(meaning));
    words[id++] = std::move(w);
  }
  auto game = TGameManagment::MakeGame<TQuestion2Game>("", "Arial", "David", [](const QString& n) { return n; },
                                                       graphics, kHeight, kWidth);
  Prepare(*game);
  game->WordLookup = [&](qint32 wordId) -> TWord* {
    const auto it = words.find(wordId);
    return it == words.end() ? nullptr : it->second.get();
  };
  game->SetQuestionSource([](TTestQuestion& q) { q = {20002, 20001, 20004, 20003, 20001, 1, 0, 0, 0}; });
  game->Init();
  game->Lives = 5;
  game->Reload(6);
  game->Reset();
  game->SetStage(1);
  const int places[4][2] = {{120, 150}, {520, 140}, {230, 330}, {450, 320}};
  for (int i = 0; i < 4; ++i) {
    game->Character(i)->X = places[i][0];
    game->Character(i)->Y = places[i][1];
  }
  EXPECT_EQ(game->QuestionText, QString::fromUtf8("תפוח עץ"));

  QImage sample(kWidth, 2 * kHeight + 10, QImage::Format_ARGB32_Premultiplied);
  sample.fill(Qt::black);
  const auto scene = [&](bool hidden) {
    QImage area(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&area);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(120, 180, 240));
    sky.setColorAt(0.7, QColor(190, 225, 250));
    sky.setColorAt(1, QColor(110, 170, 80));
    p.fillRect(area.rect(), sky);
    game->Hidden = hidden;
    game->Draw(p);
    return area;
  };
  // The stage picture has had its second; a comment then shows.
  clock_.now += 1500;
  scene(false);
  game->ShowComment(false);
  ASSERT_EQ(game->OverlayCount(), 1);
  QPainter out(&sample);
  out.drawImage(0, 0, scene(false));
  out.drawImage(0, kHeight + 10, scene(true));
  out.end();
  const QString path = QStringLiteral(ZABKO_BUILD_DIR "/question_sample.png");
  ASSERT_TRUE(sample.save(path)) << path.toStdString();
}

}  // namespace
}  // namespace zabko
