// The millisecond tick count that timed rules read, behind an interface so that tests set it.
#pragma once

#include <QtGlobal>

namespace zabko {

class ITickClock {
 public:
  virtual ~ITickClock() = default;
  // Milliseconds of a monotonic clock.
  virtual qint64 TickCount() const = 0;
};

// The system's monotonic clock.
ITickClock& SystemTickClock();

// A clock that moves only when told to.
class TManualTickClock final : public ITickClock {
 public:
  qint64 TickCount() const override { return now_; }
  void Advance(qint64 ms) { now_ += ms; }
  void Set(qint64 ms) { now_ = ms; }

 private:
  qint64 now_ = 0;
};

}  // namespace zabko
