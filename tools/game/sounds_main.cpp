// zabko_game_sounds: synthesises the demo game sounds and music and writes them where the game
// finds them: the effects into "Game/Sounds.dat" (the game's program folder), the tracks into
// "Game Music" (the data folder's, which the stand-in server hands out for download).
//
//   zabko_game_sounds SOUNDS-DAT MUSIC-FOLDER CACHE-FOLDER
//
// Without lame nothing is made, with a message. Encoded sounds are cached by content.
#include "tools/game/game_sounds.h"
#include "tools/res_db_writer.h"
#include "tools/sound_tools.h"

#include "platform/exception.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() != 3) {
    std::fputs("usage: zabko_game_sounds SOUNDS-DAT MUSIC-FOLDER CACHE-FOLDER\n", stderr);
    return 2;
  }
  if (!zabko::ToolPresent("lame")) {
    std::fputs("zabko_game_sounds: lame not found, the demo game sounds are not made (scripts/deps installs it)\n",
               stderr);
    return 0;
  }
  try {
    zabko::TResDBWriter writer;
    for (const zabko::game_art::TSynthSound& sound : zabko::game_art::GameEffects()) {
      writer.AddFile(sound.name, zabko::game_art::EncodeCached(sound, args[2]));
    }
    QDir().mkpath(QFileInfo(args[0]).absolutePath());
    writer.SaveToFile(args[0]);
    QDir().mkpath(args[1]);
    for (const zabko::game_art::TSynthSound& tune : zabko::game_art::GameTunes()) {
      const QString cached = zabko::game_art::EncodeCached(tune, args[2]);
      const QString target = QDir(args[1]).filePath(tune.name);
      const QString part = target + ".part";
      QFile::remove(part);
      if (!QFile::copy(cached, part)) throw zabko::Exception("Cannot write " + target);
      zabko::PublishFile(part, target);
    }
  } catch (const zabko::Exception& e) {
    std::fprintf(stderr, "zabko_game_sounds: %s\n", e.what());
    return 1;
  }
  return 0;
}
