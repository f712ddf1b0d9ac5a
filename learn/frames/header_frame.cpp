#include "learn/frames/header_frame.h"

#include "core/app_type_specific.h"
#include "core/zabkolex_strings.h"
#include "learn/frames/text_fit.h"
#include "net/zabkolex_central.h"
#include "platform/exception_handler.h"
#include "ui/anchors.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

#include <QFontMetrics>

namespace zabko {

THeaderFrm::THeaderFrm(QWidget* parent, TNManager* manager) : QWidget(parent) {
  setObjectName(QStringLiteral("HeaderFrm"));
  resize(780, 57);
  setLayoutDirection(Qt::RightToLeft);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, WinColor(15263976));
  setPalette(palette);

  TFormLoading loading(this);
  const QFont poweredByFont = WinFont(QStringLiteral("Tahoma"), 0, -12);
  poweredBy2Lbl_ = new TTntLabel(this, QStringLiteral("PoweredBy2Lbl"));
  poweredBy2Lbl_->move(60, 42);
  poweredBy2Lbl_->setFont(poweredByFont);
  nStatic1_ = new TNStatic(this, QStringLiteral("NStatic1"));
  nStatic1_->setGeometry(12, 0, 142, 57);
  nStatic1_->SetManager(manager);
  nStatic1_->SetBackgroundName(QStringLiteral("main\\logo.bmp"));
  poweredBy1Lbl_ = new TTntLabel(nStatic1_, QStringLiteral("PoweredBy1Lbl"));
  poweredBy1Lbl_->move(48, 42);
  poweredBy1Lbl_->setFont(poweredByFont);

  mainBtnsCmp_ = new TNBitmapComponent(this, QStringLiteral("MainBtnsCMp"));
  mainBtnsCmp_->SetManager(manager);
  mainBtnsCmp_->SetFilename(QStringLiteral("Main\\HeadBtns.bmp"));
  struct TViewButton {
    TNButton*& button;
    const char* name;
    int left, x;
  } views[] = {
      {filterBtn_, "FilterBtn", 607, 300},
      {testBtn_, "TestBtn", 434, 150},
      {examBtn_, "ExamBtn", 260, 0},
  };
  for (const TViewButton& v : views) {
    v.button = new TNButton(this, QString::fromLatin1(v.name));
    v.button->setGeometry(v.left, 10, 161, 43);
    v.button->SetManager(manager);
    v.button->SetSize(50);
    v.button->SetX(v.x);
    v.button->SetBitmapComponent(mainBtnsCmp_);
    v.button->SetCanBeDown(true);
    v.button->SetAlignment(TAlignment::RightJustify);
    v.button->SetDeltaX(-20);
    v.button->SetDeltaYPlain(-1);
    v.button->SetDeltaYDown(-1);
    v.button->SetDeltaYOver(-1);
    v.button->setFont(WinFont(QStringLiteral("Arial"), 0, 22));
    SetAnchors(v.button, TAnchorKind::Top | TAnchorKind::Right);
  }

  exitHelpCmp_ = new TNBitmapComponent(this, QStringLiteral("ExitHelpCmp"));
  exitHelpCmp_->SetManager(manager);
  exitHelpCmp_->SetFilename(QStringLiteral("Main\\ExitHelpBtns.bmp"));
  const QFont smallFont = WinFont(QStringLiteral("Arial"), 0, -13, TFontStyle::Bold);
  exitBtn_ = new TNButton(this, QStringLiteral("ExitBtn"));
  exitBtn_->setGeometry(152, 0, 50, 29);
  exitBtn_->SetX(45);
  exitBtn_->SetSize(15);
  helpBtn_ = new TNButton(this, QStringLiteral("HelpBtn"));
  helpBtn_->setGeometry(202, 0, 47, 29);
  helpBtn_->SetX(0);
  helpBtn_->SetSize(15);
  helpBtn_->SetCanBeDown(true);
  helpBtn_->SetDeltaX(-2);
  homeBtn_ = new TNButton(this, QStringLiteral("HomeBtn"));
  homeBtn_->setGeometry(152, 28, 50, 29);
  homeBtn_->SetX(90);
  homeBtn_->SetSize(0);
  for (TNButton* button : {exitBtn_, helpBtn_, homeBtn_}) {
    button->SetManager(manager);
    button->SetBitmapComponent(exitHelpCmp_);
    button->SetAlignment(TAlignment::Center);
    button->setFont(smallFont);
  }
  loading.Finish();
}

void THeaderFrm::ApplyAppType() {
  const TAppTypeSpecific& appType = Central().AppType();
  helpBtn_->setVisible(appType.ShowHelpButton());
  const int offset = appType.HeaderButtonOffset();
  for (TNButton* button : {helpBtn_, homeBtn_, exitBtn_}) button->move(button->x() + offset, button->y());
  if (appType.CompactHomeButton()) {
    homeBtn_->setGeometry(helpBtn_->x() + 1, homeBtn_->y(), 45, homeBtn_->height());
    homeBtn_->SetX(homeBtn_->X() + 50);
    homeBtn_->ReloadAndRepaint();
  }
}

