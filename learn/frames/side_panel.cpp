#include "learn/frames/side_panel.h"

#include "net/zabkolex_central.h"
#include "platform/registry_ini_file.h"
#include "ui/mirror.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_font.h"

#include <QWidget>

namespace zabko {

TTitleBar BuildTitleBar(QWidget* frame, TNManager* manager) {
  TTitleBar bar;
  bar.Bar = new TNStatic(frame, QStringLiteral("NStatic1"));
  bar.Bar->setGeometry(0, 0, 186, 24);
  bar.Bar->SetManager(manager);
  bar.Bar->SetBackgroundName(QStringLiteral("main\\searchCaption.bmp"));
  bar.Caption = new TTntLabel(bar.Bar, QStringLiteral("CaptionLbl"));
  bar.Caption->SetAutoSize(false);
  bar.Caption->setGeometry(30, 0, 123, 22);
  bar.Caption->setFont(WinFont(QStringLiteral("Arial"), 0, 22));
  bar.Caption->setLayoutDirection(Qt::RightToLeft);
  bar.Caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  auto* component = new TNBitmapComponent(frame, QStringLiteral("FollowBtnCmp"));
  component->SetManager(manager);
  component->SetFilename(QStringLiteral("Main\\FCollapseExpand.bmp"));
  bar.MiniBtn = new TNButton(bar.Bar, QStringLiteral("MiniBtn"));
  bar.MiniBtn->setGeometry(159, 0, 25, 24);
  bar.MiniBtn->SetManager(manager);
  bar.MiniBtn->SetX(25);
  bar.MiniBtn->SetBitmapComponent(component);
  return bar;
}

QWidget* DockPanel(QWidget* frame) { return frame->parentWidget() ? frame->parentWidget() : frame; }

void ToggleCollapse(QWidget* frame, TNButton* miniBtn, int collapsedHeight, int expandedHeight,
                    const QString& registryValue, const TSizeChanged& sizeChanged) {
  QWidget* panel = DockPanel(frame);
  const bool expand = panel->height() == collapsedHeight;
  panel->resize(panel->width(), expand ? expandedHeight : collapsedHeight);
  const bool mirrored = miniBtn->X() >= 50;
  int x = miniBtn->X() - (mirrored ? 50 : 0);
  x = 25 - x;
  miniBtn->SetX(x + (mirrored ? 50 : 0));
  miniBtn->ReloadAndRepaint();
  Central().Settings().WriteBool(QStringLiteral("Main"), registryValue, expand);
  if (sizeChanged) sizeChanged(frame);
}

void MirrorTitleBar(TNStatic* bar, TNButton* miniBtn, TTntLabel* caption) {
  miniBtn->move(bar->x(), miniBtn->y());
  miniBtn->SetX(miniBtn->X() + 50);
  miniBtn->ReloadAndRepaint();
  MirrorTitleBitmap(bar);
  caption->setLayoutDirection(Qt::LeftToRight);
  QFont font = caption->font();
  SetWinFontHeight(font, 20);
  caption->setFont(font);
  caption->move(caption->x(), caption->y() + 3);
}

}  // namespace zabko
