#include "game/play/game_utils.h"

#include "platform/gui/window_helpers.h"
#include "ui/alpha_blend_form.h"
#include "ui/modal_form.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPointer>

#include <memory>

namespace zabko {

int ShowModalDimmed(TModalForm& form, TColor color, int alpha) {
  // The active window, or the visible window it belongs to; while none is active (activation
  // comes back late after another dialog) the window that owns the form.
  QWidget* target = DimmerTarget(FindActiveForm());
  if (!target && form.parentWidget()) target = DimmerTarget(form.parentWidget());
  if (target == &form) target = nullptr;
  std::unique_ptr<TAlphaBlendForm> cover;
  if (target) cover.reset(CreateDimmer(color, alpha, true, target));
  if (cover) {
    const QRect area(cover->mapToGlobal(QPoint(0, 0)), cover->size());
    form.move(area.left() + (area.width() - form.width()) / 2, area.top() + (area.height() - form.height()) / 2);
  }
  // The cover is a child of the covered window, which may go first while the form shows.
  QPointer<TAlphaBlendForm> guard(cover.release());
  struct Cleanup {
    QPointer<TAlphaBlendForm>& cover;
    ~Cleanup() { delete cover.data(); }
  } cleanup{guard};
  return form.ShowModal();
}

int ShowModalGreyDimmed(TModalForm& form, int alpha) { return ShowModalDimmed(form, kDimmerGrey, alpha); }

QMessageBox::StandardButton PlainBox(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons) {
  QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), text, buttons, parent);
  box.setLayoutDirection(Qt::RightToLeft);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void AlphaBlendCanvas(QPainter& dest, int x, int y, int alpha, const QImage& source, int height, int width) {
  dest.save();
  dest.setOpacity(qBound(0, alpha, 255) / 255.0);
  dest.drawImage(QPoint(x, y), source, QRect(0, 0, width, height));
  dest.restore();
}

void AlphaBlendBitmap(QPainter& dest, int x, int y, int alpha, const QImage& bitmap) {
  AlphaBlendCanvas(dest, x, y, alpha, bitmap, bitmap.height(), bitmap.width());
}

QRect TextRect(const QPainter& canvas, const QString& text) {
  const QFontMetrics metrics(canvas.font());
  return QRect(0, 0, metrics.horizontalAdvance(text), metrics.height());
}

QRect OffsetRectBy(const QRect& rect, int dx, int dy) { return rect.translated(dx, dy); }

QRect InflateRectBy(const QRect& rect, int dx, int dy) { return rect.adjusted(-dx, -dy, dx, dy); }

void TextOutRight(QPainter& canvas, int x, int y, const QString& text) {
  const QFontMetrics metrics(canvas.font());
  canvas.drawText(QPoint(x - metrics.horizontalAdvance(text), y + metrics.ascent()), text);
}

void SetFontNSS(QFont& font, const QString& name, int size, TFontStyles style) {
  SetWinFontName(font, name);
  SetWinFontSize(font, size);
  SetWinFontStyle(font, style);
}

int RandomBetween(int a, int b, const TRandomIndex& random) {
  if (b <= a) return a;
  return a + DrawRandomIndex(random, b - a + 1);
}

TCharSet FullCharSet() { return TCharSet().set(); }

QByteArray ReplaceCharsInSet(const QByteArray& text, const TCharSet& set, char replacement) {
  QByteArray result = text;
  for (char& c : result) {
    if (set.test(static_cast<unsigned char>(c))) c = replacement;
  }
  return result;
}

}  // namespace zabko
