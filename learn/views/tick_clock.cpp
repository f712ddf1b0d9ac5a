#include "learn/views/tick_clock.h"

#include <chrono>

namespace zabko {

namespace {

class TSystemTickClock final : public ITickClock {
 public:
  qint64 TickCount() const override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }
};

}  // namespace

ITickClock& SystemTickClock() {
  static TSystemTickClock clock;
  return clock;
}

}  // namespace zabko
