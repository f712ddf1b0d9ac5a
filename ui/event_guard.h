// No exception crosses a Qt event handler. The kit's controls emit their events through
// Guarded (platform/exception_handler.h), which hands what it catches to the crash log's hook
// and then to the application's exception handler; a window's own overridden Qt event handlers
// do the same, and a handler connected to a plain Qt signal is wrapped with GuardedSlot.
#pragma once

#include "platform/exception_handler.h"

#include <utility>

namespace zabko {

// A functor for connect() that runs Function guarded, with the signal's arguments.
template <class Function>
auto GuardedSlot(Function function) {
  return [function = std::move(function)](auto&&... args) mutable {
    Guarded([&] { function(std::forward<decltype(args)>(args)...); });
  };
}

}  // namespace zabko
