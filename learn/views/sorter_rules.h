// The rules of the known-words sorter without its widgets: the letter's words eight to a page,
// the page remembered per pack and letter, the known marks and the queue of mark changes that
// goes to the answer holder, the summary of marked words, and the row layout.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <map>

namespace zabko {

class TRegistryIniFile;
class TWord;

constexpr int kSorterRows = 8;
// Sprite tops of the page buttons in their sheet.
constexpr int kPageButtonEnabledY = 0;
constexpr int kPageButtonDisabledY = 51;

// Nearest integer, halves to even.
int RoundHalfEven(double value);

int SorterPageCount(int wordCount);

// The page buttons of a page: which is enabled, and its sprite top. In a left-to-right layout
// the buttons trade places (and handlers), so their tests trade too.
struct TPageButtons {
  bool PrevEnabled;
  bool NextEnabled;
  int PrevY;
  int NextY;
};
TPageButtons SorterPageButtons(int page, int pageCount, bool leftToRight);

// The saved page of a letter: section "Filter", key "L" + pack code + "_" + letter; a store
// written before packs had keys of their own has "L" + letter, read when the first is absent.
int ReadSorterPage(const TRegistryIniFile& settings, int packCode, int letter);
void WriteSorterPage(TRegistryIniFile& settings, int packCode, int letter, int page);

// Mark changes waiting to be reported, one per word, in the text order of their decimal ids.
class TPendingMarks {
 public:
  void Add(TWord* word);
  int Count() const { return static_cast<int>(items_.size()); }
  // Reports each change, first to last, as kind 3 when the word is marked now and 4 when not,
  // and empties the queue.
  void Flush(const std::function<void(qint32 wordId, quint8 kind)>& report);

 private:
  std::map<QByteArray, TWord*> items_;
};

// Layout of the rows under the separators.
struct TSorterLayout {
  std::array<int, 9> ShapeTops;
  std::array<int, kSorterRows> RowTops;
  int RowHeight;
  int ScrollTop;
  int ScrollHeight;
};
// shape2Top is the second separator's top before this layout (the summary measures from it).
TSorterLayout SorterLayout(int clientHeight, int shape1Top, int shape2Top, bool summary);

// The sorter's state: one letter's words, the page, the summary of marked words.
class TSorterModel {
 public:
  // Loads a letter's words (already in the pack's text order) at a saved page.
  void LoadLetter(int letter, QList<TWord*> words, int savedPage);
  // The "Open" page: no letter is shown, so no page is saved.
  void CloseLetter();
  bool HasLetter() const { return hasLetter_; }
  int Letter() const { return letter_; }
  int PageCount() const { return SorterPageCount(static_cast<int>(words_.size())); }
  int Page() const { return page_; }
  const QList<TWord*>& Words() const { return words_; }

  // The words of the rows: the page's, or the marked words from the summary position.
  QList<TWord*> RowWords() const;

  // Page moves; false when the page stays.
  bool Next();
  bool Prev();
  void First() { page_ = 0; }

  // Sets a word's mark and queues the change.
  void SetWordKnown(TWord* word, bool known);
  TPendingMarks& Pending() { return pending_; }

  bool Summary() const { return summary_; }
  // Enters or leaves the summary; entering collects the marked words in letter order.
  bool SetSummary(bool on);
  const QList<TWord*>& Marked() const { return marked_; }
  void SetSummaryScroll(int position) { summaryScroll_ = position; }
  int SummaryScroll() const { return summaryScroll_; }
  // The summary scroll bar is enabled for more than a page of marked words, up to this maximum.
  bool SummaryScrolls() const { return marked_.size() > kSorterRows; }
  int SummaryScrollMax() const { return std::max(0, static_cast<int>(marked_.size()) - kSorterRows); }

 private:
  int letter_ = 0;
  bool hasLetter_ = false;
  QList<TWord*> words_;
  QList<TWord*> marked_;
  int page_ = 0;
  bool summary_ = false;
  int summaryScroll_ = 0;
  TPendingMarks pending_;
};

}  // namespace zabko
