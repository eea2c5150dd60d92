// SPDX-License-Identifier: GPL-3.0-or-later
// An independent Love-wave boundary-condition determinant of a layered
// elastic half-space, used to check the engine's Love secular function.
//
// Formulation: the SH motion-stress vector (V, T), v = V exp(i k x),
// tau_yz = T exp(i k x), z downward, carried down from the free surface
// (V = 1, T = 0) through each layer in complex exponentials, the opposite
// direction and a different form from the engine's. At the top of the
// half-space the motion must be the one that decays into it,
// T = -mu nu V with nu = k sqrt(1 - c^2/beta^2): the determinant is
// T + mu nu V there, normalised layer by layer by a positive factor (sign
// and zeros are kept). Defined for phase velocities below the half-space S
// velocity.
#pragma once

#include <vector>

#include "layered_determinant.h"

namespace dispfit_test {

class LoveDeterminant {
 public:
  LoveDeterminant(std::vector<Layer> layers, double omega);

  // Sign-carrying determinant at phase velocity c (km/s), 0 < c < vs of the half-space.
  double operator()(double c) const;

  // Zeros in (lo, hi): sign changes on a grid of `samples` points, refined by bisection.
  std::vector<double> zeros(double lo, double hi, int samples) const;

 private:
  std::vector<Layer> layers_;
  double omega_;
};

}  // namespace dispfit_test
