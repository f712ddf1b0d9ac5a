// Locale-aware comparison of wide text, with and without regard to case, in the user's locale.
#pragma once

#include <QString>

namespace zabko {

// Negative, zero or positive as A sorts before, with or after B.
int LocaleCompare(const QString& a, const QString& b, bool ignoreCase);
inline bool LocaleEqual(const QString& a, const QString& b, bool ignoreCase) {
  return LocaleCompare(a, b, ignoreCase) == 0;
}

}  // namespace zabko
