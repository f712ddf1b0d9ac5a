#include "core/str.h"

#include "platform/code_page.h"
#include "platform/exception.h"
#include "platform/text_compare.h"

namespace zabko {

namespace {

constexpr QChar kSpace = u' ';

bool IsAsciiPrintable(quint8 b) { return b >= 32 && b <= 126; }

}  // namespace

QByteArray TStr::ReplaceChar(const QByteArray& text, char find, char replacement) {
  QByteArray result = text;
  for (char& c : result)
    if (c == find) c = replacement;
  return result;
}

QString TWStr::Trim(const QString& text) {
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && text[start] == kSpace) ++start;
  while (end > start && text[end - 1] == kSpace) --end;
  return text.mid(start, end - start);
}

bool TWStr::IsBlank(const QString& text) {
  for (QChar c : text)
    if (c != kSpace) return false;
  return true;
}

bool TWStr::SameText(const QString& a, const QString& b) { return LocaleEqual(a, b, true); }

bool TWStr::Contains(const QString& part, const QString& text) {
  return text.toUpper().contains(part.toUpper());
}

int TWStr::IndexOf(const TArrOfStrings& items, const QString& text, bool exact) {
  for (int i = 0; i < items.size(); ++i) {
    if (exact ? SameText(text, items[i]) : items[i].contains(text, Qt::CaseSensitive)) return i;
  }
  return -1;
}

QString TWStr::ReplaceAll(const QString& text, const QString& find, const QString& replacement) {
  if (find.isEmpty()) return text;
  QString result;
  qsizetype from = 0;
  for (;;) {
    const qsizetype at = text.indexOf(find, from, Qt::CaseSensitive);
    if (at < 0) break;
    result += QStringView(text).mid(from, at - from);
    result += replacement;
    from = at + find.size();
  }
  result += QStringView(text).mid(from);
  return result;
}

QString TWStr::SafeFileName(const QString& text) {
  static const QString kBad = QStringLiteral("/\\:*\"?<>|");
  QString result;
  result.reserve(text.size());
  for (QChar c : text)
    if (!kBad.contains(c)) result += c;
  return result;
}

QString TWStr::Unquote(const QString& text) {
  auto isQuote = [](QChar c) { return c == u'"' || c == u'\''; };
  qsizetype start = 0;
  qsizetype end = text.size();
  if (start < end && isQuote(text[start])) ++start;
  if (end > start && isQuote(text[end - 1])) --end;
  return text.mid(start, end - start);
}

QString TWStr::Format(const QString& pattern, std::initializer_list<TFormatArg> arguments) {
  return Format(pattern, QList<TFormatArg>(arguments));
}

QString TWStr::Format(const QString& pattern, const QList<TFormatArg>& arguments) {
  QString result;
  qsizetype literalStart = 0;
  qsizetype next = 0;
  qsizetype argument = 0;
  for (;;) {
    const qsizetype at = pattern.indexOf(u'%', next);
    if (at < 0 || at == pattern.size() - 1) break;
    const QChar directive = pattern[at + 1];
    if (directive != u's' && directive != u'd') {
      // Not a directive of ours: the "%" stays in the text.
      next = at + 1;
      continue;
    }
    if (argument >= arguments.size()) throw Exception("Too few arguments in Format");
    const TFormatArg& value = arguments[argument];
    result += QStringView(pattern).mid(literalStart, at - literalStart);
    if (directive == u's') {
      const auto* text = std::get_if<QString>(&value);
      if (!text) throw Exception("Invalid String in Format");
      result += *text;
    } else {
      const auto* number = std::get_if<qint32>(&value);
      if (!number) throw Exception("Invalid Integer in Format");
      result += QString::number(*number);
    }
    ++argument;
    literalStart = next = at + 2;
  }
  result += QStringView(pattern).mid(literalStart);
  return result;
}

quint8 TWStr::HebrewToAnsiChar(QChar ch) {
  return static_cast<quint8>((ch.unicode() & 0xFF) + 0x10);
}

QChar TWStr::AnsiToHebrewChar(quint8 byte) {
  if (byte < 0x80) return QChar(byte);
  if ((byte >= 0xC0 && byte <= 0xD3) || (byte >= 0xE0 && byte <= 0xFA))
    return QChar(static_cast<char16_t>(byte + 0x4F0));
  return QChar(Cp1255ToUnicode(byte));
}

void TWideStringBuilder::AppendWithSeparator(const QString& part, const QString& separator,
                                             bool addSeparator) {
  parts_.append(part);
  if (addSeparator) parts_.append(separator);
}

qsizetype TWideStringBuilder::GetLength() const {
  qsizetype total = 0;
  for (const QString& p : parts_) total += p.size();
  return total;
}

QString TWideStringBuilder::GetText() const {
  QString result;
  result.reserve(GetLength());
  for (const QString& p : parts_) result += p;
  return result;
}

