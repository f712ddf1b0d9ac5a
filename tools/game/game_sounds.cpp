#include "tools/game/game_sounds.h"

#include "platform/exception.h"
#include "tools/sound_tools.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>

namespace zabko::game_art {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kEffectRate = 22050;
constexpr int kMusicRate = 44100;

// Bumped whenever the way sounds are encoded changes, so that cached files are made again.
constexpr const char* kRecipe = "lame --noreplaygain | v1";

// A repeatable noise source.
struct TNoise {
  uint32_t state = 0x12345678;
  double Next() {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / double(1 << 24) * 2 - 1;
  }
};

// Mono samples from -1 to 1, Seconds long.
using TMono = std::vector<double>;

TMono Render(double seconds, const std::function<double(double t)>& f, int rate = kEffectRate) {
  TMono out(size_t(seconds * rate));
  for (size_t i = 0; i < out.size(); ++i) out[i] = f(double(i) / rate);
  return out;
}

QByteArray ToPcm(const TMono& left, const TMono* right = nullptr) {
  QByteArray pcm;
  pcm.reserve(int(left.size() * (right ? 4 : 2)));
  auto put = [&](double v) {
    const auto s = static_cast<int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 30000));
    pcm.append(static_cast<char>(s & 0xFF)).append(static_cast<char>((s >> 8) & 0xFF));
  };
  for (size_t i = 0; i < left.size(); ++i) {
    put(left[i]);
    if (right) put((*right)[i]);
  }
  return pcm;
}

double Env(double t, double attack, double decay) {
  if (t < 0) return 0;
  return (t < attack ? t / attack : 1.0) * std::exp(-(t - std::min(t, attack)) / decay);
}

// A tone whose frequency follows Freq(t), phase accumulated so that glides stay smooth.
TMono Glide(double seconds, const std::function<double(double)>& freq, const std::function<double(double)>& amp,
            double harmonics = 0) {
  TMono out(size_t(seconds * kEffectRate));
  double phase = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    const double t = double(i) / kEffectRate;
    phase += 2 * kPi * freq(t) / kEffectRate;
    out[i] = amp(t) * (std::sin(phase) + harmonics * std::sin(2 * phase) / 2 + harmonics * std::sin(3 * phase) / 3);
  }
  return out;
}

TMono Mix(std::initializer_list<TMono> parts) {
  size_t length = 0;
  for (const TMono& p : parts) length = std::max(length, p.size());
  TMono out(length, 0.0);
  for (const TMono& p : parts) {
    for (size_t i = 0; i < p.size(); ++i) out[i] += p[i];
  }
  return out;
}

TMono Delayed(const TMono& sound, double seconds) {
  TMono out(size_t(seconds * kEffectRate), 0.0);
  out.insert(out.end(), sound.begin(), sound.end());
  return out;
}

TMono Click(double gain, double decay) {
  TNoise noise;
  return Render(0.08, [&](double t) { return gain * noise.Next() * Env(t, 0.0005, decay); });
}

// "Ha", "meh": a voiced burst at Pitch with a vowel-like second partial.
TMono Voice(double seconds, double pitch, double fall, double vibrato, double gain) {
  return Glide(
      seconds, [&](double t) { return pitch * (1 - fall * t / seconds) * (1 + vibrato * std::sin(2 * kPi * 28 * t)); },
      [&](double t) { return gain * Env(t, 0.02, seconds / 2.5); }, 0.8);
}

TSynthSound Effect(const char* name, const TMono& mono) { return {QString::fromLatin1(name), kEffectRate, 1, ToPcm(mono)}; }

// ---- music ----

// Notes as semitones from A4; a tune is bars of 8 eighth notes per voice.
double NoteFreq(int semitone) { return 440.0 * std::pow(2.0, semitone / 12.0); }

struct TTune {
  int bpm;
  int root;           // semitone of the key's root
  uint32_t seed;      // the melody's choices
  double pulseWidth;  // of the lead's square wave
};

