// SPDX-License-Identifier: GPL-3.0-or-later
// Search for the first zero of the secular function above a start velocity:
// an upward walk in fixed steps, then the refinement of the bracketed zero.
#pragma once

#include <cmath>
#include <optional>

#include "dispersion/bracket_refinement.h"
#include "dispersion/pole_velocities.h"

namespace swcore {

inline constexpr double kVelocityCeiling = 10.0;  // km/s

// The two points between which D changed sign: step points of the walk, or
// a step point and the point just below a pole in the next step.
struct Bracket {
  BracketEnd lower;
  BracketEnd upper;
};

// The upward walk: from `start` in steps of `step` until D changes sign (a
// zero or undefined quotient of successive values counts as a change),
// giving up once a step without sign change ends at or above 10 km/s.
// A change in a step that holds one of `poles` is the pole's, not a zero:
// the walk goes on from that step's end to the next change, unless D has
// already changed sign just below the pole, where a zero sharing the step
// with it is then bracketed.
// A start at or below zero (where D is undefined) begins the walk one step
// above zero instead; a step that is not positive finds nothing.
template <class Function>
std::optional<Bracket> walkToSignChange(const Function& d, double start, double step,
                                        const PoleVelocities& poles = {}) {
  if (!(step > 0.0)) {
    return std::nullopt;
  }
  double c = (start > 0.0) ? start : step;
  double previousValue = d(c);
  for (;;) {
    c = c + step;
    const double value = d(c);
    const double pole = poles.within(c - step, c);
    if (std::isnan(pole)) {
      if (!(value / previousValue > 0.0)) {
        return Bracket{{c - step, previousValue}, {c, value}};
      }
    } else if (const double below = pole - kPoleProbe; below > c - step) {
      // A zero that shares the step with the pole changes the sign before it.
      const double valueBelow = d(below);
      if (!(valueBelow / previousValue > 0.0)) {
        return Bracket{{c - step, previousValue}, {below, valueBelow}};
      }
    }
    previousValue = value;
    if (c >= kVelocityCeiling) {
      return std::nullopt;
    }
  }
}

// The walk, then the refinement of the bracketed zero. Returns true and
// writes `result` when a zero was bracketed; leaves `result` untouched
// otherwise.
template <class Function>
bool findRoot(const Function& d, double start, double step, double tolerance, double& result,
              const PoleVelocities& poles = {}) {
  const std::optional<Bracket> bracket = walkToSignChange(d, start, step, poles);
  if (!bracket) {
    return false;
  }
  result = refineBracketedRoot(d, bracket->lower, bracket->upper, tolerance);
  return true;
}

}  // namespace swcore
