#include "bracket_refinement.h"

#include <cmath>

namespace swcore {

namespace {

// The sign test of the search: true only when f / reference is positive, so
// a zero or undefined quotient counts as a change of sign.
bool sameSign(double f, double reference) {
  return f / reference > 0.0;
}

// Anderson-Bjorck false position on a bracket whose ends differ in sign,
// falling back to bisection whenever two steps fail to halve the bracket.
// Returns the newest point once the bracket is narrower than the tolerance.
double andersonBjorck(const SecularFunction& d, BracketEnd older, BracketEnd newer,
                      double tolerance) {
  double widthBefore = std::abs(newer.x - older.x);
  double widthBeforeThat = widthBefore * 4.0;
  for (int pass = 0; pass < 400 && std::abs(newer.x - older.x) >= tolerance; ++pass) {
    const double lo = std::fmin(older.x, newer.x);
    const double hi = std::fmax(older.x, newer.x);
    double x = newer.x - newer.f * (newer.x - older.x) / (newer.f - older.f);
    if (!(x > lo && x < hi) || widthBefore > 0.5 * widthBeforeThat) {
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
    widthBeforeThat = widthBefore;
    widthBefore = std::abs(newer.x - older.x);
  }
  return newer.x;
}

}  // namespace

double refineBracketedRoot(const SecularFunction& d, BracketEnd lower, BracketEnd upper,
                           double tolerance) {
  BracketEnd& a = lower;
  BracketEnd& b = upper;
  bool firstPass = true;
  bool lastReplacedLower = false;
  double previous = 0.0;
  double x = 0.0;
  for (;;) {
    // Regula falsi on the bracketed zero.
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

  // The previous iterate is the end replaced last; the other end is far.
  const BracketEnd& nearEnd = lastReplacedLower ? a : b;
  const BracketEnd& farEnd = lastReplacedLower ? b : a;
  if (std::isnan(x)) {
    if (std::isfinite(a.f) && std::isfinite(b.f) && !sameSign(a.f, b.f)) {
      return andersonBjorck(d, a, b, tolerance);
    }
    return x;
  }
  if (nearEnd.f == 0.0) {
    return x;
  }
  const double towardFar = farEnd.x - x;
  if (std::abs(towardFar) <= kProbeDistance) {
    return x;
  }
  const BracketEnd probe{x + std::copysign(kProbeDistance, towardFar), 0.0};
  const BracketEnd checked{probe.x, d(probe.x)};
  if (!sameSign(checked.f, nearEnd.f) && !std::isnan(checked.f)) {
    return x;
  }
  if (std::isnan(checked.f)) {
    return andersonBjorck(d, nearEnd, farEnd, tolerance);
  }
  return andersonBjorck(d, checked, farEnd, tolerance);
}

}  // namespace swcore
