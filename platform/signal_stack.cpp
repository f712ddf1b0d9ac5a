#include "platform/signal_stack.h"

#include <signal.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstddef>

namespace zabko {
namespace {

constexpr std::size_t kStackBytes = 64 * 1024;

class ThreadSignalStack {
 public:
  ThreadSignalStack() {
    stack_t current{};
    if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) return;  // has one
    size_ = std::max<std::size_t>(kStackBytes, SIGSTKSZ);
    void* memory = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return;
    stack_t ss{};
    ss.ss_sp = memory;
    ss.ss_size = size_;
    if (sigaltstack(&ss, nullptr) != 0) {
      munmap(memory, size_);
      return;
    }
    memory_ = memory;
  }
  ~ThreadSignalStack() {
    if (memory_ == nullptr) return;
    stack_t off{};
    off.ss_flags = SS_DISABLE;
    sigaltstack(&off, nullptr);
    munmap(memory_, size_);
  }
  ThreadSignalStack(const ThreadSignalStack&) = delete;
  ThreadSignalStack& operator=(const ThreadSignalStack&) = delete;

 private:
  void* memory_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace

void InstallThreadSignalStack() { thread_local ThreadSignalStack stack; }

}  // namespace zabko
