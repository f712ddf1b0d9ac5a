#include "core/zabkolex_strings.h"

#include "core/rc_or_file_stream.h"
#include "platform/code_page.h"
#include "platform/exception.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringDecoder>

namespace zabko {
namespace {

QString DecodePack(const QByteArray& bytes) {
  const auto decode = [&](QStringConverter::Encoding encoding, qsizetype markLength) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return QString(decoder(QByteArrayView(bytes).sliced(markLength)));
  };
  if (bytes.startsWith("\xFF\xFE")) return decode(QStringConverter::Utf16LE, 2);
  if (bytes.startsWith("\xFE\xFF")) return decode(QStringConverter::Utf16BE, 2);
  if (bytes.startsWith("\xEF\xBB\xBF")) return decode(QStringConverter::Utf8, 3);
  return SystemCodePageToWide(bytes);
}

// Lines end in CR LF, CR or LF; a line break at the very end makes no empty last line.
QStringList SplitLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.append(text.mid(start, i - start));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.append(text.mid(start));
  return lines;
}

bool IsComment(const QString& line) {
  if (line.startsWith('#')) return true;
  for (const QChar c : line) {
    if (c.unicode() > ' ') return false;
  }
  return true;
}

QStringView TrimBlanks(QStringView text) {
  while (!text.isEmpty() && text.front() == u' ') text = text.sliced(1);
  while (!text.isEmpty() && text.back() == u' ') text.chop(1);
  return text;
}

bool IsQuote(QChar c) { return c == '\'' || c == '"'; }

}  // namespace

QStringList TZabkolexStrings::PackLines(const QByteArray& bytes, const QString& packName) {
  const QStringList raw = SplitLines(DecodePack(bytes));
  QStringList lines;
  for (qsizetype i = 0; i < raw.size(); ++i) {
    QString line = raw[i];
    if (line.startsWith('{')) {
      const qsizetype opened = i;
      line.remove(0, 1);
      for (++i; i < raw.size() && !raw[i].startsWith('}'); ++i) line += QStringLiteral(" + ") + raw[i];
      if (i >= raw.size()) {
        throw Exception(QStringLiteral("Unclosed block in text pack %1 (opened on line %2)")
                            .arg(packName.isEmpty() ? QStringLiteral("(unnamed)") : packName)
                            .arg(opened + 1));
      }
    }
    if (!IsComment(line)) lines.append(line);
  }
  return lines;
}

TZabkolexStrings::Entry TZabkolexStrings::ParseLine(const QString& line) {
  const qsizetype colon = line.indexOf(':');
  if (colon < 0) throw Exception(QStringLiteral("Missing \":\" in: ") + line);
  QString value;
  for (QStringView piece : QStringView(line).sliced(colon + 1).split(u'+')) {
    piece = TrimBlanks(piece);
    if (!piece.isEmpty() && IsQuote(piece.front())) piece = piece.sliced(1);
    if (!piece.isEmpty() && IsQuote(piece.back())) piece.chop(1);
    value += piece;
  }
  return {line.left(colon), value};
}

void TZabkolexStrings::LoadFromStream(TStream& stream, const QString& packName) {
  stream.SetPosition(0);
  QByteArray bytes(stream.Size(), Qt::Uninitialized);
  bytes.resize(stream.Read(bytes.data(), bytes.size()));
  std::vector<Entry> entries;
  for (const QString& line : PackLines(bytes, packName)) entries.push_back(ParseLine(line));
  entries_ = std::move(entries);
}

void TZabkolexStrings::LoadResource(const QString& packName) {
  const QString dir = looseDir_.isEmpty() ? QCoreApplication::applicationDirPath() : looseDir_;
  TRCOrFileStream stream(QDir(dir).filePath(packName), preferFile_);
  LoadFromStream(stream, packName);
}

void TZabkolexStrings::Load(const QString& packName) {
  LoadResource(packName);
  entries_.push_back({QStringLiteral("VersionNumber"), QStringLiteral("2.3")});
}

void TZabkolexStrings::LoadLanguage(unsigned char language) {
  try {
    switch (language) {
      case 0: Load(QString::fromLatin1(kHebrewGuiPack)); break;
      case 1: Load(QString::fromLatin1(kEnglishGuiPack)); break;
      default: throw Exception("Unknown GUI Language");
    }
  } catch (const Exception& e) {
    throw Exception(QStringLiteral("Failed loading strings file. Reason: ") + e.Message());
  } catch (const std::exception& e) {
    throw Exception(QStringLiteral("Failed loading strings file. Reason: ") + QString::fromUtf8(e.what()));
  }
}

void TZabkolexStrings::MergeFile(const QString& packName) {
  TZabkolexStrings other(preferFile_, looseDir_);
  other.LoadResource(packName);
  for (const Entry& e : other.entries_) SetValue(e.key, e.value);
}

int TZabkolexStrings::IndexOf(const QString& key) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].key.compare(key, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  }
  return -1;
}

void TZabkolexStrings::SetValue(const QString& key, const QString& value) {
  const int i = IndexOf(key);
  if (value.isEmpty()) {
    if (i >= 0) entries_.erase(entries_.begin() + i);
  } else if (i >= 0) {
    entries_[i].value = value;
  } else {
    entries_.push_back({key, value});
  }
}

QString TZabkolexStrings::GetString(const QString& key) const {
  const int i = IndexOf(key);
  if (i < 0 || entries_[i].value.isEmpty()) throw Exception(QStringLiteral("Invalid string for: ") + key);
  return entries_[i].value;
}

}  // namespace zabko
