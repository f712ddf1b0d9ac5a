#include "learn/frames/word_frame.h"

#include "core/language_pack.h"
#include "core/word.h"
#include "learn/frames/text_fit.h"
#include "net/zabkolex_central.h"
#include "platform/exception_handler.h"
#include "ui/form_loading.h"
#include "ui/mirror.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"

#include <QEvent>
#include <QMouseEvent>

#include <cmath>
#include <cstdlib>

namespace zabko {

namespace {

// Rounds to the nearest integer, halves to even.
int RoundEven(double value) { return int(std::nearbyint(value)); }

TGUIFont MakeFont(const QString& name, int height) {
  TGUIFont font;
  font.Name = name;
  font.Size = 0;
  font.Height = height;
  return font;
}

int Shrunk(int height) { return std::abs(height) - 1; }

}  // namespace

void FitFontToLabel(TGUIFont& font, const QSize& label, const QString& text, int ratio) {
  TTextMeasure& measure = MeasureCanvas();
  const auto inside = [&] {
    return label.height() > ratio * measure.TextHeight(font, text) &&
           ratio * label.width() > measure.TextWidth(font, text);
  };
  for (int i = 0; i < 100 && inside(); ++i) font.Height = std::abs(font.Height) + 1;
  for (int i = 0; i < 100 && !inside() && Shrunk(font.Height) >= kMinWordFontHeight; ++i) {
    font.Height = Shrunk(font.Height);
  }
}

TWordFrm::TWordFrm(QWidget* parent, TNManager* manager, const QString& name) : QWidget(parent) {
  setObjectName(name);
  resize(538, 38);
  setLayoutDirection(Qt::RightToLeft);

  TFormLoading loading(this);
  bckgStatic_ = new QWidget(this);
  bckgStatic_->setObjectName(QStringLiteral("BckgStatic"));
  bckgStatic_->setGeometry(0, 0, 538, 38);
  bckgStatic_->setAutoFillBackground(true);
  QPalette palette = bckgStatic_->palette();
  palette.setColor(QPalette::Window, WinColor(15985881));
  bckgStatic_->setPalette(palette);
  bckgStatic_->setAttribute(Qt::WA_OpaquePaintEvent, false);
  bckgStatic_->setMouseTracking(true);
  bckgStatic_->installEventFilter(this);

  lblBckg_ = new TMyShape(bckgStatic_, QStringLiteral("LblBckg"));
  lblBckg_->setGeometry(400, 1, 137, 36);
  lblBckg_->SetShape(TShapeType::RoundRect);
  lblBckg_->SetPenColor(clWhite);
  lblBckg_->SetRadiusX(3);
  lblBckg_->SetRadiusY(3);

  bigFont_ = MakeFont(QStringLiteral("Traditional Arabic"), 18);
  bigWordLbl_ = new TLabel2(bckgStatic_, QStringLiteral("BigWordLbl"));
  bigWordLbl_->SetAutoSize(false);
  bigWordLbl_->setGeometry(407, 10, 123, 19);
  bigWordLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  bigWordLbl_->setWordWrap(false);
  ApplyFont(bigWordLbl_, bigFont_);

  smallFont_ = MakeFont(QStringLiteral("David"), -13);
  smallWord_ = new TLabel2(bckgStatic_, QStringLiteral("SmallWord"));
  smallWord_->SetAutoSize(false);
  smallWord_->setGeometry(407, 2, 123, 34);
  smallWord_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  smallWord_->setWordWrap(true);
  smallWord_->hide();
  ApplyFont(smallWord_, smallFont_);

  explainFont_ = MakeFont(QStringLiteral("Arial"), 16);
  explainLbl_ = new TTntLabel(bckgStatic_, QStringLiteral("ExplainLbl"));
  explainLbl_->SetAutoSize(false);
  explainLbl_->setGeometry(1, 4, 369, 30);
  explainLbl_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  explainLbl_->setWordWrap(true);
  ApplyFont(explainLbl_, explainFont_);

  xBtnCmp_ = new TNBitmapComponent(this, QStringLiteral("XBtnCmp"));
  xBtnCmp_->SetManager(manager);
  xBtnCmp_->SetFilename(QStringLiteral("sinun\\sinun_bt.bmp"));
  btn_ = new TNButton(bckgStatic_, QStringLiteral("Btn"));
  btn_->setGeometry(375, 7, 21, 23);
  btn_->SetManager(manager);
  btn_->SetCanBeDown(true);
  btn_->SetClickableWhenDown(true);
  btn_->SetBitmapComponent(xBtnCmp_);
  loading.Finish();

  for (QWidget* label : {static_cast<QWidget*>(bigWordLbl_), static_cast<QWidget*>(smallWord_),
                         static_cast<QWidget*>(explainLbl_)}) {
    label->setMouseTracking(true);
    label->installEventFilter(this);
  }
  UpdateExplanationVisibility();
  connect(btn_, &TNBase::OnClick, this, &TWordFrm::BtnClick);
  connect(bigWordLbl_, &TTntLabel::OnClick, this, &TWordFrm::SmallWord2Click);
  connect(smallWord_, &TTntLabel::OnClick, this, &TWordFrm::SmallWord2Click);
}

void TWordFrm::ApplyFont(QWidget* label, const TGUIFont& font) {
  const TFontStyles style = WinFontStyle(label->font());
  label->setFont(WinFont(font.Name, 0, font.Height, style));
}

void TWordFrm::SetWord(TWord* word) {
  if (!word || word == word_) return;
  word_ = word;
  BckgStaticResize();
  UpdateExplanationVisibility();
}

void TWordFrm::SetShowExplanation(bool show) {
  if (show == showExplanation_) return;
  showExplanation_ = show;
  UpdateExplanationVisibility();
}

void TWordFrm::UpdateExplanationVisibility() { explainLbl_->setVisible(showExplanation_ && word_); }

void TWordFrm::SetMarked(bool marked) {
  if (marked == marked_) return;
  marked_ = marked;
  btn_->SetDown(marked);
  for (TLabel2* label : {bigWordLbl_, smallWord_}) {
    QFont font = label->font();
    font.setStrikeOut(marked);
    label->setFont(font);
  }
}

void TWordFrm::MirrorForLeftToRight() {
  MirrorChildren(this, true, {bckgStatic_}, TAnchorMirror::TopCornersOnly);
  rightToLeft_ = false;
}

void TWordFrm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Guarded([this] {
    BckgStaticResize();
  });
}

