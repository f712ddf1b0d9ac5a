// Where the letter buttons of one letters panel stand: one row centred vertically with a gap of
// at most 2 px between the buttons, starting at the panel's reading-direction edge, or two rows
// without gaps when the alphabet does not fit. Pure arithmetic; the letters bar applies it.
#pragma once

#include <QList>

namespace zabko {

struct TLetterSpot {
  int Left = 0;
  int Top = 0;
  int Height = 0;
  bool operator==(const TLetterSpot&) const = default;
};

struct TLetterPlacement {
  bool TwoRows = false;
  double Gap = 0;
  QList<TLetterSpot> Spots;  // one per button, in letter order
};

// Width and Height are the panel's, Widths the buttons' in letter order.
TLetterPlacement PlaceLetters(int width, int height, const QList<int>& widths, bool leftToRight);

}  // namespace zabko