qsizetype TStringBuilder::GetLength() const {
  qsizetype total = 0;
  for (const QByteArray& p : parts_) total += p.size();
  return total;
}

QByteArray TStringBuilder::GetText() const {
  QByteArray result;
  result.reserve(GetLength());
  for (const QByteArray& p : parts_) result += p;
  return result;
}

int CompareInt(qint64 a, qint64 b) { return a < b ? -1 : (a > b ? 1 : 0); }

QByteArray AddTrailingBackslash(const QByteArray& path) {
  if (path.isEmpty() || path.endsWith('\\')) return path;
  return path + '\\';
}

QString AddTrailingBackslashW(const QString& path) {
  if (path.isEmpty() || path.endsWith(u'\\')) return path;
  return path + u'\\';
}

QString RemoveTrailingBackslashW(const QString& path) {
  return path.endsWith(u'\\') ? path.chopped(1) : path;
}

QString QuoteText(const QString& text) {
  if (text.isEmpty()) return text;
  QString result = text;
  if (!result.startsWith(u'"')) result.prepend(u'"');
  if (!result.endsWith(u'"')) result.append(u'"');
  return result;
}

QByteArray PadLeft(const QByteArray& text, char ch, int width) {
  if (text.size() >= width) return text;
  return QByteArray(width - text.size(), ch) + text;
}

QString PadLeftW(const QString& text, QChar ch, int width) {
  if (text.size() >= width) return text;
  return QString(width - text.size(), ch) + text;
}

QString FormatDateDMY(TDateTime date) {
  const DateTimeFields f = DecodeDateTime(date);
  return QStringLiteral("%1-%2-%3").arg(f.day).arg(f.month, 2, 10, QChar(u'0')).arg(f.year);
}

QString SecondsToTimeText(qint64 seconds) {
  const qint64 s = ((seconds % 86400) + 86400) % 86400;
  return QStringLiteral("%1:%2:%3")
      .arg(s / 3600)
      .arg((s / 60) % 60, 2, 10, QChar(u'0'))
      .arg(s % 60, 2, 10, QChar(u'0'));
}

QByteArray FilterHebrewLetters(const QByteArray& text, bool keepPunctuation) {
  QByteArray result;
  result.reserve(text.size());
  for (char c : text) {
    const auto b = static_cast<quint8>(c);
    if (b == ' ' || b == '\'' || (b >= 0xE0 && b <= 0xFA) ||
        (keepPunctuation && (b == ',' || b == ';')))
      result += c;
  }
  return result;
}

bool IsHebrewLetter(QChar ch) { return ch.unicode() >= 0x05D0 && ch.unicode() <= 0x05EA; }

QString HebrewLettersOnly(const QString& text) {
  QString result;
  result.reserve(text.size());
  for (QChar c : text)
    if (IsHebrewLetter(c)) result += c;
  return result;
}

QString HebrewAnsiToWide(const QByteArray& text) {
  if (text.isEmpty()) return QString();
  if (IsAsciiPrintable(static_cast<quint8>(text[0]))) return SystemCodePageToWide(text);
  QString result(text.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i)
    result[i] = TWStr::AnsiToHebrewChar(static_cast<quint8>(text[i]));
  return result;
}

QString HebrewLetterName(QChar ch) {
  // By letter from alef (U+05D0) to tav (U+05EA); final forms share their letter's name.
  static const char* const kNames[27] = {
      "Alef", "Bet",  "Gimel",  "Daled", "Hey", "Vav", "Zain",   "Chet",   "Tet",
      "Yud",  "Kaf",  "Kaf",    "Lamed", "Mem", "Mem", "Nun",    "Nun",    "Samech",
      "Ain",  "Peh",  "Peh",    "Tzadik", "Tzadik", "Kuf", "Reish", "Shin", "Taf"};
  if (!IsHebrewLetter(ch)) return QString();
  return QString::fromLatin1(kNames[ch.unicode() - 0x05D0]);
}

void SplitW(const QString& text, QChar delimiter, TArrOfStrings& list, bool keepEmpty) {
  qsizetype start = 0;
  for (;;) {
    const qsizetype at = text.indexOf(delimiter, start);
    const qsizetype end = at < 0 ? text.size() : at;
    if (keepEmpty || end > start) list.append(text.mid(start, end - start));
    if (at < 0) break;
    start = at + 1;
  }
}

int CompareText8(const QByteArray& a, const QByteArray& b) {
  const qsizetype n = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    auto fold = [](char c) {
      const auto u = static_cast<quint8>(c);
      return (u >= 'a' && u <= 'z') ? u - 32 : u;
    };
    const int ca = fold(a[i]);
    const int cb = fold(b[i]);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return CompareInt(a.size(), b.size());
}

}  // namespace zabko
