// SPDX-License-Identifier: GPL-3.0-or-later
// The velocities at which the secular function changes sign through a pole
// rather than a zero.
//
// D divides by the vertical terms of the half-space, sqrt(1 - c^2/beta_N^2)
// and sqrt(1 - c^2/alpha_N^2), which vanish and change sign at the
// half-space's S and P velocities. Every other layer's terms are continuous
// across that layer's own velocities, so a sign change anywhere else is a
// genuine zero.
#pragma once

#include <limits>

namespace swcore {

// Half-width, km/s, of the interval around a pole that counts as the pole:
// c^2 / v^2 rounds to 1 within a few units in the last place of v (below
// 1e-14 km/s for v under 10 km/s), where D is infinite; 1e-12 km/s covers
// them and is a billion times narrower than the finest step of a walk.
inline constexpr double kPoleMargin = 1e-12;

// Distance, km/s, below a pole at which the walk looks for a zero that shares
// a step with the pole: 1e-9 km/s keeps 1 - c^2/v^2 at about 2e-9 / v, far
// above its rounding, so D is finite there, while a zero closer to the pole
// than that is out of reach of any step anyway.
inline constexpr double kPoleProbe = 1e-9;

struct PoleVelocities {
  double shear = std::numeric_limits<double>::quiet_NaN();  // km/s, beta_N
  double p = std::numeric_limits<double>::quiet_NaN();      // km/s, alpha_N, above beta_N

  // The pole in [lo, hi] (widened by kPoleMargin), the lower one if both
  // are; NaN when none is. Unknown poles (NaN) lie nowhere.
  double within(double lo, double hi) const {
    if (!(hi + kPoleMargin >= shear)) {
      // Below the lower pole, where every walk toward a mode under beta_N
      // stays: one comparison.
      return std::numeric_limits<double>::quiet_NaN();
    }
    const auto in = [&](double v) { return v >= lo - kPoleMargin && v <= hi + kPoleMargin; };
    if (in(shear)) {
      return shear;
    }
    return in(p) ? p : std::numeric_limits<double>::quiet_NaN();
  }
};

}  // namespace swcore
