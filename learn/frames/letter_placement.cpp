#include "learn/frames/letter_placement.h"

#include <algorithm>
#include <cmath>

namespace zabko {

TLetterPlacement PlaceLetters(int width, int height, const QList<int>& widths, bool leftToRight) {
  TLetterPlacement result;
  const qsizetype k = widths.size();
  if (k == 0) return result;
  int total = 0;
  qsizetype lastFitting = 0;
  for (qsizetype i = 0; i < k; ++i) {
    total += widths[i];
    if (width - total > 0) lastFitting = i;
  }
  // A panel exactly as wide as its buttons keeps one row.
  result.TwoRows = width - total < 0;
  result.Gap = std::clamp(double(width - total) / double(k), 0.0, 2.0);
  const double gap = result.Gap;
  double origin = leftToRight ? 0 : width - widths[0] - gap;
  int top = result.TwoRows ? 0 : height / 2 - 15;
  const int buttonHeight = result.TwoRows ? 26 : 30;
  double offset = 0;
  for (qsizetype i = 0; i < k; ++i) {
    if (result.TwoRows && i == lastFitting + 1) {
      top = 26;
      offset = 0;
      if (!leftToRight) origin = width - widths[i] - gap;
    }
    // Rounded to the nearest integer, halves to even.
    const int left = int(std::nearbyint(leftToRight ? origin + offset : origin - offset));
    result.Spots.push_back({left, top, buttonHeight});
    // Right to left the next button's own width moves the origin of its left edge; the gap
    // separates the buttons in both directions.
    if (i + 1 < k) offset += gap + (leftToRight ? widths[i] : widths[i + 1]);
  }
  return result;
}

}  // namespace zabko
