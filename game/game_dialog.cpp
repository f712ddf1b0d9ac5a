#include "game/game_dialog.h"

#include "game/zabko_game_main_form.h"
#include "ui/component.h"
#include "ui/my_shape.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace zabko {

TTntLabel* MakeDialogLabel(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                           int pixelHeight, bool bold) {
  auto* label = new TTntLabel(parent, QString::fromLatin1(name));
  label->SetAutoSize(false);
  label->setGeometry(geometry);
  label->setFont(WinFont(QStringLiteral("Arial"), 0, -pixelHeight, bold ? TFontStyle::Bold : TFontStyles()));
  // Absolute: under the dialogs' right-to-left direction a plain AlignRight would mean the left.
  label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
  SetFontColor(label, bold ? kDialogOutline : kDialogInk);
  label->SetCaption(caption);
  return label;
}

TNBitmapComponent* MakeSheet(QObject* owner, const char* name, TNManager* manager, const QString& filename) {
  auto* sheet = new TNBitmapComponent(owner, QString::fromLatin1(name));
  sheet->SetManager(manager);
  sheet->SetFilename(filename);
  return sheet;
}

TNButton* MakeSheetButton(QWidget* parent, const char* name, TNManager* manager, TNBitmapComponent* sheet, int x,
                          const QRect& geometry) {
  auto* button = new TNButton(parent, QString::fromLatin1(name));
  button->setGeometry(geometry);
  button->SetManager(manager);
  button->SetBitmapComponent(sheet);
  button->SetX(x);
  button->setCursor(Qt::PointingHandCursor);
  return button;
}

TGameDialog::TGameDialog(TZabkoGameMainForm& main, const QString& name, int width, int height)
    : TModalForm(&main, name), main_(main) {
  setFixedSize(width, height);
  setLayoutDirection(Qt::RightToLeft);
  setFont(WinFont(QStringLiteral("Arial"), 10));
  setWindowFlag(Qt::FramelessWindowHint);
  backshape_ = new TMyShape(this, QStringLiteral("Backshape"));
  backshape_->setGeometry(0, 0, width, height);
  backshape_->SetShape(TShapeType::RoundRect);
  backshape_->SetRadiusX(kDialogRadius);
  backshape_->SetRadiusY(kDialogRadius);
  backshape_->SetPenWidth(2);
  backshape_->SetPenColor(kDialogOutline);
  backshape_->SetBrushColor(kDialogFace);
  buttons_ = MakeSheet(this, "DialogBtnsCmp", main.Manager(), QStringLiteral("Dialogs\\DialogBtns.bmp"));
}

TNManager* TGameDialog::Manager() const { return main_.Manager(); }

TNStatic* TGameDialog::MakeCaptionPanel(const QString& text) {
  auto* panel = new TNStatic(this, QStringLiteral("CaptionPnl"));
  panel->setGeometry(12, 10, width() - 24, 34);
  panel->SetManager(Manager());
  panel->SetStretchDraw(true);
  panel->SetBackgroundName(QStringLiteral("Dialogs\\Caption.bmp"));
  panel->SetCaption(text);
  TTntLabel* caption = MakeDialogLabel(panel, "CaptionLbl", QRect(10, 0, panel->width() - 20, 34), text, 18, true);
  caption->setAlignment(Qt::AlignCenter);
  SetFontColor(caption, clWhite);
  return panel;
}

TNButton* TGameDialog::MakeDialogButton(const char* name, TDialogButton kind, int left, int top) {
  return MakeSheetButton(this, name, Manager(), buttons_, kButtonWidth * kind,
                         QRect(left, top, kButtonWidth, kButtonHeight));
}

void TGameDialog::ClipToBackshape() {
  const QRect area = backshape_->geometry();
  QBitmap mask(size());
  mask.fill(Qt::color0);
  QPainter painter(&mask);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::color1);
  QPainterPath path;
  path.addRoundedRect(QRectF(area.left(), area.top(), area.width() + 1, area.height() + 1),
                      backshape_->RadiusX() / 2.0, backshape_->RadiusY() / 2.0);
  painter.drawPath(path);
  painter.end();
  setMask(mask);
}

void TGameDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && InModalLoop()) {
    SetModalResult(mrCancel);
    return;
  }
  TModalForm::keyPressEvent(event);
}

}  // namespace zabko
