#include "tests/common/test_util.h"

#include <QCoreApplication>
#include <QElapsedTimer>

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

bool PumpEventsUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

void ResumeAfterQuit() {
  QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  QCoreApplication::exec();
}

}  // namespace zabko::test