// One bar of a tune rendered into Left and Right from Start (samples), the melody chosen from the
// pentatonic scale by the seed and the bar number, over a bass and light drums.
void RenderBar(const TTune& tune, int bar, size_t start, TMono& left, TMono& right) {
  static const int pentatonic[] = {0, 2, 4, 7, 9, 12, 14, 16};
  static const int progression[] = {0, -3, 5, 7};  // I vi IV V, as root offsets
  const double eighth = 60.0 / tune.bpm / 2;
  const size_t eighthSamples = size_t(eighth * kMusicRate);
  uint32_t state = tune.seed * 2654435761u + uint32_t(bar % 4) * 40503u;
  auto next = [&] {
    state = state * 1103515245u + 12345u;
    return (state >> 16) & 0x7FFF;
  };
  const int chord = progression[bar % 4];
  TNoise noise{tune.seed + uint32_t(bar % 4)};
  for (int step = 0; step < 8; ++step) {
    const bool rest = step % 4 == 3 && next() % 3 == 0;
    const int degree = pentatonic[next() % 8];
    const double lead = NoteFreq(tune.root + chord + degree);
    const double bass = NoteFreq(tune.root + chord - 24 + (step % 2 == 1 ? 7 : 0));
    for (size_t i = 0; i < eighthSamples; ++i) {
      const size_t at = start + size_t(step) * eighthSamples + i;
      if (at >= left.size()) return;
      const double t = double(i) / kMusicRate;
      // Every note has its own short fade in and out, so bars join without clicks.
      const double gate = std::min({1.0, t / 0.004, (eighth - t) / 0.01});
      const double leadPhase = std::fmod(t * lead, 1.0);
      const double square = leadPhase < tune.pulseWidth ? 1 : -1;
      const double leadValue = rest ? 0 : 0.16 * square * std::exp(-t / 0.35) * gate;
      const double bassPhase = std::fmod(t * bass, 1.0);
      const double triangle = 4 * std::abs(bassPhase - 0.5) - 1;
      const double bassValue = 0.3 * triangle * gate;
      double drum = 0;
      if (step % 2 == 0) drum += 0.35 * std::sin(2 * kPi * (60 + 90 * std::exp(-t / 0.02)) * t) * std::exp(-t / 0.06);
      if (step % 4 == 2) drum += 0.12 * noise.Next() * std::exp(-t / 0.05);
      drum += 0.04 * noise.Next() * std::exp(-t / 0.01);
      left[at] += leadValue * 0.8 + bassValue + drum;
      right[at] += leadValue * 1.0 + bassValue + drum * 0.9;
    }
  }
}

TSynthSound Tune(const QString& name, const TTune& tune, int bars, int firstBar) {
  const size_t barSamples = size_t(60.0 / tune.bpm / 2 * kMusicRate) * 8;
  TMono left(barSamples * size_t(bars), 0.0), right(barSamples * size_t(bars), 0.0);
  for (int bar = 0; bar < bars; ++bar) RenderBar(tune, firstBar + bar, barSamples * size_t(bar), left, right);
  return {name, kMusicRate, 2, ToPcm(left, &right)};
}

}  // namespace

std::vector<TSynthSound> GameEffects() {
  std::vector<TSynthSound> out;
  TNoise noise;
  // A shot: a crack of noise over a low thump.
  out.push_back(Effect("357mag.mp3", Mix({Render(0.45, [&](double t) { return 0.9 * noise.Next() * Env(t, 0.001, 0.05); }),
                                          Glide(0.3, [](double t) { return 120 - 200 * t; },
                                                [](double t) { return 0.7 * Env(t, 0.001, 0.08); })})));
  // Reloading: two metallic clicks.
  out.push_back(Effect("reload.mp3", Mix({Click(0.7, 0.01), Glide(0.12, [](double) { return 2400; },
                                                                  [](double t) { return 0.2 * Env(t, 0.001, 0.03); }),
                                          Delayed(Click(0.8, 0.012), 0.22),
                                          Delayed(Glide(0.15, [](double) { return 1800; },
                                                        [](double t) { return 0.25 * Env(t, 0.001, 0.04); }),
                                                  0.22)})));
  out.push_back(Effect("empty_magazine.mp3", Click(0.6, 0.006)));
  out.push_back(Effect("empty_magazine_dog.mp3", Mix({Click(0.4, 0.006), Delayed(Voice(0.18, 320, 0.4, 0, 0.7), 0.08),
                                                      Delayed(Voice(0.2, 300, 0.45, 0, 0.7), 0.34)})));
  out.push_back(Effect("empty_magazine_boing.mp3",
                       Mix({Click(0.4, 0.006), Delayed(Glide(0.7, [](double t) { return 180 + 120 * std::sin(2 * kPi * 9 * t) * std::exp(-t / 0.25); },
                                                           [](double t) { return 0.6 * Env(t, 0.005, 0.25); }),
                                                     0.05)})));
  out.push_back(Effect("empty_magazine_Mooo.mp3",
                       Mix({Click(0.4, 0.006), Delayed(Glide(1.1, [](double t) { return 150 - 25 * t + 3 * std::sin(2 * kPi * 5 * t); },
                                                           [](double t) { return 0.55 * std::min(1.0, t / 0.15) * std::min(1.0, (1.1 - t) / 0.3); },
                                                           1.0),
                                                     0.05)})));
  // A right answer: a rising chime.
  {
    TMono chime;
    for (int i = 0; i < 4; ++i) {
      const double f = NoteFreq(3 + std::array<int, 4>{0, 4, 7, 12}[size_t(i)]);
      chime = Mix({chime, Delayed(Glide(0.4, [f](double) { return f; }, [](double t) { return 0.35 * Env(t, 0.003, 0.15); }, 0.3),
                                  0.07 * i)});
    }
    out.push_back(Effect("shoot_good.mp3", chime));
  }
  {
    TMono laugh;
    for (int i = 0; i < 4; ++i) laugh = Mix({laugh, Delayed(Voice(0.14, 520 - 30 * i, 0.2, 0, 0.6), 0.17 * i)});
    out.push_back(Effect("shoot_laugh.mp3", laugh));
  }
  out.push_back(Effect("shoot_whistle.mp3", Glide(0.7, [](double t) { return 2200 - 1800 * t; },
                                                 [](double t) { return 0.45 * std::min(1.0, t / 0.05) * std::min(1.0, (0.7 - t) / 0.1); })));
  out.push_back(Effect("shoot_boing.mp3", Glide(0.8, [](double t) { return 110 + 90 * std::sin(2 * kPi * 7 * t) * std::exp(-t / 0.3); },
                                               [](double t) { return 0.6 * Env(t, 0.005, 0.3); }, 0.5)));
  {
    TMono meh;
    for (int i = 0; i < 3; ++i) meh = Mix({meh, Delayed(Voice(0.22, 380, 0.05, 0.04, 0.5), 0.24 * i)});
    out.push_back(Effect("shoot_mehehe.mp3", meh));
  }
  // Children's cheer: a noisy crowd under a bright rising chord.
  {
    TNoise crowd{99};
    TMono cheer = Render(1.4, [&](double t) {
      return 0.25 * crowd.Next() * std::min(1.0, t / 0.1) * std::min(1.0, (1.4 - t) / 0.5) * (0.6 + 0.4 * std::sin(2 * kPi * 6 * t));
    });
    for (int i = 0; i < 3; ++i) {
      const double f = NoteFreq(8 + std::array<int, 3>{0, 4, 7}[size_t(i)]);
      cheer = Mix({cheer, Delayed(Voice(1.0, f, -0.15, 0.02, 0.22), 0.05 * i)});
    }
    out.push_back(Effect("yeahha_children.mp3", cheer));
  }
  // Game over: a falling sad phrase.
  {
    TMono phrase;
    const int notes[] = {-2, -3, -4, -5};
    for (int i = 0; i < 4; ++i) {
      const double f = NoteFreq(notes[i]);
      const double length = i == 3 ? 1.0 : 0.32;
      phrase = Mix({phrase, Delayed(Glide(length, [f, i](double t) { return f * (i == 3 ? 1 + 0.01 * std::sin(2 * kPi * 5 * t) : 1); },
                                          [length](double t) { return 0.4 * std::min(1.0, t / 0.01) * std::min(1.0, (length - t) / 0.08); },
                                          0.6),
                                    0.34 * i)});
    }
    out.push_back(Effect("gameover.mp3", phrase));
  }
  return out;
}

