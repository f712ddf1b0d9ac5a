#include "ui/tnt_label.h"

#include "ui/component.h"
#include "ui/event_guard.h"

#include <QEnterEvent>
#include <QMouseEvent>

namespace zabko {

// ---- TTntLabel -------------------------------------------------------------------------------

TTntLabel::TTntLabel(QWidget* parent, const QString& name) : QLabel(parent) {
  setObjectName(name);
  setTextFormat(Qt::PlainText);
  setTextInteractionFlags(Qt::NoTextInteraction);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TTntLabel::SetCaption(const QString& caption) {
  setText(caption);
  FitToCaption();
}

void TTntLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  FitToCaption();
}

void TTntLabel::SetTransparent(bool transparent) { setAutoFillBackground(!transparent); }

void TTntLabel::FitToCaption() {
  if (autoSize_ && !wordWrap()) resize(sizeHint());
}

void TTntLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) FitToCaption();
}

void TTntLabel::enterEvent(QEnterEvent* event) {
  QLabel::enterEvent(event);
  Guarded([this] {
    MouseEntered();
    emit OnMouseEnter();
  });
}

void TTntLabel::leaveEvent(QEvent* event) {
  QLabel::leaveEvent(event);
  Guarded([this] {
    MouseLeft();
    emit OnMouseLeave();
  });
}

void TTntLabel::mousePressEvent(QMouseEvent* event) {
  click_.Press(event);
  event->accept();
}

void TTntLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (click_.Release(event, this)) Guarded([this] { emit OnClick(); });
}

// ---- TLabel2 ---------------------------------------------------------------------------------

TLabel2::TLabel2(QWidget* parent, const QString& name) : TTntLabel(parent, name) {}

void TLabel2::SetWork(bool work) {
  work_ = work;
  if (!work) SetFontColor(this, clBlack);
}

void TLabel2::Paint(TColor color) {
  SetFontColor(this, color);
  if (other_) SetFontColor(other_, color);
}

void TLabel2::MouseEntered() {
  if (work_) Paint(kHoverColor);
}

void TLabel2::MouseLeft() {
  if (work_) Paint(clBlack);
}

// ---- TLinkLabel2 -----------------------------------------------------------------------------

TLinkLabel2::TLinkLabel2(QWidget* parent, const QString& name) : TTntLabel(parent, name) {}

void TLinkLabel2::MouseEntered() {
  if (!isEnabled() || !showLink_) return;
  savedColor_ = FontColor(this);
  linkLook_ = true;
  SetFontColor(this, linkColor_);
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  setCursor(Qt::PointingHandCursor);
}

void TLinkLabel2::MouseLeft() {
  // Only a look put on at the entry is taken off: a label entered while disabled keeps its colour.
  if (!showLink_ || !linkLook_) return;
  linkLook_ = false;
  SetFontColor(this, savedColor_);
  QFont plain = font();
  plain.setUnderline(false);
  setFont(plain);
  unsetCursor();
}

}  // namespace zabko