void TWordFrm::BckgStaticResize() {
  bckgStatic_->setGeometry(rect());
  const int cw = bckgStatic_->width();
  const int ch = bckgStatic_->height();
  const int boxWidth = qMax(137, cw / 4);
  const int radius = qMax(3, ch / 8);
  lblBckg_->SetRadiusX(radius);
  lblBckg_->SetRadiusY(radius);
  int boxLeft, explainLeft, explainWidth, btnLeft;
  if (rightToLeft_) {
    boxLeft = width() - boxWidth - 1;
    explainLeft = 1;
    explainWidth = boxLeft - 30;
    btnLeft = boxLeft - 25;
  } else {
    boxLeft = 1;
    explainLeft = boxLeft + boxWidth + 30;
    explainWidth = cw - explainLeft - 1;
    btnLeft = boxWidth + 5;
  }
  lblBckg_->setGeometry(boxLeft, lblBckg_->y(), boxWidth, lblBckg_->height());
  const int explainTop = qMax(4, ch / 20);
  explainLbl_->setGeometry(explainLeft, explainTop, explainWidth, ch - 2 * explainTop);
  explainFont_.Height = qMin(25, qMax(16, ch / 3));
  ApplyFont(explainLbl_, explainFont_);
  btn_->move(btnLeft, (ch - btn_->height()) / 2);

  const int inset = qMax(2, boxWidth / 20);
  const int bigHeight = ch / 2;
  bigWordLbl_->setGeometry(boxLeft + inset, (ch - bigHeight) / 2, boxWidth - 2 * inset, bigHeight);
  const int smallHeight = RoundEven(ch * 0.9);
  smallWord_->setGeometry(boxLeft + inset, (ch - smallHeight) / 2, boxWidth - 2 * inset, smallHeight);
  if (word_) Fill();
}

