// One word as a row: the headword in a rounded box at the reading-direction start of the row, its
// translation beside it, and a toggle button that marks the word. Every resize lays the row out
// again and refits the fonts to the row's height, so one frame serves list rows and large cards.
#pragma once

#include "ui/text_measure.h"

#include <QWidget>

namespace zabko {

class TLabel2;
class TMyShape;
class TNBitmapComponent;
class TNButton;
class TNManager;
class TTntLabel;
class TWord;

// The smallest font height the row shrinks a text to: a text that does not fit at it is cut.
inline constexpr int kMinWordFontHeight = 6;

// Grows and then shrinks Font (its height, kept positive once changed) until Text measured in it
// ends just inside a label of that size: in one line for Ratio 1, in two lines' height and twice
// the width for Ratio 2. Never below kMinWordFontHeight.
void FitFontToLabel(TGUIFont& font, const QSize& label, const QString& text, int ratio);

class TWordFrm : public QWidget {
  Q_OBJECT

 public:
  TWordFrm(QWidget* parent, TNManager* manager, const QString& name = QStringLiteral("WordFrm"));

  TWord* Word() const { return word_; }
  // Ignored for none and for the word already shown; otherwise lays out and fills the row.
  void SetWord(TWord* word);
  bool ShowExplanation() const { return showExplanation_; }
  void SetShowExplanation(bool show);
  bool Marked() const { return marked_; }
  // Presses the button and strikes both word labels out (or neither).
  void SetMarked(bool marked);
  bool RightToLeft() const { return rightToLeft_; }
  // Mirrors every control of the row within it (anchors left+top and top+right exchanged) and
  // lays the row out left to right from then on.
  void MirrorForLeftToRight();

  // Lays the row out for its size and fills it when a word is shown.
  void BckgStaticResize();
  // Fonts, captions, alignment and the one-line or two-line choice for the word shown.
  void Fill();

  // The fonts the last fill chose (heights as set).
  const TGUIFont& BigWordFont() const { return bigFont_; }
  const TGUIFont& SmallWordFont() const { return smallFont_; }
  const TGUIFont& ExplainFont() const { return explainFont_; }

 signals:
  void OnMarkClick(TWordFrm* sender);
  void OnWordClick(TWordFrm* sender);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BtnClick();
  void SmallWord2Click();
  void UpdateExplanationVisibility();
  void ApplyFont(QWidget* label, const TGUIFont& font);
  // Shrinks Font until Text leaves nothing over two lines of Label; with StopAtEllipsis a rest of
  // exactly "..." (a word too long for the label at any size) also ends it.
  void FitTwoLines(TTntLabel* label, TGUIFont& font, const QString& text, bool stopAtEllipsis);

  QWidget* bckgStatic_;
  TMyShape* lblBckg_;
  TLabel2* bigWordLbl_;
  TLabel2* smallWord_;
  TTntLabel* explainLbl_;
  TNButton* btn_;
  TNBitmapComponent* xBtnCmp_;

  TGUIFont bigFont_, smallFont_, explainFont_;
  TWord* word_ = nullptr;
  bool showExplanation_ = true;
  bool marked_ = false;
  bool rightToLeft_ = true;
};

}  // namespace zabko
