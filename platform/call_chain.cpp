#include "platform/call_chain.h"

#include <execinfo.h>
#include <link.h>

#include <algorithm>
#include <atomic>

namespace zabko {

namespace {

std::atomic<bool> g_capture{false};

// Frames of the capturing routines themselves sit below the site; this leaves room for them.
constexpr int kSlack = 8;

int FirstProgramObject(dl_phdr_info* info, size_t, void* data) {
  auto* range = static_cast<CodeRange*>(data);
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& ph = info->dlpi_phdr[i];
    if (ph.p_type == PT_LOAD && (ph.p_flags & PF_X) != 0) {
      range->start = info->dlpi_addr + ph.p_vaddr;
      range->end = range->start + ph.p_memsz;
      break;
    }
  }
  return 1;  // the first object reported is the main program
}

}  // namespace

void SetCallChainCapture(bool on) {
  if (on) {
    // The first backtrace() loads the unwinder; do that now, not inside a crash.
    void* warm[2];
    backtrace(warm, 2);
  }
  g_capture.store(on, std::memory_order_relaxed);
}

bool CallChainCaptureEnabled() { return g_capture.load(std::memory_order_relaxed); }

__attribute__((noinline)) void CaptureCallChain(CallChain& chain, void* site) {
  chain.count = 0;
  if (!CallChainCaptureEnabled()) return;
  void* raw[CallChain::kMaxCallers + 1 + kSlack];
  const int n = backtrace(raw, static_cast<int>(std::size(raw)));
  // Start at the site; when it is not on the stack as seen (an unusual inlining), keep what
  // lies above this routine.
  int from = static_cast<int>(std::find(raw, raw + n, site) - raw);
  if (from == n) {
    chain.frames[0] = site;
    chain.count = 1;
    from = std::min(n, 2);
  }
  while (from < n && chain.count < static_cast<int>(chain.frames.size())) {
    chain.frames[chain.count++] = raw[from++];
  }
}

CodeRange ComputeProgramCodeRange() {
  CodeRange range;
  dl_iterate_phdr(FirstProgramObject, &range);
  return range;
}

}  // namespace zabko
