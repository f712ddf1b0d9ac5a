#include "learn/frames/follow_rules.h"

namespace zabko {

int FollowAmAt(const QList<TFollowLetter>& letters) {
  int am = 0;
  qint64 known = 0, total = 0;
  for (int i = 1; i < letters.size(); ++i) {
    const TFollowLetter& letter = letters[i];
    known += letter.Known;
    total += letter.Total;
    if (letter.Total > 0 && letter.Known >= 0.1 * letter.Total && i == am + 1) am = i;
    if (letter.Total > 0 && letter.Known >= 0.3 * letter.Total && known >= 0.15 * total) am = i;
  }
  return am;
}

int FollowShouldBeAt(const QList<TFollowLetter>& letters, double spanDays, double elapsedDays, int words) {
  if (letters.isEmpty() || elapsedDays <= 0 || words <= 0) return 0;
  if (elapsedDays >= spanDays) return int(letters.size()) - 1;
  double left = elapsedDays;
  for (int q = 0; q < letters.size(); ++q) {
    left -= letters[q].Total * spanDays / words;
    if (left < 0) return q;
  }
  return 0;
}

TGoOver FollowGoOver(const QList<TFollowLetter>& letters, int should) {
  TGoOver result;
  const int n = int(letters.size());
  const auto toGoOver = [&](int q) { return q <= should && letters[q].Known <= letters[q].Total / 2; };
  const auto share = [&](int q) { return double(letters[q].Known) / letters[q].Total; };
  for (int q = 0; q <= should && q < n; ++q) {
    if (!toGoOver(q)) continue;
    ++result.Count;
    if (letters[q].Total <= 0) continue;
    // A letter without words never stays the focus: the first one with words replaces it.
    if (letters[result.Focus].Total <= 0 || share(q) < share(result.Focus)) result.Focus = q;
  }
  QString runs;
  for (int q = 0; q < n;) {
    if (!toGoOver(q)) {
      ++q;
      continue;
    }
    int last = q;
    while (last + 1 < n && toGoOver(last + 1)) ++last;
    runs += QStringLiteral(", ") + letters[q].Label;
    if (last > q) runs += QLatin1Char('-') + letters[last].Label;
    q = last + 1;
  }
  // The first comma goes; the blank after it stays.
  result.Runs = runs.mid(1);
  return result;
}

TFollowState FollowStateOf(const QString& shouldLabel, const QString& amLabel) {
  const int order = QString::compare(shouldLabel, amLabel, Qt::CaseSensitive);
  if (order > 0) return kFollowBehind;
  if (order < 0) return kFollowAhead;
  return kFollowOnSchedule;
}

}  // namespace zabko
