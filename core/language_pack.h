// A learning language of the learning program: its word list, its alphabet, the letter buttons
// of the letters bar that belong to it, and the number of the user's words per letter in each of
// the five word statuses the server gives (0 not known yet, 1 partly known, 2 known; 3 and 4 are
// counted but never summed or shown).
//
// THebrewLanguage (Hebrew words for English speakers, 22 letters, right to left) and
// TEnglishLanguage (English words for Hebrew speakers, 26 letters) are the two languages. The
// answers a language gives without an instance (fonts, letters and their labels) sit in its
// TLanguageClass, so the game edition can ask them with no pack loaded.
//
// Letter indexes come from word data and may lie outside the alphabet (an English word whose
// search text starts with a digit belongs to no letter): every operation taking a letter index
// checks it, and a letter outside the alphabet has no counts and no button.
#pragma once

#include "core/letter_button.h"
#include "core/word_list.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace zabko {

class TLanguagePack;
class TRegistryIniFile;

// One item of a word string list: a text (a headword, a decimal id) and its word.
struct TWordItem {
  QString Text;
  TWord* Word = nullptr;
};
using TWordItemList = QList<TWordItem>;

// Wide-text orders of the two languages (the sorts and the search panel use them).
// English: a leading "to " (small letters, with the blank) is dropped, then case is ignored.
int CompareEnglishWords(const QString& a, const QString& b);
// Hebrew: only the Hebrew letters count (final forms included), case ignored.
int CompareHebrewWords(const QString& a, const QString& b);

// The class-level answers of a language.
class TLanguageClass {
 public:
  virtual ~TLanguageClass() = default;
  virtual QString GetFontName() const { return QStringLiteral("David"); }
  virtual QString GetMeaningFontName() const { return GetFontName(); }
  virtual int GetListFontSize() const { return 11; }
  // The letter at an index of the alphabet.
  virtual QString GetLetter(int index) const = 0;
  virtual QString GetLetterLabel(int index) const { return GetLetter(index); }
};

class TLanguagePack {
 public:
  static constexpr int kStatusCount = 5;
  using TCounts = std::array<int, kStatusCount>;

  using TClickAllowed = std::function<bool(TLanguagePack& pack, ILetterButton* button)>;
  using TAfterClick = std::function<void(TLanguagePack& pack, ILetterButton* button)>;
  using TCountsCallback = std::function<void(TLanguagePack& pack, int status0, int status1, int status2, int total)>;

  // Stores the arguments, zeroes the counters, takes over the buttons' click and hover handlers,
  // loads the word database (failing with "Failed to load file " + path) and shows the totals.
  // The pack does not own the buttons; handlers it leaves on them do nothing once it is gone.
  TLanguagePack(quint8 languageId, int alphabetSize, const QString& databasePath,
                std::vector<ILetterButton*> letterButtons, TClickAllowed clickAllowed, TAfterClick afterClick,
                TCountsCallback counts, TFillWord fillWord);
  virtual ~TLanguagePack();
  TLanguagePack(const TLanguagePack&) = delete;
  TLanguagePack& operator=(const TLanguagePack&) = delete;

  virtual const TLanguageClass& Class() const = 0;
  QString GetFontName() const { return Class().GetFontName(); }
  QString GetMeaningFontName() const { return Class().GetMeaningFontName(); }
  int GetListFontSize() const { return Class().GetListFontSize(); }
  QString GetLetter(int index) const { return Class().GetLetter(index); }
  QString GetLetterLabel(int index) const { return Class().GetLetterLabel(index); }

  virtual QString GetCardFontName() const { return GetFontName(); }
  virtual QString GetCardSecondFontName() const { return QStringLiteral("David"); }
  virtual int GetCardFontSize() const { return 10; }
  virtual int GetCardSecondFontSize() const { return 12; }
  // Stable sorts: by the words' headwords, and by the item texts, in the language's order.
  virtual void SortWords(TWordItemList& list) const = 0;
  virtual void SortTexts(TWordItemList& list) const = 0;
  virtual QString GetLetterRemark(int index) const { return {}; }
  // 10 Hebrew, 20 English.
  virtual int GetCode() const = 0;
  virtual bool IsRightToLeft() const = 0;
  virtual bool IsMeaningRightToLeft() const = 0;
  // The letter of a word; may lie outside the alphabet.
  virtual int GetLetterIndex(const TWord& word) const { return word.LetterNumber; }
  // Names of the pronunciation resource databases, relative to the data folder.
  virtual QStringList GetAudioFolders() const = 0;
  virtual QString GetLetterCaption(int index) const { return GetLetter(index); }
  virtual QString GetLetterHint(int index) const { return {}; }
  virtual int GetFirstLetter() const { return 0; }
  virtual int GetLastLetter() const { return alphabetSize_ - 1; }

