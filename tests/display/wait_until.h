// Waiting on a real X server: events are served while a condition is awaited.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace zabko::test {

// Processes events until Done holds or Ms milliseconds have passed; returns Done().
inline bool WaitUntil(const std::function<bool()>& done, int ms = 3000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

}  // namespace zabko::test
