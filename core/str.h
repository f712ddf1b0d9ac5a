// Small string routines shared across the system: 8-bit (TStr) and wide (TWStr) string edits,
// a minimal "%s"/"%d" formatter, the mapping between Hebrew letters in code page 1255 and in
// Unicode, splitting, padding, and date and time texts. "Space" means U+0020 only.
#pragma once

#include "core/date_time.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <variant>

namespace zabko {

using TArrOfStrings = QStringList;
using TArrOfIntegers = QList<qint32>;

// One typed argument of TWStr::Format.
using TFormatArg = std::variant<QString, qint32>;

class TStr {
 public:
  // Every occurrence of Find replaced by Replacement.
  static QByteArray ReplaceChar(const QByteArray& text, char find, char replacement);
};

class TWStr {
 public:
  // Leading and trailing spaces removed; tabs and other white space stay.
  static QString Trim(const QString& text);
  static bool IsEmpty(const QString& text) { return text.isEmpty(); }
  // Empty or only spaces.
  static bool IsBlank(const QString& text);
  static bool HasText(const QString& text) { return !IsBlank(text); }
  // Equal ignoring case, in the user's locale.
  static bool SameText(const QString& a, const QString& b);
  // Part occurs in Text, both upper-cased.
  static bool Contains(const QString& part, const QString& text);
  // The first index whose item is SameText as Text (Exact) or contains Text case-sensitively;
  // -1 when none.
  static int IndexOf(const TArrOfStrings& items, const QString& text, bool exact);
  // Every occurrence of Find replaced, left to right, without re-scanning the replacement; an
  // empty Find changes nothing.
  static QString ReplaceAll(const QString& text, const QString& find, const QString& replacement);
  // Text without the characters a file name cannot hold: / \ : * " ? < > |
  static QString SafeFileName(const QString& text);
  // One leading and one trailing quote (double or single) dropped, each end on its own.
  static QString Unquote(const QString& text);
  // Fills "%s" (a wide string argument) and "%d" (an integer argument) in order. A "%" followed
  // by anything else, or ending the pattern, stays in the text and takes no argument. Fails with
  // "Invalid String in Format" / "Invalid Integer in Format" for an argument of the wrong type and
  // "Too few arguments in Format" when the directives outnumber the arguments.
  static QString Format(const QString& pattern, std::initializer_list<TFormatArg> arguments);
  static QString Format(const QString& pattern, const QList<TFormatArg>& arguments);
  // The code page 1255 byte of a Hebrew letter: the low 8 bits plus 0x10 (U+05D0 -> 0xE0).
  static quint8 HebrewToAnsiChar(QChar ch);
  // A byte of the old word databases' Hebrew coding as a wide character: the Hebrew points
  // 0xC0..0xD3 and letters 0xE0..0xFA become U+05B0.. and U+05D0..; bytes below 0x80 stay
  // themselves; any other byte is read as code page 1255.
  static QChar AnsiToHebrewChar(quint8 byte);
};

// Wide text joined from parts; GetText builds the result with one allocation.
class TWideStringBuilder {
 public:
  void Append(const QString& part) { parts_.append(part); }
  // Part, then Separator when AddSeparator is set.
  void AppendWithSeparator(const QString& part, const QString& separator, bool addSeparator);
  qsizetype GetLength() const;
  QString GetText() const;

 private:
  QStringList parts_;
};

// 8-bit text joined from parts, as TWideStringBuilder joins wide text.
class TStringBuilder {
 public:
  void Append(const QByteArray& part) { parts_.append(part); }
  qsizetype GetLength() const;
  QByteArray GetText() const;

 private:
  QList<QByteArray> parts_;
};

int CompareInt(qint64 a, qint64 b);
template <typename T>
T Clamp(T value, T low, T high) {
  if (value < low) return low;
  if (value > high) return high;
  return value;
}

// "\" appended unless the text ends with one; an empty text stays empty. These work on names
// that keep the system's "\" (resource and server file names), not on local paths.
QByteArray AddTrailingBackslash(const QByteArray& path);
QString AddTrailingBackslashW(const QString& path);
// One trailing "\" dropped.
QString RemoveTrailingBackslashW(const QString& path);
// A double quote added at the start and at the end where missing; empty stays empty.
QString QuoteText(const QString& text);
// Ch repeated in front up to Width characters.
QByteArray PadLeft(const QByteArray& text, char ch, int width);
QString PadLeftW(const QString& text, QChar ch, int width);
// «5-03-2010»: day unpadded, two-digit month, year.
QString FormatDateDMY(TDateTime date);
// The time of day Seconds after midnight as "h:nn:ss"; whole days drop out.
QString SecondsToTimeText(qint64 seconds);
// Only spaces, "'", the Hebrew letters of code page 1255 (0xE0..0xFA) and, when
// KeepPunctuation, "," and ";".
QByteArray FilterHebrewLetters(const QByteArray& text, bool keepPunctuation);
// Only the Hebrew letters U+05D0..U+05EA, final forms included.
QString HebrewLettersOnly(const QString& text);
bool IsHebrewLetter(QChar ch);
// 8-bit text of the old word databases: when the first byte lies outside 32..126 every byte goes
// through TWStr::AnsiToHebrewChar, otherwise the text is read in the system code page.
QString HebrewAnsiToWide(const QByteArray& text);
// The spelled Latin name of a Hebrew letter ("Alef"); final forms share their letter's name;
// empty for anything else.
QString HebrewLetterName(QChar ch);
// The parts between Delimiter characters appended to List, untrimmed; empty parts only when
// KeepEmpty. The list is not cleared first.
void SplitW(const QString& text, QChar delimiter, TArrOfStrings& list, bool keepEmpty);
inline TArrOfStrings MakeStringArray(const QString& text) { return TArrOfStrings{text}; }
// The system checks for Windows 2000 or later; every supported system qualifies.
inline bool IsWindows2000OrLater() { return true; }

// Case-insensitive order of 8-bit texts: ASCII letters folded, other bytes by value, a prefix
// first. Negative, zero or positive.
int CompareText8(const QByteArray& a, const QByteArray& b);

}  // namespace zabko
