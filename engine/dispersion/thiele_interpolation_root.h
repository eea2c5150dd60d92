// SPDX-License-Identifier: GPL-3.0-or-later
// Root of the secular function by continued-fraction (Thiele) inverse
// interpolation: x is treated as a function of u = D(x) and evaluated at u = 0.
#pragma once

#include <cmath>
#include <cstdint>

namespace swcore {

namespace detail {

inline double signOf(double v) {
  return v < 0.0 ? -1.0 : 1.0;
}

// Stand-in for a quotient whose denominator vanished in floating point.
inline double hugeQuotient(double denominator, double numerator) {
  constexpr double kHuge = 1e35;
  return kHuge * signOf(denominator) * signOf(numerator);
}

inline bool negligible(double g) {
  return std::abs(g) + 1.0 == 1.0;
}

}  // namespace detail

// Runs up to 10 cycles of 8 trial points each, starting every cycle from the
// current `x` (trial points x, x + 0.1, x + 0.2 km/s, then the running
// estimates). Returns as soon as |D| at a trial point is within the
// tolerance (or undefined), with `x` set to the estimate of that point.
// `cyclesLeft` is 10 when the first cycle converges and 0 when no cycle did.
template <class Function>
void thieleInterpolationRoot(const Function& d, double& x, double tolerance, int32_t& cyclesLeft) {
  using detail::hugeQuotient;
  using detail::negligible;
  constexpr int kCycles = 10;
  constexpr int kTrialPoints = 8;
  constexpr int kTableRoom = 10;
  constexpr double kTrialSpacing = 0.10000000149011612;  // 0.1f, km/s

  double u[kTableRoom] = {};
  double inverseDiff[kTableRoom] = {};
  double g = 0.0;
  cyclesLeft = kCycles;
  for (;;) {
    const double start = x;
    for (int i = 0; i < kTrialPoints; ++i) {
      const double xi = (i <= 2) ? start + kTrialSpacing * i : g;
      u[i] = d(xi);
      g = xi;
      if (i == 0) {
        inverseDiff[0] = xi;
      } else {
        // Inverse differences of x with respect to u.
        for (int j = 0; j < i; ++j) {
          g = g - inverseDiff[j];
          const double du = u[i] - u[j];
          g = negligible(g) ? hugeQuotient(g, du) : du / g;
        }
        inverseDiff[i] = g;
        // The continued fraction at u = 0, from the innermost term out.
        g = 0.0;
        for (int j = i; j >= 1; --j) {
          g = g + inverseDiff[j];
          g = negligible(g) ? hugeQuotient(g, -u[j - 1]) : -u[j - 1] / g;
        }
        g = inverseDiff[0] + g;
      }
      if (std::abs(u[i]) <= tolerance || std::isnan(u[i])) {
        x = g;
        return;
      }
    }
    x = g;
    cyclesLeft = cyclesLeft - 1;
    if (cyclesLeft == 0) {
      return;
    }
  }
}

}  // namespace swcore
