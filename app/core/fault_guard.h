// SPDX-License-Identifier: GPL-3.0-or-later
// Runs foreign code so that a processor fault or a C++ exception inside it
// comes back as an outcome instead of ending the program.
#pragma once

namespace dispfit {

enum class GuardedOutcome { Completed, ProcessorFault, Exception };

using GuardedBody = void (*)(void* context);

// Calls body(context) on the calling thread. While it runs, SIGSEGV, SIGFPE,
// SIGBUS and SIGILL are caught (on an alternate signal stack, so a stack
// overflow is caught too) and end the call with ProcessorFault; an exception
// of any type ends it with Exception. The previous signal handlers, signal
// stack and floating-point environment are restored in every case. Code
// abandoned by a fault does not unwind: it must own nothing that needs
// releasing. Not re-entrant.
GuardedOutcome runGuarded(GuardedBody body, void* context);

}  // namespace dispfit
