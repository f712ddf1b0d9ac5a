#include "learn/frames/footer_frame.h"

#include "core/app_type_specific.h"
#include "net/zabkolex_central.h"
#include "ui/anchors.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

namespace zabko {

TFooterPlacement PlaceFooter(int printLeft, int playerLeft, int count, int buttonWidth, int prodLeft,
                             int dotsWidth, int logoWidth) {
  TFooterPlacement result;
  const int n = qMax(count, 1);
  for (int i = 0; i < n; ++i) {
    result.ButtonLefts << printLeft + (playerLeft - printLeft) * i + (i + 1) * (10 * n - 40);
  }
  const int first = result.ButtonLefts.first();
  result.RightDotsLeft = first + (prodLeft + buttonWidth - first - dotsWidth) / 2;
  const int gap = result.RightDotsLeft - (first + buttonWidth);
  result.LeftDotsLeft = result.ButtonLefts.last() - gap - dotsWidth;
  result.LogoLeft = result.LeftDotsLeft - gap - logoWidth;
  return result;
}

TFotterFrm::TFotterFrm(QWidget* parent, TNManager* manager) : QWidget(parent) {
  setObjectName(QStringLiteral("FotterFrm"));
  resize(790, 57);
  setLayoutDirection(Qt::RightToLeft);

  TFormLoading loading(this);
  nStatic1_ = new TNStatic(this, QStringLiteral("NStatic1"));
  nStatic1_->setGeometry(0, 0, 790, 57);
  nStatic1_->SetManager(manager);
  nStatic1_->SetTile(true);
  nStatic1_->SetBackgroundName(QStringLiteral("main\\FotterTile.bmp"));
  SetAnchors(nStatic1_, TAnchorKind::Left | TAnchorKind::Top | TAnchorKind::Right | TAnchorKind::Bottom);

  const auto sheet = [&](const char* name, const char* file) {
    auto* component = new TNBitmapComponent(this, QString::fromLatin1(name));
    component->SetManager(manager);
    component->SetFilename(QString::fromLatin1(file));
    return component;
  };
  settingsCmp_ = sheet("SettingsCmp", "Main\\ProdPrefBtn.bmp");
  proBtnsCmp_ = sheet("ProBtnsCmp", "Main\\ProdBtn.bmp");
  sendCmp_ = sheet("SendCmp", "Main\\SendBtns.bmp");
  const auto button = [&](const char* name, QRect geometry, TNBitmapComponent* component, int x) {
    auto* b = new TNButton(nStatic1_, QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->SetManager(manager);
    b->SetX(x);
    b->SetBitmapComponent(component);
    return b;
  };
  prodBtn_ = button("ProdBtn", {654, 12, 124, 35}, settingsCmp_, 0);
  prodBtn_->SetSize(35);
  prodBtn_->SetDeltaX(15);
  prodBtn_->SetDeltaYPlain(-1);
  prodBtn_->setFont(WinFont(QStringLiteral("Arial"), 0, 22));
  printBtn_ = button("PrintBtn", {555, 12, 83, 35}, proBtnsCmp_, 249);
  playerBtn_ = button("PlayerBtn", {471, 12, 83, 35}, proBtnsCmp_, 166);
  cdBtn_ = button("CDBtn", {387, 12, 83, 35}, proBtnsCmp_, 83);
  mobileBtn_ = button("MobileBtn", {303, 12, 83, 35}, proBtnsCmp_, 0);
  contactBtn_ = button("ContactBtn", {66, 4, 52, 26}, sendCmp_, 52);
  sendFriendBtn_ = button("SendFriendBtn", {14, 4, 52, 26}, sendCmp_, 0);
  contactBtn_->SetCanBeDown(true);
  sendFriendBtn_->SetCanBeDown(true);

  const auto picture = [&](const char* name, QRect geometry, const char* file) {
    auto* s = new TNStatic(nStatic1_, QString::fromLatin1(name));
    s->setGeometry(geometry);
    s->SetManager(manager);
    s->SetBackgroundName(QString::fromLatin1(file));
    return s;
  };
  viZoLogo_ = picture("ViZoLogo", {208, 0, 73, 57}, "main\\fotterLogo.bmp");
  leftDots_ = picture("LeftDots", {286, 0, 12, 57}, "main\\fotterDots.bmp");
  rightDots_ = picture("RightDots", {639, 0, 12, 57}, "main\\fotterDots.bmp");
  // The right-hand group keeps its place at the bar's right edge, as the header's buttons do.
  for (QWidget* control : {static_cast<QWidget*>(prodBtn_), static_cast<QWidget*>(printBtn_),
                           static_cast<QWidget*>(playerBtn_), static_cast<QWidget*>(cdBtn_),
                           static_cast<QWidget*>(mobileBtn_), static_cast<QWidget*>(viZoLogo_),
                           static_cast<QWidget*>(leftDots_), static_cast<QWidget*>(rightDots_)}) {
    SetAnchors(control, TAnchorKind::Top | TAnchorKind::Right);
  }
  loading.Finish();
}

void TFotterFrm::ApplyAppType() {
  const TAppTypeSpecific& appType = Central().AppType();
  mobileBtn_->setVisible(appType.ShowMobileButton());
  contactBtn_->setVisible(appType.ShowContactButton());
  sendFriendBtn_->setVisible(appType.ShowSendToFriendButton());
  cdBtn_->setVisible(appType.HasAudio());
  playerBtn_->setVisible(appType.HasAudio());

  const int printLeft = printBtn_->x();
  const int playerLeft = playerBtn_->x();
  QList<TNButton*> visible;
  for (TNButton* b : {printBtn_, playerBtn_, cdBtn_, mobileBtn_}) {
    if (b->isVisibleTo(this)) visible << b;
  }
  // The print button always shows; an application type hiding it still keeps one in place.
  if (visible.isEmpty()) visible << printBtn_;
  const TFooterPlacement placement = PlaceFooter(printLeft, playerLeft, int(visible.size()), printBtn_->width(),
                                                 prodBtn_->x(), rightDots_->width(), viZoLogo_->width());
  for (qsizetype i = 0; i < visible.size(); ++i) visible[i]->move(placement.ButtonLefts[i], visible[i]->y());
  rightDots_->move(placement.RightDotsLeft, rightDots_->y());
  leftDots_->move(placement.LeftDotsLeft, leftDots_->y());
  viZoLogo_->move(placement.LogoLeft, viZoLogo_->y());
  QList<QWidget*> moved(visible.begin(), visible.end());
  moved << rightDots_ << leftDots_ << viZoLogo_;
  for (QWidget* control : moved) SetAnchors(control, GetAnchors(control));
  appType.StyleMenuButton(prodBtn_);
}

void TFotterFrm::SetLogo() { viZoLogo_->SetBackgroundName(Central().AppType().GetFooterLogoBitmap()); }

void TFotterFrm::LoadCaptions() {
  ApplyPanelTexts(QStringLiteral("FotterFrm"),
                  {prodBtn_, printBtn_, playerBtn_, cdBtn_, mobileBtn_, contactBtn_, sendFriendBtn_}, false);
}

void TFotterFrm::ApplyLeftToRight() {
  QFont font = prodBtn_->font();
  SetWinFontHeight(font, 20);
  prodBtn_->setFont(font);
}

}  // namespace zabko