void TWordFrm::FitTwoLines(TTntLabel* label, TGUIFont& font, const QString& text, bool stopAtEllipsis) {
  for (;;) {
    ApplyFont(label, font);
    SplitTextToLabels(text, label, label, label);
    const QString rest = label->Caption();
    if (rest.isEmpty() || (stopAtEllipsis && rest == QLatin1String("..."))) break;
    if (Shrunk(font.Height) < kMinWordFontHeight) break;
    font.Height = Shrunk(font.Height);
  }
  label->SetCaption(text);
}

void TWordFrm::Fill() {
  if (!word_) return;
  TZabkolexCentral& central = Central();
  const TLanguagePack* pack = central.CurrentLanguagePack();
  const TAppTypeSpecific& appType = central.AppType();
  const QString text = word_->Headword;
  if (pack) {
    bigFont_.Name = pack->GetFontName();
    smallFont_.Name = pack->GetFontName();
    explainFont_.Name = pack->GetMeaningFontName();
  }
  FitFontToLabel(bigFont_, bigWordLbl_->size(), text, 1);
  FitFontToLabel(smallFont_, smallWord_->size(), text, 2);
  ApplyFont(bigWordLbl_, bigFont_);
  ApplyFont(smallWord_, smallFont_);
  for (TLabel2* label : {bigWordLbl_, smallWord_}) {
    QFont font = label->font();
    appType.StyleWordFont(font);
    label->setFont(font);
  }

  bigWordLbl_->SetCaption(text);
  bigWordLbl_->show();
  bigWordLbl_->setToolTip(text);
  smallWord_->setToolTip(text);
  explainLbl_->setToolTip(word_->MeaningsText());

  const bool wordsRightToLeft = pack && pack->IsRightToLeft();
  const Qt::Alignment horizontal =
      wordsRightToLeft == central.IsHebrewInterface() ? Qt::AlignLeft : Qt::AlignRight;
  for (TLabel2* label : {bigWordLbl_, smallWord_}) {
    label->setLayoutDirection(wordsRightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    label->setAlignment(horizontal | Qt::AlignVCenter);
  }

  FitTwoLines(smallWord_, smallFont_, text, true);

  int boxHeight;
  if (std::abs(bigFont_.Height) < std::abs(smallFont_.Height)) {
    boxHeight = RoundEven(smallWord_->height() * 1.1);
    bigWordLbl_->hide();
    smallWord_->SetCaption(text);
    smallWord_->show();
  } else {
    boxHeight = RoundEven((bigWordLbl_->height() + 2) * 1.1);
    smallWord_->hide();
  }
  const int backgroundHeight = bckgStatic_->height();
  lblBckg_->setGeometry(lblBckg_->x(), qMax(1, (backgroundHeight - boxHeight) / 2), lblBckg_->width(),
                        qMin(boxHeight, backgroundHeight - 2));

  FitTwoLines(explainLbl_, explainFont_, word_->MeaningsLine(), false);
}

void TWordFrm::BtnClick() { emit OnMarkClick(this); }

void TWordFrm::SmallWord2Click() { emit OnWordClick(this); }

void TWordFrm::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  Guarded([] { Central().WordHint = true; });
}

void TWordFrm::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  Guarded([] { Central().WordHint = false; });
}

bool TWordFrm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    Guarded([&] {
      const QWidget* source = watched == explainLbl_ ? static_cast<QWidget*>(explainLbl_) : bigWordLbl_;
      QFont font = source->font();
      SetWinFontStyle(font, {});
      Central().HintFont() = font;
    });
    // A label's move must not reach the background as well, which would set the word's font.
    return watched != bckgStatic_;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zabko
