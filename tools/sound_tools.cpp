#include "tools/sound_tools.h"

#include "platform/exception.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace zabko {

QByteArray WaveFileBytes(const QByteArray& pcm16, int sampleRate, int channels) {
  QByteArray bytes;
  auto put32 = [&](qint32 v) {
    for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto put16 = [&](qint16 v) { bytes.append(static_cast<char>(v & 0xFF)).append(static_cast<char>((v >> 8) & 0xFF)); };
  const qint32 dataBytes = static_cast<qint32>(pcm16.size());
  bytes.append("RIFF");
  put32(36 + dataBytes);
  bytes.append("WAVEfmt ");
  put32(16);
  put16(1);  // PCM
  put16(static_cast<qint16>(channels));
  put32(sampleRate);
  put32(sampleRate * channels * 2);
  put16(static_cast<qint16>(channels * 2));
  put16(16);
  bytes.append("data");
  put32(dataBytes);
  bytes.append(pcm16);
  return bytes;
}

bool RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, arguments);
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return false;
  }
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool ToolPresent(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

void PublishFile(const QString& made, const QString& target) {
  QFile::remove(target);
  if (!QFile::rename(made, target)) throw Exception("Cannot write " + target);
}

}  // namespace zabko
