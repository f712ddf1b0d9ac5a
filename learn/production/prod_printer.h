// Card printing: chosen words on A4 sheets in four layouts: two-sided cards, eight to a landscape
// sheet, backs printed after the sheets are turned over (0); folded cards, four to a landscape
// sheet, front above and back below the fold (1); word lists on half pages, two areas of a
// portrait sheet (2); one half-page area printed twice, headwords on one half, headwords and
// meanings on the other (3).
//
// All text is printed turned by 180 degrees and written from the bottom of each card upwards on
// the paper, so a sheet is read after turning it round. The words are first laid out into pages
// of cards (TPage, TCard), each card holding as many words as fit its height; then the pages are
// drawn in the progress window.
#pragma once

#include "core/language_pack.h"
#include "platform/gui/printer_canvas.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zabko {

class IMessageService;
class IProgressRunner;
class TAppTypeSpecific;
class TWord;
class TZabkolexStrings;

class TCard {
 public:
  std::vector<TWord*> Words;  // not owned, in print order
  int RemainingHeight = 0;    // printer pixels
};

class TPage {
 public:
  std::vector<std::unique_ptr<TCard>> Cards;
  TCard& NewCard() { return *Cards.emplace_back(std::make_unique<TCard>()); }
};

// What a print run works with besides its words.
struct TPrintServices {
  IPrinterCanvas* Canvas = nullptr;
  IProgressRunner* Progress = nullptr;
  IMessageService* Messages = nullptr;
  const TZabkolexStrings* Texts = nullptr;
  const TAppTypeSpecific* AppType = nullptr;
  // Reading order of the headwords and the meanings.
  const TLanguagePack* Pack = nullptr;
  // The card background (the skin's "cards_print.bmp"); printed when the application type says so.
  QImage Background;
};

class TProdPrinter {
 public:
  enum TLayout : int { kCards8 = 0, kCards4 = 1, kHalfPagesBoth = 2, kHalfPageOne = 3 };
  static constexpr int kMaxRightSpace = 50;

  // RightToLeft: the interface is not English. Font names are the Windows names the language
  // packs give; sizes in points.
  TProdPrinter(TPrintServices services, bool rightToLeft, const QString& wordFontName, const QString& meaningsFontName,
               int wordFontSize, int meaningsFontSize);
  ~TProdPrinter();

  // The words to print, sorted, each with its word.
  void SetWordList(const TWordItemList& words) { wordList_ = words; }
  // Millimetres the first column loses, 0 to 50 (clamped).
  void SetRightSpace(int millimetres);

  // Layout 0 or 1.
  void PrintCards(int layout);
  // Two areas: layout 2, else 3.
  void PrintHalfPages(bool twoAreas);

  // The layout of the last run, open for tests.
  const std::vector<std::unique_ptr<TPage>>& Pages() const { return pages_; }
  int Layout() const { return layout_; }
  int CardWidth() const { return cardWidth_; }
  int CardHeight() const { return cardHeight_; }
  int LineHeight() const { return lineHeight_; }
  int Margin() const { return margin_; }
  int ColumnLeft(int column) const;
  int ColumnTextPosition(int column) const;
  int ColumnTextWidth(int column) const;
  // The width card Index of a page is laid out and drawn with.
  int CardTextWidth(int index) const;
  // Text split into lines below Width in the current font; every line begins with a blank, and a
  // token wider than the width is cut.
  QStringList WrapText(const QString& text, int width);

 private:
  bool BeginPrinting(TPaperOrientation orientation);
  void EndPrinting();
  void ComputeGeometry();
  void LayOut(int cardsPerPage);
  void FillPage(TWordItemList& words, qsizetype& next, int cardsPerPage);
  // Prints every page in the progress window; false when the job did not complete.
  bool PrintPagesInProgress();
  void PrintPages();
  void DrawPage(const TPage& page, bool front);
  void DrawCard(const TCard& card, int x, bool front, int width, int verticalOffset);
  // Draws (or with MeasureOnly only measures) the text wrapped to Width upwards from Y.
  void DrawWrapped(int x, int width, bool rightToLeft, int& y, const QString& text, bool measureOnly);
  int WrappedHeight(const QString& text, int width);
  void UseWordFont();
  void UseMeaningsFont();
  QString Text(const QString& key) const;

  TPrintServices services_;
  IPrinterCanvas& canvas_;
  TWordItemList wordList_;
  std::vector<std::unique_ptr<TPage>> pages_;
  bool rightToLeft_;
  TPrintFont wordFont_;
  TPrintFont meaningsFont_;
  int rightSpace_ = 0;
  int layout_ = kCards8;
  int maxWordsPerCard_ = 6;
  int cardWidth_ = 0;
  int cardHeight_ = 0;
  int columnWidth_ = 0;
  int firstColumnWidth_ = 0;
  int margin_ = 0;
  int resolution_ = 0;
  int lineHeight_ = 0;
  bool front_ = true;
  bool begun_ = false;
  int cardTop_ = 0;  // of the card being drawn
};

}  // namespace zabko
