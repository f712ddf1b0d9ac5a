// What the left column's collapsible panels (hot words, search, follow-up) share: a title bar with
// a caption and a collapse button, and the collapse itself, which resizes the panel the frame is
// docked in, flips the button's sprite, stores the state and lets the main window re-stack.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zabko {

class TNButton;
class TNManager;
class TNStatic;
class TTntLabel;

// The owner's callback after a collapse or an expand, given the frame.
using TSizeChanged = std::function<void(QWidget* frame)>;

struct TTitleBar {
  TNStatic* Bar = nullptr;
  TTntLabel* Caption = nullptr;
  TNButton* MiniBtn = nullptr;
};

// The 186 x 24 title bar of the hot-words and search panels: caption and collapse button.
TTitleBar BuildTitleBar(QWidget* frame, TNManager* manager);

// The panel the frame is docked in (the frame itself when it stands alone).
QWidget* DockPanel(QWidget* frame);

// Expands the dock panel when it stands at the collapsed height, else collapses it; the button's
// sprite column toggles between 0 and 25 (50 and 75 in a left-to-right layout, whose mirrored
// sprites stand 50 further); "Main"/RegistryValue := expanded; then the callback.
void ToggleCollapse(QWidget* frame, TNButton* miniBtn, int collapsedHeight, int expandedHeight,
                    const QString& registryValue, const TSizeChanged& sizeChanged);

// The title bar read left to right: the button at the bar's left with its mirrored sprites, the
// bar's picture mirrored, the caption left to right in a smaller font, 3 px lower.
void MirrorTitleBar(TNStatic* bar, TNButton* miniBtn, TTntLabel* caption);

}  // namespace zabko