void THeaderFrm::SetLogo() { nStatic1_->SetBackgroundName(Central().AppType().GetMainLogoBitmap()); }

void THeaderFrm::LoadCaptions() {
  ApplyPanelTexts(QStringLiteral("HeaderFrm"), {helpBtn_, exitBtn_, filterBtn_, testBtn_, examBtn_}, false);
  const QString poweredBy = Central().Strings().GetString(QStringLiteral("PoweredByLine"));
  poweredBy1Lbl_->SetCaption(poweredBy);
  poweredBy2Lbl_->SetCaption(poweredBy);
  FitCaptions();
}

void THeaderFrm::FitCaptions() {
  // The view buttons' captions stand beside the icon in the sprite's left cap: right-justified
  // they end DeltaX from the right edge and must start clear of the icon; left-justified (left
  // to right) they start at DeltaX, right of the icon, and end before the right cap's rim.
  for (TNButton* button : {filterBtn_, testBtn_, examBtn_}) {
    const int room = button->Alignment() == TAlignment::RightJustify
                         ? button->width() + button->DeltaX() - kViewIconEnd - kCaptionGap
                         : button->width() - button->DeltaX() - kCaptionGap;
    FitButtonFont(button, room);
  }
  // The logo's "powered by" line ends inside the logo strip and before the buttons beside it.
  const int left = nStatic1_->x() + poweredBy1Lbl_->x();
  const QRect line(left, poweredBy1Lbl_->y(), 1, poweredBy1Lbl_->height());
  int right = nStatic1_->x() + nStatic1_->width();
  for (const TNButton* button : {helpBtn_, homeBtn_, exitBtn_}) {
    if (button->isHidden() || button->x() <= left) continue;
    if (button->y() < line.bottom() && button->y() + button->height() > line.top()) right = qMin(right, button->x() - kCaptionGap);
  }
  const QString text = poweredBy1Lbl_->Caption();
  ShrinkFontUntil(poweredBy1Lbl_, [&](const QFont& font) { return QFontMetrics(font).horizontalAdvance(text) <= right - left; });
  // The spare line under the logo takes the same font, so that it stays under the logo too.
  poweredBy2Lbl_->setFont(poweredBy1Lbl_->font());
}

void THeaderFrm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Guarded([this] { TntFrameResize(); });
}

void THeaderFrm::TntFrameResize() {
  const TAppTypeSpecific& appType = Central().AppType();
  for (TNButton* button : {examBtn_, testBtn_, filterBtn_}) appType.StyleMenuButton(button);
}

void THeaderFrm::ApplyLeftToRight() {
  const bool compactHome = Central().AppType().CompactHomeButton();
  for (TNButton* button : {helpBtn_, exitBtn_, homeBtn_}) {
    QFont font = button->font();
    SetWinFontSize(font, 9);
    button->setFont(font);
  }
  const int w = width();
  for (TNButton* button : {filterBtn_, testBtn_, examBtn_}) {
    QFont font = button->font();
    SetWinFontSize(font, 9);
    button->SetAlignment(TAlignment::LeftJustify);
    button->SetDeltaX(55);
    SetWinFontHeight(font, 20);
    button->setFont(font);
    button->move(w - button->x() - button->width(), button->y());
    button->ReloadAndRepaint();
  }
  nStatic1_->move(nStatic1_->x() + 530, nStatic1_->y());
  poweredBy2Lbl_->move(poweredBy2Lbl_->x() + 530, poweredBy2Lbl_->y());
  exitBtn_->move(exitBtn_->x() + 575, exitBtn_->y());
  helpBtn_->move(helpBtn_->x() + 475, helpBtn_->y());
  homeBtn_->move(compactHome ? helpBtn_->x() : exitBtn_->x(), homeBtn_->y());
  for (QWidget* control : {static_cast<QWidget*>(nStatic1_), static_cast<QWidget*>(poweredBy2Lbl_),
                           static_cast<QWidget*>(exitBtn_), static_cast<QWidget*>(helpBtn_),
                           static_cast<QWidget*>(homeBtn_)}) {
    SetAnchors(control, TAnchorKind::Top | TAnchorKind::Right);
  }
  for (TNButton* button : {filterBtn_, testBtn_, examBtn_}) SetAnchors(button, TAnchorKind::Left | TAnchorKind::Top);
  testBtn_->move((examBtn_->x() + filterBtn_->x()) / 2, testBtn_->y());
  setLayoutDirection(Qt::LeftToRight);
}

}  // namespace zabko
