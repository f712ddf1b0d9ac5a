// Fitting texts into labels of a given width, measured on the shared measuring surface
// (MeasureCanvas()): the longest prefix of a text that fits, and a text spread over up to three
// labels with "..." when it needs more. The main window's methods of these names call them.
// And fitting a font to the room a fixed layout gives its text, measured in the control's own
// font as it paints.
#pragma once

#include "ui/text_measure.h"

#include <QFont>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace zabko {

class TNButton;
class TTntLabel;

// The measuring font of a widget font: its family, its pixel height (or point size) and style.
TGUIFont GUIFontOf(const QFont& font);

// The number of leading characters of Text to show in Width pixels. In word mode the text is cut
// only after a blank (the blank stays with the first part); a text without a blank that does not
// fit gives 0. In character mode the cut may fall anywhere. A text that fits is taken whole.
int FittingPrefixLength(const QString& text, bool wordMode, const TGUIFont& font, int width);

// Spreads Text over First, Second and (when given) Third, every label as wide as First and
// measured in First's font: First takes the words that fit, Second the next ones, and the last
// label (Third, or Second without it) takes the rest cut to its width with "..." at the end.
// Labels that get nothing are emptied. The same label may be given more than once: it then ends
// up showing what did not fit in the labels before it (empty when everything fitted).
void SplitTextToLabels(const QString& text, TTntLabel* first, TTntLabel* third, TTntLabel* second);

// The smallest pixel height a fitted font goes down to.
inline constexpr int kSmallestFittedPixels = 9;

// Makes Widget's font one pixel smaller at a time (not below kSmallestFittedPixels) while Fits
// answers false for the font it has; used where a fixed layout leaves a text less room than its
// font needs. Returns whether the text fits at the end.
bool ShrinkFontUntil(QWidget* widget, const std::function<bool(const QFont&)>& fits);

// The label's caption in its font fits its contents rectangle: one line wide enough, or, for a
// word-wrapped label, all its lines high enough.
bool CaptionFits(const QLabel* label, const QFont& font);
// Shrinks the label's font until its caption fits the label.
bool FitLabelFont(QLabel* label);
// Shrinks a sprite button's font until its caption fits Room pixels.
bool FitButtonFont(TNButton* button, int room);

}  // namespace zabko
