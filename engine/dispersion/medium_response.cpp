// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/medium_response.h"

#include <cmath>
#include <numbers>

namespace swcore {

double verticalSurfaceResponse(const Eigenfunction& mode, double frequency) {
  const double r2 = mode.at(0.0).values[1];
  const EnergyIntegrals i = mode.integrals();
  const double c = mode.phaseVelocity();
  const double u = mode.groupVelocity();
  const double k = 2.0 * std::numbers::pi * frequency / c;
  const double response = r2 * r2 / (8.0 * c * u * i.i1) * std::sqrt(2.0 / (std::numbers::pi * k));
  return std::isfinite(response) && response > 0.0 ? response : 0.0;
}

}  // namespace swcore