  quint8 LanguageId() const { return languageId_; }
  int AlphabetSize() const { return alphabetSize_; }
  bool IsLetter(int letter) const { return letter >= 0 && letter < alphabetSize_; }
  TWordList& WordList() { return *wordList_; }
  const TWordList& WordList() const { return *wordList_; }
  const std::vector<ILetterButton*>& LetterButtons() const { return buttons_; }

  // Index of the first button that is down, else -1.
  int SelectedLetter() const;
  int IndexOfButton(const ILetterButton* button) const;

  // One counter; 0 (and no change) for a letter outside the alphabet or a status outside 0..4.
  int GetCount(int letter, int status) const;
  void SetCount(int letter, int status, int value);
  // Statuses 0 + 1 + 2.
  int GetLetterTotal(int letter) const;
  // One word of the letter moves from one status to another when the from counter is above 0;
  // then the selected letter's counts are shown again.
  void MoveWord(int letter, int fromStatus, int toStatus);
  // Calls the counts callback: -2 the selected letter, any other negative value all letters
  // summed, otherwise that letter.
  void RefreshCounts(int letter);

  // The click of a letter button: when the click-allowed callback agrees, the button becomes the
  // one that is down, its counts are shown and the after-click callback runs.
  void LetterClick(ILetterButton* button);
  // -1 clears the selection; any other index clicks that letter's button (nothing for a letter
  // without a button).
  void SelectLetter(int index);
  void ClickLetter(int index) { SelectLetter(index); }
  // The selected button goes up and the totals of all letters are shown.
  void ClearLetter();

  // Appends, in word-list order, each word whose letter lies in first..last as (headword, word);
  // with skipKnown, words marked known are left out.
  void AddWordsOfLetters(TWordItemList& list, int first, int last, bool skipKnown) const;

  // 100 for a letter without words, else (c1 + 2 c2) x 100 / (c0 + c1 + c2).
  int LetterScore(int letter) const;
  // The mean of the letter scores over the alphabet.
  int AverageScore() const;

  // The letter one should be at by now (the progress panel's): the integer "FollowSupposed"
  // followed by the pack's code ("FollowSupposed10") in section "Main" of the program settings.
  QString FollowSupposedName() const;
  int ReadFollowSupposed(const TRegistryIniFile& settings, int def) const;
  void WriteFollowSupposed(TRegistryIniFile& settings, int value) const;

 private:
  TCounts Counts(int letter) const;

  quint8 languageId_;
  int alphabetSize_;
  std::vector<ILetterButton*> buttons_;
  std::vector<TCounts> counts_;
  std::unique_ptr<TWordList> wordList_;
  TClickAllowed clickAllowed_;
  TAfterClick afterClick_;
  TCountsCallback counts_callback_;
  // Cleared when the pack goes, so that handlers left on the buttons do nothing.
  std::shared_ptr<TLanguagePack*> self_;
};

class THebrewLanguage : public TLanguagePack {
 public:
  using TLanguagePack::TLanguagePack;

  // Letters U+05D0 alef .. U+05EA tav without the final forms; labels carry a "'"; any other
  // index fails with "Not a unit".
  static const TLanguageClass& LanguageClass();
  const TLanguageClass& Class() const override { return LanguageClass(); }

  void SortWords(TWordItemList& list) const override;
  void SortTexts(TWordItemList& list) const override;
  int GetCode() const override { return 10; }
  bool IsRightToLeft() const override { return true; }
  bool IsMeaningRightToLeft() const override { return true; }
  // The word's letter number counts from 1.
  int GetLetterIndex(const TWord& word) const override { return word.LetterNumber - 1; }
  QStringList GetAudioFolders() const override;
};

class TEnglishLanguage : public TLanguagePack {
 public:
  using TLanguagePack::TLanguagePack;

  // Fonts "Times New Roman" (meanings "David"); the letter is "A" + index, which for an index
  // from a word outside the alphabet gives back that word's first character (empty for control
  // characters and blanks).
  static const TLanguageClass& LanguageClass();
  const TLanguageClass& Class() const override { return LanguageClass(); }

  QString GetCardSecondFontName() const override { return QStringLiteral("Times New Roman"); }
  void SortWords(TWordItemList& list) const override;
  void SortTexts(TWordItemList& list) const override;
  int GetCode() const override { return 20; }
  bool IsRightToLeft() const override { return false; }
  bool IsMeaningRightToLeft() const override { return true; }
  // The search text upper-cased, a leading "TO " skipped, the first character's code minus 65
  // ("A" is 0). An empty rest gives -65, as if the text ended in a zero character: no letter.
  int GetLetterIndex(const TWord& word) const override;
  QStringList GetAudioFolders() const override;
};

inline constexpr const char* kNotAUnit = "Not a unit";

}  // namespace zabko
