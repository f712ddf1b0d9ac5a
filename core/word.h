// One entry of a word database: a word with its id, texts, meanings, sound files, sorting keys
// and the learner's known mark, and the rules that split and join meanings, match a search and
// order words. Words are filled by the word list from the word packets of a database file.
#pragma once

#include "core/integer_list.h"
#include "core/str.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace zabko {

// One sound file of a word: the name of a sound resource and a length figure that production
// sums to estimate output sizes.
struct TWordFile {
  QByteArray Name;
  qint32 Length = 0;
  bool operator==(const TWordFile&) const = default;
};

class TWord;

// Fills a format 3010 word's texts and meanings from its word packet (the application type's
// word filling).
using TFillWord = std::function<void(TWord& word, const TDataPacket& wordPacket)>;
// A random index from 0 to Count - 1; an empty function draws from the global generator.
using TRandomIndex = std::function<int(int count)>;
// An index from 0 to Count - 1 (Count above 0) drawn with Random, kept within that range.
int DrawRandomIndex(const TRandomIndex& random, int count);

class TWord {
 public:
  TWord() = default;
  TWord(const TWord&) = delete;
  TWord& operator=(const TWord&) = delete;

  QString Text;        // word packet UTFStrings[0]
  QString AltText;     // UTFStrings[2]; MP3 production may name files with it
  QString SearchText;  // UTFStrings[3]; searched, matched and listed
  QString Headword;    // UTFStrings[4]; the big word, and the sort tie-break
  TIntegerList SortKeys;  // element 0 is the primary sort key
  TArrOfStrings Meanings;
  bool Known = false;
  qint32 Id = 0;
  TWordFile MainSound;
  std::vector<TWordFile> ExtraSounds;
  TWordFile ExampleSound1;
  TWordFile ExampleSound2;
  qint32 LetterNumber = 0;  // format 3010 only
  bool PickWholeLine = false;
  bool NumberMeanings = false;
  QChar SplitChar = u';';
  QChar JoinChar = u';';
  QChar SubSplitChar = u',';
  int Index = 0;  // position of the word's packet in the database

  // -1, 0 or 1: words without sort keys first, then by SortKeys[0], then by Hebrew headword.
  int Compare(const TWord& other) const;
  // Meanings := Text split at SplitChar, each part trimmed of spaces; empty parts are kept and
  // there is always at least one meaning.
  void SetMeanings(const QString& text);
  // The meanings joined with Separator; numbered "1. ", "2. " ... when NumberMeanings is set and
  // there is more than one.
  QString JoinMeanings(const QString& separator) const;
  QString MeaningsText() const { return JoinMeanings(QStringLiteral("\r\n")); }
  QString MeaningsLine() const { return JoinMeanings(QString(JoinChar) + u' '); }
  // The meanings line (PickWholeLine), or one random part of one random meaning.
  QString PickMeaning(const TRandomIndex& random = {}) const;
  // Text occurs, ignoring case, in SearchText or in any meaning.
  bool Matches(const QString& text) const;
  qint64 ExtraAudioTotal() const;

  // Fills the word from a word packet of database format 1000.
  void LoadFromPacket(const TDataPacket& wordPacket);
  // Fills the word from a word packet of database format 3010, then calls FillWord.
  void NewLoad(const TDataPacket& wordPacket, const TFillWord& fillWord);
};

// Target := (Packet Strings[Index], Packet Integers[Index]).
void ReadWordFile(const TDataPacket& packet, int index, TWordFile& target);
// Sort routine of word lists.
int CompareWordItems(const TWord* a, const TWord* b);
// Order of two texts in code page 1255 reduced to their Hebrew letters, spaces and apostrophes.
int CompareHebrewTexts(const QByteArray& a, const QByteArray& b);
// Case-insensitive order of two item texts in the user's locale.
int CompareItemTexts(const QString& a, const QString& b);

// The texts part of the word filling: Text, meanings, AltText, SearchText and Headword from
// UTFStrings[0..4], PickWholeLine off, NumberMeanings on.
void FillWordTexts(TWord& word, const TDataPacket& wordPacket);
// The learning program's word filling: FillWordTexts, then ".mp3" appended to the names of the
// main and extra sounds (the example sounds keep their names).
void FillWordWithMp3Names(TWord& word, const TDataPacket& wordPacket);

}  // namespace zabko
