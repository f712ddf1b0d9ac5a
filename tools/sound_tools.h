// What the sound generators share: WAV files of 16-bit PCM, running a command-line tool, and
// moving a finished file into a cache under its final name.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zabko {

// A WAV file of interleaved signed 16-bit little-endian samples.
QByteArray WaveFileBytes(const QByteArray& pcm16, int sampleRate, int channels);

// Runs Program with Arguments (output discarded, errors passed on) and answers whether it ended
// well within a minute.
bool RunTool(const QString& program, const QStringList& arguments);
// Whether Program can be found on the path.
bool ToolPresent(const QString& program);

// Moves a finished file to Target, so that a broken run leaves no half file under that name.
// Fails with "Cannot write " + Target.
void PublishFile(const QString& made, const QString& target);

}  // namespace zabko
