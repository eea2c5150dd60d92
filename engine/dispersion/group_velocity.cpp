// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/group_velocity.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace swcore {

namespace {

// The four values of D the differences need, all of one form: the literal
// reduction when all four are finite, else the rescaled one. The rescaled
// form differs from D by a positive factor that varies with c and omega,
// but at a zero, D being 0, the factor scales both derivatives alike.
struct DifferenceValues {
  double belowC, aboveC, belowOmega, aboveOmega;
};

DifferenceValues differenceValues(const SecularModel& model, double c, double relativeStep) {
  const double h = c * relativeStep;
  SecularModel lowerOmega = model;
  SecularModel higherOmega = model;
  lowerOmega.omega = model.omega * (1.0 - relativeStep);
  higherOmega.omega = model.omega * (1.0 + relativeStep);
  const SecularFunction d(model);
  const SecularFunction dLower(lowerOmega);
  const SecularFunction dHigher(higherOmega);
  const DifferenceValues literal{d.literal(c - h), d.literal(c + h), dLower.literal(c),
                                 dHigher.literal(c)};
  if (std::isfinite(literal.belowC) && std::isfinite(literal.aboveC) &&
      std::isfinite(literal.belowOmega) && std::isfinite(literal.aboveOmega)) {
    return literal;
  }
  return {d.rescaled(c - h), d.rescaled(c + h), dLower.rescaled(c), dHigher.rescaled(c)};
}

// The largest argument k h |r| of the vertical terms at c: both derivatives
// scale with it, since every term is a function of k h r.
double largestArgument(const SecularModel& model, double c) {
  const double k = model.omega / c;
  double largest = 0.0;
  for (int m = 0; m + 1 < model.layerCount; ++m) {
    for (const double v : {model.pVelocity[m], model.shearVelocity[m]}) {
      const double r = std::sqrt(std::abs(1.0 - c * c / (v * v)));
      largest = std::max(largest, k * model.thickness[m] * r);
    }
  }
  return largest;
}

}  // namespace

double groupVelocity(const SecularModel& model, double c) {
  // 1e-4 of a unit change of the largest argument: the differences' error of
  // second order is then about 1e-8 relative, while D still changes by
  // about 1e-4 of its scale over the step, far above its rounding (about
  // 1e-16 of the scale times the cancellation in the reduction).
  const double relativeStep = 1e-4 / std::max(1.0, largestArgument(model, c));
  const DifferenceValues v = differenceValues(model, c, relativeStep);
  const double dC = (v.aboveC - v.belowC) / (2.0 * c * relativeStep);
  const double dOmega = (v.aboveOmega - v.belowOmega) / (2.0 * model.omega * relativeStep);
  if (!(std::abs(dC) > 0.0) || !std::isfinite(dC) || !std::isfinite(dOmega)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  const double slope = -dOmega / dC;  // dc/domega
  return c / (1.0 - model.omega / c * slope);
}

}  // namespace swcore
