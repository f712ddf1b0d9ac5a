// Writes word database files (the layouts that core/word_list.h reads) from word and subject
// lists: format 3010 for the programs, format 1000 for tests of the older reader. Also reads the
// plain-text word lists of data/words.
//
// Layout decisions the readers rely on:
// - A word's sound names are stored without ".mp3" (the learning program's word filling adds it);
//   the main sound is the decimal word id.
// - LetterNumber is 1-based: the letter's position in the alphabet (22 Hebrew letters, final
//   forms counted with their letter; 26 English letters after a leading "to ") plus 1.
// - SortKeys[0] is the word's subject, which has a name in both subject tables.
// - Subject counts have one level per letter (level = LetterNumber - 1); a level lists the top
//   subjects with words of that letter, each with its sub-subjects and their word counts.
#pragma once

#include "core/data_packet.h"
#include "core/word.h"

#include <QList>
#include <QString>

#include <memory>

namespace zabko {

enum class WordLanguage { Hebrew, English };

struct TWordDBSubject {
  qint32 Id = 0;
  qint32 Parent = 0;  // 0 for a top subject
  QString Name;       // first table (Hebrew)
  QString AltName;    // second table (English)
};

struct TWordEntry {
  qint32 Id = 0;
  qint32 LetterNumber = 0;
  qint32 Subject = 0;
  QString Text;
  QString Meanings;  // separated by ";", parts of one meaning by ","
  QString AltText;
  QString SearchText;
  QString Headword;
  QByteArray SoundName;
  qint32 SoundLength = 0;  // milliseconds
  // One sound per meaning (format 3010 only).
  QList<TWordFile> ExtraSounds;
};

// About how long espeak-ng at 150 words a minute speaks a text, in milliseconds: the length figure
// of a sound that has not been made.
qint32 EstimateSpokenLength(const QString& text);

class TWordDBWriter {
 public:
  explicit TWordDBWriter(WordLanguage language) : language_(language) {}

  // Fails with "Duplicate subject " + id.
  void AddSubject(const TWordDBSubject& subject);
  // Fails with "Unknown subject " + id when the subject is not a sub-subject added before, and
  // with "Duplicate word id " + id.
  void AddWord(const TWordEntry& word);
  // A word from its text, meanings and subject: the next id from FirstId, the letter number of
  // its text, the decimal id as sound name, one extra sound per meaning named id + "_" + its
  // number from 1, and estimated sound lengths. Fails with
  // "No letter for " + Text when the text does not start with a letter of the language.
  void AddWord(const QString& text, const QString& meanings, qint32 subject);

  int LetterCount() const { return language_ == WordLanguage::Hebrew ? 22 : 26; }
  // 1-based letter number of a text, or 0 when it does not start with a letter.
  qint32 LetterNumberOf(const QString& text) const;
  qint32 FirstId() const { return language_ == WordLanguage::Hebrew ? 10001 : 20001; }

  const QList<TWordEntry>& Words() const { return words_; }
  const QList<TWordDBSubject>& Subjects() const { return subjects_; }

  // The database packet; words ordered by letter, then by headword. Format 3010 or 1000.
  std::unique_ptr<TDataPacket> Build(int format) const;
  // Writes Build(Format) through a temporary file renamed over FileName.
  void SaveToFile(const QString& fileName, int format) const;

  // Reads "id<TAB>parent<TAB>name<TAB>alt name" lines; "#" starts a comment line.
  void ReadSubjects(const QString& fileName);
  // Reads "subject<TAB>text<TAB>meanings" lines. Failures name the file and line.
  void ReadWords(const QString& fileName);

 private:
  std::unique_ptr<TDataPacket> BuildSubjectCounts() const;
  QList<TWordEntry> SortedWords() const;

  WordLanguage language_;
  QList<TWordDBSubject> subjects_;
  QList<TWordEntry> words_;
};

}  // namespace zabko
