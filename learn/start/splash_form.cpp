#include "learn/start/splash_form.h"

#include "core/file.h"
#include "core/zabkolex_strings.h"
#include "ui/event_guard.h"
#include "ui/form_loading.h"
#include "ui/gui_text_builder.h"
#include "ui/n_base.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QShowEvent>
#include <QTimer>

namespace zabko {

namespace {

struct TBrand {
  const char* logo;
  const char* poweredBy;
  QRect logoRect;
  QPoint poweredByPos;
};

// ZabkolexLogo is this program's; the other editions' logos stay hidden.
const TBrand kBrands[] = {
    {"ZabkolexLogo", "ZabkolexPowerBy", QRect(14, 12, 48, 48), QPoint(68, 28)},
    {"QELLogo", "QELPoweredBy", QRect(14, 12, 48, 48), QPoint(68, 28)},
    {"CognivaLogo", "CognivaPoweredBy", QRect(14, 12, 48, 48), QPoint(68, 28)},
    {"KeldaraLogo", "KeldaraPoweredBy", QRect(14, 12, 48, 48), QPoint(68, 28)},
};

}  // namespace

TSplashForm::TSplashForm(TNManager* manager, const TZabkolexStrings& strings, bool hebrew, QWidget* parent)
    : TModalForm(parent, QStringLiteral("SplashForm")), strings_(strings), hebrew_(hebrew) {
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setFixedSize(550, 400);
  setLayoutDirection(Qt::RightToLeft);
  setFont(WinFont(QStringLiteral("Arial"), 0, -15));

  TFormLoading loading(this);
  splashBkg_ = new TNStatic(this, QStringLiteral("SplashBkg"));
  splashBkg_->setGeometry(0, 0, 550, 400);
  splashBkg_->SetManager(manager);
  splashBkg_->SetBackgroundName(QStringLiteral("Splash.bmp"));

  loadLbl_ = new TTntLabel(splashBkg_, QStringLiteral("LoadLbl"));
  loadLbl_->SetAutoSize(false);
  loadLbl_->setGeometry(56, 278, 248, 17);
  label3_ = new TTntLabel(splashBkg_, QStringLiteral("Label3"));
  label3_->move(420, 373);
  buildNumberLbl_ = new TTntLabel(splashBkg_, QStringLiteral("BuildNumberLbl"));
  buildNumberLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, -13));
  buildNumberLbl_->move(521, 373);

  for (const TBrand& brand : kBrands) {
    auto* logo = new TNStatic(splashBkg_, QString::fromLatin1(brand.logo));
    logo->setGeometry(brand.logoRect);
    logo->SetManager(manager);
    logo->SetColor(clNone);
    logo->setCursor(Qt::PointingHandCursor);
    logo->hide();
    connect(logo, &TNBase::OnClick, this, &TSplashForm::QELLogoClick);
    connect(logo, &TNBase::OnDblClick, this, &TSplashForm::QELLogoClick);
    logos_ << logo;
    auto* label = new TTntLabel(splashBkg_, QString::fromLatin1(brand.poweredBy));
    label->move(brand.poweredByPos);
    label->hide();
    poweredBy_ << label;
  }
  logos_[0]->SetBackgroundName(QStringLiteral("Splash\\ZabkolexLogo.bmp"));
  loading.Finish();

  loadTimer_ = new QTimer(this);
  loadTimer_->setObjectName(QStringLiteral("LoadTimer"));
  loadTimer_->setInterval(kLoadInterval);
  connect(loadTimer_, &QTimer::timeout, this, [this] { Guarded([this] { LoadTimerTimer(); }); });
}

void TSplashForm::showEvent(QShowEvent* event) {
  TModalForm::showEvent(event);
  if (!event->spontaneous()) Guarded([this] { TntFormShow(); });
}

void TSplashForm::TntFormShow() {
  const bool noHomepage = strings_.GetString(QStringLiteral("HomepageURL")) == QStringLiteral(" ");
  if (noHomepage) {
    for (TNStatic* logo : logos_) logo->setCursor(Qt::ArrowCursor);
  }
  loadLbl_->SetCaption(strings_.GetString(QStringLiteral("SplashLoadLine1")));
  label3_->SetCaption(strings_.GetString(QStringLiteral("SplashAllRights")));
  buildNumberLbl_->SetCaption(QStringLiteral("[build %1p]").arg(kBuildNumber));
  // The build line ends at the form's edge, whatever the font makes of it.
  buildNumberLbl_->move(qMin(buildNumberLbl_->x(), width() - buildNumberLbl_->width() - 4), buildNumberLbl_->y());
  label3_->move(qMin(label3_->x(), buildNumberLbl_->x() - label3_->width() - 8), label3_->y());
  BuildText();
  CenterOnScreen();
  loadTimer_->start();
}

void TSplashForm::BuildText() {
  TGUITextBuilder builder;
  builder.RightToLeft = hebrew_;
  builder.ParseRun(strings_.GetString(QStringLiteral("SplashTextVersion")) +
                   strings_.GetString(QStringLiteral("VersionNumber")) +
                   strings_.GetString(QStringLiteral("VersionType")));
  builder.ParseRun(QStringLiteral("\\n"));
  builder.ParseRun(strings_.GetString(QStringLiteral("SplashTextOneLiner")));
  builder.Parse(QStringLiteral("\\n~\\n~\\n~\\n~\\n~\\n"));
  builder.Parse(strings_.GetString(QStringLiteral("SplashTextBoldLiner")));
  builder.LayoutInRect(splashBkg_, {50, 103, 507, 600});
  poweredBy_[0]->SetCaption(strings_.GetString(QStringLiteral("PoweredByLine")));
}

void TSplashForm::LoadTimerTimer() {
  // A tick that comes while a step's callback lets events run does nothing.
  if (step_ == lastHandled_) return;
  lastHandled_ = step_;
  static const char* const kLines[] = {"SplashLoadLine2", "SplashLoadLine5", "SplashLoadLine3", "SplashLoadLine4"};
  if (step_ >= 0 && step_ < 4) loadLbl_->SetCaption(strings_.GetString(QString::fromLatin1(kLines[step_])));
  if (StepCallback) {
    try {
      StepCallback(step_);
    } catch (...) {
      // The step is handled and never counted: the splash closes and the start-up ends.
      loadTimer_->stop();
      SetModalResult(mrCancel);
      throw;
    }
  }
  ++step_;
  if (step_ == 4) {
    loadTimer_->stop();
    SetModalResult(mrOk);
  }
}

void TSplashForm::ShowPoweredBy() {
  logos_[0]->show();
  poweredBy_[0]->SetCaption(strings_.GetString(QStringLiteral("PoweredByLine")));
  poweredBy_[0]->show();
}

void TSplashForm::ApplyLeftToRight() {
  setLayoutDirection(Qt::LeftToRight);
  loadLbl_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void TSplashForm::QELLogoClick() {
  const QString url = strings_.GetString(QStringLiteral("HomepageURL"));
  if (url != QStringLiteral(" ")) TFile::ShellOpen(url);
}

QList<QWidget*> TSplashForm::BrandControls() const {
  QList<QWidget*> controls;
  for (int i = 0; i < logos_.size(); ++i) controls << logos_[i] << poweredBy_[i];
  return controls;
}

}  // namespace zabko
