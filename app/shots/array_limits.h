// SPDX-License-Identifier: GPL-3.0-or-later
// The wavelengths a linear array resolves.
//
// Shortest: twice the receiver spacing; a shorter wave is sampled less than
// twice a wavelength and aliases into a longer one. Longest: the array's
// length (its outermost receivers' distance), the rule of thumb of the
// guidelines for surface-wave analysis (Foti et al. 2018, from the
// InterPACIFIC project): a wave much longer than the array is seen over too
// little of a cycle for its phase velocity to be trusted, and near the source
// it is not yet a plane surface wave.
#pragma once

#include "shots/shot_gather.h"

namespace dispfit {

struct ArrayLimits {
  double shortestWavelength = 0.0;  // m
  double longestWavelength = 0.0;   // m

  // Whether the wave of velocity v (m/s) at frequency f (Hz) lies inside.
  bool holds(double frequency, double velocity) const {
    const double wavelength = velocity / frequency;
    return wavelength >= shortestWavelength && wavelength <= longestWavelength;
  }
};

// The longest wavelength trusted as a multiple of the array's length.
inline constexpr double kLongestWavelengthPerLength = 1.0;

ArrayLimits arrayLimits(const ShotGather& gather);

}  // namespace dispfit
