// Root of the secular function by continued-fraction (Thiele) inverse
// interpolation: x is treated as a function of u = D(x) and evaluated at u = 0.
#pragma once

#include <cstdint>

#include "secular_function.h"

namespace swcore {

// Runs up to 10 cycles of 8 trial points each, starting every cycle from the
// current `x` (trial points x, x + 0.1, x + 0.2 km/s, then the running
// estimates). Returns as soon as |D| at a trial point is within the
// tolerance, with `x` set to the estimate of that point. `cyclesLeft` is 10
// when the first cycle converges and 0 when no cycle did.
void thieleInterpolationRoot(const SecularFunction& d, double& x, double tolerance,
                             int32_t& cyclesLeft);

}  // namespace swcore
