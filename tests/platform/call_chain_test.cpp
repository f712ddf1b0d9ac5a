#include "platform/call_chain.h"
#include "platform/exception.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zabko {
namespace {

__attribute__((noinline)) void RaiseHere() { throw Exception("raised"); }

CallChain ChainOfRaise() {
  try {
    RaiseHere();
  } catch (const Exception& e) {
    return e.Chain();
  }
  return {};
}

// Capture is off until a crash log turns it on, so raising stays cheap; once on, the chain
// starts at the raising function and lies in the program's code.
TEST(CallChainTest, CapturedOnlyWhileSwitchedOnStartingAtTheRaisingSite) {
  const bool was = CallChainCaptureEnabled();
  SetCallChainCapture(false);
  EXPECT_EQ(ChainOfRaise().count, 0);

  SetCallChainCapture(true);
  const CallChain chain = ChainOfRaise();
  SetCallChainCapture(was);

  ASSERT_GE(chain.count, 2);
  const auto site = reinterpret_cast<std::uintptr_t>(chain.Site());
  const auto function = reinterpret_cast<std::uintptr_t>(&RaiseHere);
  EXPECT_GT(site, function);
  EXPECT_LT(site - function, 256u) << "site not inside RaiseHere";
  const CodeRange code = ComputeProgramCodeRange();
  EXPECT_GE(site, code.start);
  EXPECT_LT(site, code.end);
  EXPECT_LE(chain.count, CallChain::kMaxCallers + 1);
}

}  // namespace
}  // namespace zabko
