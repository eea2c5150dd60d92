// Fixed-point iteration of x -> D(x) accelerated by Aitken's delta-squared
// process (Steffensen's form).
#pragma once

#include <cstdint>

#include "secular_function.h"

namespace swcore {

// Iterates from `x` at most `iterations` times (the limit on entry); on return
// `iterations` holds the number of iterations done and `x` the last iterate.
// Stops early once two successive function values differ by less than the
// tolerance (or by an undefined amount). A limit below 1 permits no
// iteration: `x` is left as it is and the count is 0.
void aitkenIteration(const SecularFunction& d, double& x, double tolerance, int32_t& iterations);

}  // namespace swcore
