// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/group_velocity.h"

#include <cmath>
#include <limits>

#include "dispersion/love_secular_function.h"
#include "dispersion/zero_refinement.h"

namespace swcore {

namespace {

constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();

// 1e-5: the relative step in omega. The zeros are refined to 1e-14 of c, so
// a difference carries 1e-9 of the slope from them, and Richardson's
// combination leaves an error of fourth order in the step, below 1e-8 of the
// slope unless the curve bends within 1 % of the frequency.
constexpr double kOmegaStep = 1e-5;

// 1e-6 of c: the bracket around the given root, ten times the search's
// tolerance at the slowest velocities (1e-8 km/s at 0.01 km/s).
constexpr double kRootSpread = 1e-6;

// Doublings of the bracket around the root moved by a step in omega: from
// 2 delta (c moves by delta |1 - c / U|) up to 64 delta, which follows modes
// whose group velocity is a thirtieth of their phase velocity.
constexpr int kBracketDoublings = 5;

double halfSpaceShear(const SecularModel& model) {
  return model.shearVelocity[model.layerCount - 1];
}

// The zero near c of the mode at omega (1 + step).
template <class Function>
double zeroAtShiftedOmega(const SecularModel& model, double c, double step, InstructionSet set) {
  SecularModel shifted = model;
  shifted.omega = model.omega * (1.0 + step);
  const Function d(shifted, set);
  double spread = 2.0 * std::abs(step);
  for (int i = 0; i <= kBracketDoublings; ++i, spread *= 2.0) {
    const double zero = zeroWithin(d, c, spread, halfSpaceShear(model));
    if (!std::isnan(zero)) {
      return zero;
    }
  }
  return kUndefined;
}

template <class Function>
double groupVelocityOf(const SecularModel& model, double root, InstructionSet set) {
  const double refined = zeroWithin(Function(model, set), root, kRootSpread, halfSpaceShear(model));
  const double c = std::isnan(refined) ? root : refined;
  const auto difference = [&](double h) {
    const double above = zeroAtShiftedOmega<Function>(model, c, h, set);
    const double below = zeroAtShiftedOmega<Function>(model, c, -h, set);
    return (above - below) / (2.0 * model.omega * h);
  };
  const double slope = (4.0 * difference(kOmegaStep) - difference(2.0 * kOmegaStep)) / 3.0;
  if (!std::isfinite(slope)) {
    return kUndefined;
  }
  return c / (1.0 - model.omega / c * slope);
}

}  // namespace

double groupVelocity(const SecularModel& model, double c) {
  return groupVelocity(model, c, WaveType::rayleigh, fastestInstructionSet());
}

double groupVelocity(const SecularModel& model, double c, WaveType wave) {
  return groupVelocity(model, c, wave, fastestInstructionSet());
}

double groupVelocity(const SecularModel& model, double c, WaveType wave, InstructionSet set) {
  return wave == WaveType::love ? groupVelocityOf<LoveSecularFunction>(model, c, set)
                                : groupVelocityOf<SecularFunction>(model, c, set);
}

}  // namespace swcore
