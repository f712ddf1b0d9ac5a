// The server's catalogue of words: for each learning language, the word ids with the letter and
// subject they belong to. Filled from the demo word databases or, for tests, made up.
#pragma once

#include <QString>

#include <map>
#include <vector>

namespace zabko::dev {

inline constexpr int kHebrewCode = 10;
inline constexpr int kEnglishCode = 20;

struct TDevWord {
  qint32 id = 0;
  int letter = -1;      // alphabet index of the word's first letter
  int subject = -1;     // SortKeys[0] of the word packet, -1 when absent
  int subSubject = -1;  // SortKeys[1], -1 when absent
};

class TDevWords {
 public:
  // Alphabet sizes of the two languages (22 Hebrew letters, 26 English ones).
  static int LetterCount(int languageCode);
  // Language codes in the order of the client's language packs (Hebrew first).
  static const std::vector<int>& LanguageCodes();

  // Reads a word database (format 1000 or 3010) for a language. Word packets that lack the
  // entries read here are skipped. Fails with a message when the file is not a word database.
  void LoadDatabase(const QString& fileName, int languageCode);
  // Made-up words for tests: wordsPerLetter words for every letter of both languages, ids
  // code * 1000 + running number from 1, subjects 1..3 in turn.
  void AddSynthetic(int wordsPerLetter);
  void Add(int languageCode, const TDevWord& word);

  const std::vector<TDevWord>& Words(int languageCode) const;
  const TDevWord* Find(int languageCode, qint32 id) const;

 private:
  std::map<int, std::vector<TDevWord>> words_;
  std::map<int, std::map<qint32, size_t>> index_;
};

// Alphabet index of a word from its text: English by the first letter of the search text after
// a leading "TO "; Hebrew by the first Hebrew letter (final forms count as their letter).
int EnglishLetterIndex(const QString& searchText);
int HebrewLetterIndex(const QString& text);

}  // namespace zabko::dev
