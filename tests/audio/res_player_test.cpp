#include "audio/res_player.h"
#include "core/res_manager.h"
#include "platform/exception.h"
#include "tests/audio/fake_wave_out.h"
#include "tests/common/test_util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace zabko {
namespace {

// A resource database in memory: count, directory (name length, name, size), then the blobs.
std::unique_ptr<TResManager> Database(const QList<std::pair<QByteArray, QByteArray>>& entries) {
  QByteArray bytes;
  auto int32 = [&](qint32 value) {
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
  };
  int32(static_cast<qint32>(entries.size()));
  for (const auto& [name, blob] : entries) {
    int32(static_cast<qint32>(name.size()));
    bytes.append(name);
    int32(static_cast<qint32>(blob.size()));
  }
  for (const auto& entry : entries) bytes.append(entry.second);
  auto loader = std::make_unique<TResLoader>(std::make_unique<TMemoryStream>(bytes), "test");
  return std::make_unique<TResManager>(std::move(loader), QDir::tempPath());
}

QByteArray FixtureBytes(const char* name) {
  QFile file(test::FixturePath(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ResPlayerTest : public testing::Test {
 protected:
  // Temporary files go to a folder of the test's own, so that none left behind goes unseen.
  void SetUp() override {
    previousTmp_ = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp_.path()));
    resources_ = Database({{"Words\\Apple", FixtureBytes("tone_a_16k_mono.mp3")},
                           {"Words\\Bee.mp3", FixtureBytes("tone_b_16k_mono.mp3")},
                           {"Words\\Cat", FixtureBytes("tone_44k_stereo.mp3")},
                           {"Words\\Noise", QByteArray("this is no sound")}});
  }
  void TearDown() override { qputenv("TMPDIR", previousTmp_); }
  QStringList TempFiles() const { return QDir(tmp_.path()).entryList(QDir::Files); }

  QTemporaryDir tmp_;
  QByteArray previousTmp_;
  std::unique_ptr<TResManager> resources_;
  test::FakeWaveSystem wave;
};

TEST_F(ResPlayerTest, PlaysNamedSoundsFromTemporaryCopiesThatLiveAsLongAsTheirEntry) {
  {
    TResPlayer player(resources_.get(), 2, 5);
    player.PlayFile("words\\apple");
    ASSERT_EQ(wave.written.size(), 1);
    EXPECT_EQ(wave.written[0].size(), 11 * 576 * 2);
    const QByteArray path = player.Cached("Words\\Apple")->Path();
    EXPECT_TRUE(path.endsWith(".mp3")) << "the default extension";
    wave.CompleteAll();
    player.PlayFile("WORDS\\APPLE");
    EXPECT_EQ(player.Cached("words\\apple")->Path(), path) << "a cached sound is not extracted again";
    EXPECT_EQ(wave.written.size(), 2);

    player.PlayFile("Words\\Bee.mp3");
    player.PlayFile("Words\\Cat");  // evicts the apple, first in order
    EXPECT_EQ(player.Keys(), (QList<QByteArray>{"Words\\Bee.mp3", "Words\\Cat"}));
    EXPECT_FALSE(QFile::exists(QFile::decodeName(path)));
    EXPECT_EQ(TempFiles().size(), 2);
  }
  EXPECT_TRUE(TempFiles().isEmpty());
}

TEST_F(ResPlayerTest, NoTemporaryFileStaysWhenASoundCannotBeMade) {
  const struct {
    SoundPlayType type;
    QByteArray name;
    const char* message;
  } cases[] = {
      {4, "Words\\Apple", "Invalid SoundPlayType"},
      {5, "Words\\Noise", "mpg123 failed with method mpg123_getformat"},
      {5, "Words\\Missing", "File not found in DB: Words\\Missing"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    TResPlayer player(resources_.get(), 2, c.type);
    try {
      player.PlayFile(c.name);
      ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
    EXPECT_TRUE(player.Keys().isEmpty());
    EXPECT_TRUE(TempFiles().isEmpty()) << TempFiles().join(", ").toStdString();
  }
}

}  // namespace
}  // namespace zabko
