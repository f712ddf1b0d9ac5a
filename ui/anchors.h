// Anchors, as the forms use them: an anchored control keeps its distance to the anchored edges
// of its parent when the parent is resized; anchored to both left and right (or top and bottom)
// it stretches, anchored to neither it keeps its centre. The default is left and top.
//
// A control follows its parent's size from the size the parent had when the anchors were set
// (or when the form finished loading, see form_loading.h). The move happens when Qt delivers
// the parent's resize: at once for a visible parent, at its first showing for a hidden one;
// ApplyAnchors makes it happen now.
#pragma once

#include <QFlags>

class QWidget;

namespace zabko {

// The values are those of the class library's set type, so an anchors value of 3 is left and
// top and 6 is top and right.
enum class TAnchorKind { Left = 1, Top = 2, Right = 4, Bottom = 8 };
Q_DECLARE_FLAGS(TAnchors, TAnchorKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TAnchors)

inline constexpr TAnchors kDefaultAnchors = TAnchorKind::Left | TAnchorKind::Top;

// Sets the control's anchors and takes its parent's current size as the starting point.
void SetAnchors(QWidget* control, TAnchors anchors);
TAnchors GetAnchors(const QWidget* control);

// Moves and sizes the anchored children of Parent for Parent's current size.
void ApplyAnchors(QWidget* parent);

// Takes the current parent sizes as the starting point for every anchored control below Root
// (Root included), without moving anything. Finishing a form load does this.
void RebaseAnchors(QWidget* root);

// Left and right anchors exchanged (a control anchored to both, or to neither, keeps them).
TAnchors MirrorAnchors(TAnchors anchors);

}  // namespace zabko
