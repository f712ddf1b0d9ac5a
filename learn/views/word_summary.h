// A modal window that lists a titled set of words nine rows at a time: a test's right, wrong
// and not-known words, a letter's knowledge class, hot words, search results. A click on a row
// opens the word card with its sounds.
#pragma once

#include "core/language_pack.h"
#include "ui/modal_form.h"

#include <QFont>

#include <array>

class QScrollBar;

namespace zabko {

class IViewHost;
class TMyShape;
class TNBitmapComponent;
class TNButton;
class TNManager;
class TTntLabel;
class TWord;
class TWordFrm;

constexpr int kSummaryRows = 9;

// Layout of the summary's rows: separator tops and the row height for a client height.
struct TSummaryLayout {
  std::array<int, kSummaryRows> ShapeTops;
  int RowHeight;
};
TSummaryLayout SummaryLayout(int clientHeight, int shape1Top);

class TWordSummary : public TModalForm {
  Q_OBJECT

 public:
  TWordSummary(QWidget* parent, IViewHost& host, TNManager* manager);

  // Shows the words modally; an empty list only tells the learner so.
  void ShowWords(const QString& title, const TWordItemList& words);
  // The same for a list whose items carry their words (the texts are not used).
  void ShowStringList(const QString& title, const TWordItemList& list);
  void ApplyLeftToRight();
  static void Flip(QWidget* control);

  // Fills the rows from that index (the scroll bar's handler).
  void ShowRows(int first);
  void OnWordClick(TWordFrm* row);
  void OnCardEvent(int code);

  // Set by tests: the window is filled and laid out but not run modally.
  bool NoModalLoop = false;
  const TWordItemList& Words() const { return words_; }
  QScrollBar* ScrollBar() const { return scrollBar_; }
  TWordFrm* Row(int i) const { return i >= 0 && i < int(rows_.size()) ? rows_[i] : nullptr; }
  // The card opener (tests replace it).
  std::function<void(TWord* word)> OpenCard;
  // Hands the list (decimal word ids) and its title to production once the window has closed;
  // the production button shows only when it is set.
  std::function<void(const QStringList& ids, const QString& title)> OnProduce;
  void ProdBtnClick();
  TNButton* ProdBtn() const { return prodBtn_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateRows();
  void HandToProduction();
  void LayoutRows();
  // The title in its own font, or smaller where it needs more room than the title line gives.
  void FitTitle();

  // The title's left edge: the production button's right edge (16 + 83) and a gap.
  static constexpr int kTitleLeft = 107;
  // Where the note in the production button's left cap ends.
  static constexpr int kProdIconEnd = 13;

  IViewHost& host_;
  TNManager* manager_;
  TWordItemList words_;
  std::array<TMyShape*, kSummaryRows> shapes_{};
  std::array<TWordFrm*, kSummaryRows> rows_{};
  TTntLabel* sumLbl_;
  QFont titleFont_;
  QScrollBar* scrollBar_;
  TNButton* prodBtn_;
  TNBitmapComponent* prodCmd_;
  bool firstShow_ = true;
  TWord* cardWord_ = nullptr;
  bool produce_ = false;
};

}  // namespace zabko
