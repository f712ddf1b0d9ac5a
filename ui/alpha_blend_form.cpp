#include "ui/alpha_blend_form.h"

#include "platform/gui/window_helpers.h"

#include <QEvent>
#include <QPainter>

namespace zabko {

TAlphaBlendForm::TAlphaBlendForm(QWidget* covered, TColor color) : QWidget(covered), color_(color) {
  setObjectName(QStringLiteral("AlphaBlendForm"));
  setGeometry(covered->rect());
  covered->installEventFilter(this);
}

void TAlphaBlendForm::SetAlpha(int percent) {
  percent = qBound(0, percent, 100);
  if (percent == alpha_) return;
  alpha_ = percent;
  update();
}

void TAlphaBlendForm::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QColor color = WinColor(color_);
  color.setAlpha(LayerAlpha());
  painter.fillRect(rect(), color);
}

bool TAlphaBlendForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  return false;
}

QWidget* DimmerTarget(QWidget* active) {
  QWidget* covered = active ? active->window() : nullptr;
  while (covered && !covered->isVisible()) covered = covered->parentWidget() ? covered->parentWidget()->window() : nullptr;
  return covered;
}

TAlphaBlendForm* CreateDimmer(TColor color, int alphaPercent, bool show) {
  return CreateDimmer(color, alphaPercent, show, DimmerTarget(FindActiveForm()));
}

TAlphaBlendForm* CreateDimmer(TColor color, int alphaPercent, bool show, QWidget* covered) {
  if (!covered) return nullptr;
  TAlphaBlendForm* cover = nullptr;
  // A box shows without a cover rather than not at all: a failure here is not reported.
  try {
    cover = new TAlphaBlendForm(covered, color);
    cover->SetAlpha(alphaPercent);
    if (show && covered->isVisible()) {
      cover->raise();
      cover->show();
    }
  } catch (...) {
    delete cover;
    return nullptr;
  }
  return cover;
}

TAlphaBlendForm* ShowDimmer(int alphaPercent, bool show) { return CreateDimmer(kDimmerGrey, alphaPercent, show); }

}  // namespace zabko
