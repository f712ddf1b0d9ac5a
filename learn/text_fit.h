// Fitting texts into labels of a given width, measured on the shared measuring surface
// (MeasureCanvas()): the longest prefix of a text that fits, and a text spread over up to three
// labels with "..." when it needs more. The main window's methods of these names call them.
#pragma once

#include "ui/text_measure.h"

#include <QFont>
#include <QString>

namespace zabko {

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

}  // namespace zabko
