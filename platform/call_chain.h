// The call chain of the moment an exception is raised: the raising site and the return
// addresses of its callers, taken from the stack, plus the bounds of the program's own code so
// that logged addresses can be written relative to its start.
#pragma once

#include <array>
#include <cstdint>

namespace zabko {

struct CallChain {
  // The raising site and at most 31 callers above it.
  static constexpr int kMaxCallers = 31;
  std::array<void*, kMaxCallers + 1> frames{};
  int count = 0;  // 0: nothing captured

  void* Site() const { return count > 0 ? frames[0] : nullptr; }
};

// Fills chain with site (a return address into the raising function) followed by the return
// addresses of its callers, read from the stack of the calling thread. Nothing is captured while
// capturing is off (the default), so raising stays cheap until a crash log wants the chains.
void CaptureCallChain(CallChain& chain, void* site);
void SetCallChainCapture(bool on);
bool CallChainCaptureEnabled();

// The program's code segment as loaded: start and end address. Both 0 until computed.
struct CodeRange {
  std::uintptr_t start = 0;
  std::uintptr_t end = 0;
};
// Reads the load address of the main program's executable segment (dl_iterate_phdr).
CodeRange ComputeProgramCodeRange();

}  // namespace zabko