std::vector<TSynthSound> GameTunes() {
  // A is the menus' calm tune; B to F play during the game, each a little faster.
  const TTune tunes[] = {{100, -9, 11, 0.5}, {120, -7, 23, 0.25}, {126, -5, 37, 0.5},
                         {132, -4, 41, 0.3}, {138, -2, 53, 0.25}, {144, 0, 67, 0.4}};
  std::vector<TSynthSound> out;
  for (int i = 0; i < 6; ++i) {
    const QChar letter = QLatin1Char(char('A' + i));
    if (i < 4) {
      // Intro of 2 bars, then a loop of 4 bars that starts the progression again.
      out.push_back(Tune(QString(letter) + "1.mp3", tunes[i], 2, 2));
      out.push_back(Tune(QString(letter) + "2.mp3", tunes[i], 4, 0));
    } else {
      out.push_back(Tune(QString(letter) + ".mp3", tunes[i], 4, 0));
    }
  }
  return out;
}

QString EncodeCached(const TSynthSound& sound, const QString& cacheDir) {
  QDir().mkpath(cacheDir);
  const QByteArray wav = WaveFileBytes(sound.pcm, sound.rate, sound.channels);
  const QByteArray key = QByteArray(kRecipe) + '\n' + wav;
  const QString target = cacheDir + "/" + QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex() + ".mp3";
  if (QFile::exists(target)) return target;
  const QString wavFile = target + ".wav";
  const QString part = target + ".part";
  QFile file(wavFile);
  if (!file.open(QIODevice::WriteOnly) || file.write(wav) != wav.size()) throw Exception("Cannot write " + wavFile);
  file.close();
  // Music keeps lame's info frame: the decoder then drops the encoder's delay and padding, so
  // that a loop joins itself without a gap.
  const QStringList args = sound.channels == 2
                               ? QStringList{"--quiet", "--noreplaygain", "-b", "112", wavFile, part}
                               : QStringList{"--quiet", "--noreplaygain", "-m", "m", "-b", "64", wavFile, part};
  const bool made = RunTool("lame", args);
  QFile::remove(wavFile);
  if (!made) {
    QFile::remove(part);
    throw Exception("Cannot encode " + sound.name);
  }
  PublishFile(part, target);
  return target;
}

}  // namespace zabko::game_art
