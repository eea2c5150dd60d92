// SPDX-License-Identifier: GPL-3.0-or-later
// A zero of a secular function near a root already known, refined from the
// function's signs alone to a few units in the last place.
#pragma once

#include <cmath>
#include <limits>

#include "dispersion/bracket_refinement.h"

namespace swcore {

// 1e-14 of c: a few units in the last place, where the rounding of D decides
// its sign.
inline constexpr double kZeroRelativeTolerance = 1e-14;

// The zero of `d` (SecularFunction or LoveSecularFunction, km/s) inside
// c (1 +- spread), refined to kZeroRelativeTolerance of c, the bracket
// ending just below the half-space S velocity `ceiling` (where the Rayleigh
// function has its pole and above which no mode lies); NaN where D has one
// sign at both ends. Only the signs of D matter: the rescaled form, used
// where the plain one overflows, need not be smooth at a zero.
template <class Function>
double zeroWithin(const Function& d, double c, double spread, double ceiling) {
  const double top = std::fmin(c * (1.0 + spread), ceiling * (1.0 - 1e-12));
  const BracketEnd lower{c * (1.0 - spread), d.value(c * (1.0 - spread))};
  const BracketEnd upper{top, d.value(top)};
  if (!(lower.f * upper.f < 0.0)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return detail::andersonBjorck([&](double x) { return d.value(x); }, lower, upper,
                                kZeroRelativeTolerance * c);
}

}  // namespace swcore
