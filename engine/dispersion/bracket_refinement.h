// SPDX-License-Identifier: GPL-3.0-or-later
// Refinement of a zero of the secular function bracketed by a sign change.
#pragma once

#include <cmath>

namespace swcore {

// One end of a bracket with its function value.
struct BracketEnd {
  double x;
  double f;
};

inline constexpr double kProbeDistance = 1e-4;  // km/s

namespace detail {

// The sign test of the search: true only when f / reference is positive, so
// a zero or undefined quotient counts as a change of sign.
inline bool sameSign(double f, double reference) {
  return f / reference > 0.0;
}

// Anderson-Bjorck false position on a bracket whose ends differ in sign,
// bisecting instead whenever two steps have not halved the bracket. Returns
// the newest point once the bracket is narrower than the tolerance.
template <class Function>
double andersonBjorck(const Function& d, BracketEnd older, BracketEnd newer, double tolerance) {
  constexpr int kMaxPasses = 400;
  double width = std::abs(newer.x - older.x);
  double widthTwoStepsBack = 4.0 * width;
  double widthOneStepBack = 2.0 * width;
  for (int pass = 0; pass < kMaxPasses && width >= tolerance; ++pass) {
    const double lo = std::fmin(older.x, newer.x);
    const double hi = std::fmax(older.x, newer.x);
    double x = newer.x - newer.f * (newer.x - older.x) / (newer.f - older.f);
    if (!(x > lo && x < hi) || width > 0.5 * widthTwoStepsBack) {
      x = 0.5 * (lo + hi);
    }
    const BracketEnd next{x, d(x)};
    if (next.f == 0.0) {
      return x;
    }
    if (sameSign(next.f, newer.f)) {
      const double m = 1.0 - next.f / newer.f;
      older.f *= (m > 0.0) ? m : 0.5;
    } else {
      older = newer;
    }
    newer = next;
    widthTwoStepsBack = widthOneStepBack;
    widthOneStepBack = width;
    width = std::abs(newer.x - older.x);
  }
  return newer.x;
}

}  // namespace detail

// Regula falsi on the bracket [lower, upper], stopping when successive
// iterates differ by less than `tolerance` (or by an undefined amount); the
// newest iterate, at which D has not been evaluated, is returned.
//
// False position can stop on its step test while the iterate still sits on
// one end of a wide bracket whose end values differ by many decades. So the
// stopping value is checked with one evaluation kProbeDistance toward the far
// end: a sign change there proves it within that distance of the zero and it
// is returned unchanged. Otherwise the search goes on inside the remaining
// bracket with a safeguarded method until the bracket is narrower than the
// tolerance. An undefined iterate is replaced the same way when the bracket
// the walk found has finite ends.
template <class Function>
double refineBracketedRoot(const Function& d, BracketEnd lower, BracketEnd upper,
                           double tolerance) {
  using detail::sameSign;
  BracketEnd a = lower;
  BracketEnd b = upper;
  bool firstPass = true;
  bool lastReplacedLower = false;
  double previous = 0.0;
  double x = 0.0;
  for (;;) {
    x = b.x - (a.x - b.x) * b.f / (a.f - b.f);
    if (!firstPass) {
      const double change = std::abs(previous - x);
      if (change < tolerance || std::isnan(change)) {
        break;
      }
    }
    firstPass = false;
    previous = x;
    const double fx = d(x);
    lastReplacedLower = sameSign(fx, a.f);
    if (lastReplacedLower) {
      a = {x, fx};
    } else {
      b = {x, fx};
    }
  }

  if (std::isnan(x)) {
    // An undefined value met on the way: search the bracket the walk found.
    const bool usable =
        std::isfinite(lower.f) && std::isfinite(upper.f) && !sameSign(lower.f, upper.f);
    return usable ? detail::andersonBjorck(d, lower, upper, tolerance) : x;
  }
  // The previous iterate is the end replaced last; the zero lies toward the other.
  const BracketEnd& nearEnd = lastReplacedLower ? a : b;
  const BracketEnd& farEnd = lastReplacedLower ? b : a;
  const double towardFar = farEnd.x - x;
  if (nearEnd.f == 0.0 || std::abs(towardFar) <= kProbeDistance) {
    return x;
  }
  const double probeX = x + std::copysign(kProbeDistance, towardFar);
  const BracketEnd probe{probeX, d(probeX)};
  if (std::isnan(probe.f)) {
    return detail::andersonBjorck(d, nearEnd, farEnd, tolerance);
  }
  if (!sameSign(probe.f, nearEnd.f)) {
    return x;
  }
  return detail::andersonBjorck(d, probe, farEnd, tolerance);
}

}  // namespace swcore
