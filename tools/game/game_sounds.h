// The demo game sounds and music, synthesised here and encoded by lame: the effects of
// "Sounds.dat" (shots, reloads, empty magazines, answers, cheers, game over) and the tracks of
// "Game Music" (A1 ... D2 as intro and loop, E and F one file each, that plays as both). A tune's
// loop is a whole number of bars, so that it repeats without a seam.
#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace zabko::game_art {

// One sound: its resource or file name, rate, channels, and the PCM (16-bit signed, interleaved).
struct TSynthSound {
  QString name;
  int rate;
  int channels;
  QByteArray pcm;
};

// The 13 effects of "Sounds.dat", mono at 22.05 kHz.
std::vector<TSynthSound> GameEffects();
// The tracks of "Game Music": "A1.mp3" ... "D2.mp3", "E.mp3", "F.mp3", stereo at 44.1 kHz.
std::vector<TSynthSound> GameTunes();

// Encodes Sound to MP3 with lame, kept in CacheDir under a hash of what it holds, so that a
// rebuild encodes only what changed. Returns the cached file; fails with "Cannot encode " + name.
QString EncodeCached(const TSynthSound& sound, const QString& cacheDir);

}  // namespace zabko::game_art
