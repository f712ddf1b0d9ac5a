#include "tests/common/test_util.h"

namespace zabko::test {

QByteArray FromHex(const char* hex) {
  QByteArray digits(hex);
  digits.replace(' ', QByteArray());
  return QByteArray::fromHex(digits);
}

QString FixturePath(const QString& name) {
#ifdef ZABKO_TEST_DATA
  return QStringLiteral(ZABKO_TEST_DATA) + "/" + name;
#else
  return name;
#endif
}

}  // namespace zabko::test
