// The left-to-right layout of a form designed right to left, by one rule: a control's Left
// becomes its parent's width - Left - Width, its reading order becomes left to right, its left
// and right anchors change places, and title bitmaps switch to their "[U]" mirror.
#pragma once

#include <initializer_list>

class QWidget;

namespace zabko {

class TNStatic;

enum class TAnchorMirror {
  // Left and right anchors exchanged (a control anchored to both or neither keeps them).
  Swap,
  // Only left+top and top+right are exchanged; every other set stays (the word rows).
  TopCornersOnly,
};

// Mirrors one control within its parent.
void MirrorControl(QWidget* control, TAnchorMirror anchors = TAnchorMirror::Swap);

// Mirrors every child control of Parent, and with Recursive the children of container controls
// (panels, not the inner parts of Qt's composite controls), skipping the controls in Except.
void MirrorChildren(QWidget* parent, bool recursive, std::initializer_list<const QWidget*> except = {},
                    TAnchorMirror anchors = TAnchorMirror::Swap);

// "[U]" before the title's background name (once), so the bar's bitmap reads left to right.
void MirrorTitleBitmap(TNStatic* title);

}  // namespace zabko
