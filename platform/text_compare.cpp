#include "platform/text_compare.h"

#include <QCollator>

namespace zabko {

int LocaleCompare(const QString& a, const QString& b, bool ignoreCase) {
  // One collator per thread and case mode; QCollator is not safe to share between threads.
  thread_local QCollator caseSensitive = [] {
    QCollator c;
    c.setCaseSensitivity(Qt::CaseSensitive);
    return c;
  }();
  thread_local QCollator caseInsensitive = [] {
    QCollator c;
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
  }();
  if (a.size() == b.size() && a == b) return 0;
  return (ignoreCase ? caseInsensitive : caseSensitive).compare(a, b);
}

}  // namespace zabko
