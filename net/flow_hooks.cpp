#include "net/flow_hooks.h"

#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

namespace zabko {

TDateTime TSystemFlowClock::Now() { return FromQDateTime(QDateTime::currentDateTime()); }

void TSystemFlowClock::Wait(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace zabko
