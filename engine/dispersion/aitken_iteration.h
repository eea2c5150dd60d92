// SPDX-License-Identifier: GPL-3.0-or-later
// Fixed-point iteration of x -> D(x) accelerated by Aitken's delta-squared
// process (Steffensen's form).
#pragma once

#include <cmath>
#include <cstdint>

namespace swcore {

// Iterates from `x` at most `iterations` times (the limit on entry); on return
// `iterations` holds the number of iterations done and `x` the last iterate.
// Stops early once two successive function values differ by less than the
// tolerance (or by an undefined amount), with `x` the second of them. A limit
// below 1 permits no iteration: `x` is left as it is and the count is 0.
template <class Function>
void aitkenIteration(const Function& d, double& x, double tolerance, int32_t& iterations) {
  const int32_t limit = iterations;
  iterations = 0;
  if (limit < 1) {
    return;
  }
  for (;;) {
    ++iterations;
    const double y1 = d(x);
    const double y2 = d(y1);
    const double change = std::abs(y1 - y2);
    if (change < tolerance || std::isnan(change)) {
      x = y2;
      return;
    }
    x = y2 - (y2 - y1) * (y2 - y1) / (y2 - 2.0 * y1 + x);
    if (iterations == limit) {
      return;
    }
  }
}

}  // namespace swcore
