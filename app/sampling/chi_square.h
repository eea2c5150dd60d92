// SPDX-License-Identifier: GPL-3.0-or-later
// The upper tail of the chi^2 distribution, for the tests the posterior's
// figures are put to: the uniformity of the calibration's ranks, and whether
// the best fit's misfit is one the curve's sigma allows.
//
// Notation:
//   nu     the degrees of freedom, a whole number
//   y      x / 2
//   Q(x)   P(chi^2_nu >= x) = e^-y sum_{j < nu/2} y^j / j! for even nu;
//          erfc(sqrt y) + e^-y sum_{j < (nu-1)/2} y^(j+1/2) / Gamma(j + 3/2)
//          for odd nu
#pragma once

namespace dispfit {

// Q(x) for `dof` >= 1 degrees of freedom: exact sums for whole degrees; 1
// for x <= 0.
double chiSquareUpperTail(double x, int dof);

}  // namespace dispfit
