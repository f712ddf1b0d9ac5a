// A stack of its own for the fatal-signal handler on the calling thread. A thread that overflows
// its stack has no room left on it to run the handler, so without one the crash log never hears
// of the overflow. The kernel keeps this stack per thread: every thread the program starts calls
// InstallThreadSignalStack first.
#pragma once

namespace zabko {

// Gives the calling thread an alternate signal stack unless it has one; it is released when the
// thread ends.
void InstallThreadSignalStack();

}  // namespace zabko
