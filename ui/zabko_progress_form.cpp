#include "ui/zabko_progress_form.h"

#include "ui/form_loading.h"
#include "ui/n_base.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QProgressBar>

namespace zabko {

TZabkoProgressForm::TZabkoProgressForm(TNManager* manager, QWidget* parent)
    : TProgressRunnerForm(parent, QStringLiteral("ZabkoProgressForm"), QStringLiteral("TimerStart"), kStartDelayMs) {
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setFixedSize(471, 99);
  setLayoutDirection(Qt::RightToLeft);
  setFont(WinFont(QStringLiteral("Arial"), 0, -15));
  setWindowTitle(QString::fromUtf8("אנא המתן..."));

  TFormLoading loading(this);
  bkg_ = new TNStatic(this, QStringLiteral("Bkg"));
  bkg_->setGeometry(0, 0, 471, 99);
  bkg_->SetManager(manager);
  bkg_->SetBackgroundName(QStringLiteral("Progress\\Bkg.bmp"));

  mainLbl_ = new TTntLabel(bkg_, QStringLiteral("MainLbl"));
  mainLbl_->SetAutoSize(false);
  mainLbl_->setGeometry(31, 24, 409, 17);
  mainLbl_->SetTransparent(true);

  progress_ = new QProgressBar(bkg_);
  progress_->setObjectName(QStringLiteral("Progress"));
  progress_->setGeometry(31, 64, 409, 16);
  progress_->setTextVisible(false);
  progress_->setRange(0, 0);
  loading.Finish();
}

void TZabkoProgressForm::ShowText(const QString& text) { mainLbl_->SetCaption(text); }

void TZabkoProgressForm::ApplyLeftToRight() {
  setWindowTitle(QStringLiteral("Please wait..."));
  setLayoutDirection(Qt::LeftToRight);
}

}  // namespace zabko
