// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fault_guard.h"

#include <cfenv>
#include <csetjmp>
#include <csignal>
#include <vector>

#include <signal.h>

namespace dispfit {

namespace {

constexpr int kFaultSignals[] = {SIGSEGV, SIGFPE, SIGBUS, SIGILL};
constexpr std::size_t kSignalStackSize = 64 * 1024;

// The landing point of the guarded call that is running now. A signal handler
// can reach nothing else, so this one pointer is process-wide.
sigjmp_buf* activeLanding = nullptr;

extern "C" void onProcessorFault(int signalNumber) {
  if (activeLanding != nullptr) siglongjmp(*activeLanding, signalNumber);
  // A fault outside a guarded call: let it take its default course.
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

// Installs the fault handlers and the alternate stack for its lifetime.
class FaultTrap {
 public:
  FaultTrap() : stack_(kSignalStackSize) {
    stack_t alternate{};
    alternate.ss_sp = stack_.data();
    alternate.ss_size = stack_.size();
    sigaltstack(&alternate, &previousStack_);
    fegetenv(&previousFloatEnv_);

    struct sigaction action {};
    action.sa_handler = onProcessorFault;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kFaultSignals); ++i) {
      sigaction(kFaultSignals[i], &action, &previousActions_[i]);
    }
  }

  ~FaultTrap() {
    activeLanding = nullptr;
    for (std::size_t i = 0; i < std::size(kFaultSignals); ++i) {
      sigaction(kFaultSignals[i], &previousActions_[i], nullptr);
    }
    fesetenv(&previousFloatEnv_);
    sigaltstack(&previousStack_, nullptr);
  }

  FaultTrap(const FaultTrap&) = delete;
  FaultTrap& operator=(const FaultTrap&) = delete;

  void arm(sigjmp_buf* landing) { activeLanding = landing; }

 private:
  std::vector<char> stack_;
  stack_t previousStack_{};
  fenv_t previousFloatEnv_{};
  struct sigaction previousActions_[std::size(kFaultSignals)]{};
};

GuardedOutcome callCatchingExceptions(GuardedBody body, void* context) {
  try {
    body(context);
  } catch (...) {
    return GuardedOutcome::Exception;
  }
  return GuardedOutcome::Completed;
}

}  // namespace

GuardedOutcome runGuarded(GuardedBody body, void* context) {
  FaultTrap trap;
  sigjmp_buf landing;
  // The signal mask is saved, so the fault signal is unblocked again after
  // the jump back.
  if (sigsetjmp(landing, 1) != 0) return GuardedOutcome::ProcessorFault;
  trap.arm(&landing);
  return callCatchingExceptions(body, context);
}

}  // namespace dispfit
