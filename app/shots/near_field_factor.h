// SPDX-License-Identifier: GPL-3.0-or-later
// The point source's outgoing wave relative to its far-field form, in a
// table, so that the beamformer's steering costs a look-up and a few
// products a cell and channel rather than two Bessel functions.
//
// Notation:
//   z = k r     the phase distance (rad): wavenumber k times distance r
//   H(z)        H0(2)(z) = J0(z) - i Y0(z), the outgoing cylindrical wave
//   G(z)        the near-field factor, H(z) = sqrt(2 / (pi z)) exp(-i (z - pi/4)) G(z)
//
// G tends to 1 far from the source and changes slowly everywhere: its
// real part rises from 0.91 at z = 0.5 to 1, its imaginary part falls like
// 1 / (8 z). It is read
//   below kNearFieldTableFrom      from the Bessel functions, where the
//                                  logarithm of Y0 bends G too sharply
//                                  for a table
//   up to kHankelSeriesFrom        by linear interpolation in a table of
//                                  step kNearFieldTableStep
//   from kHankelSeriesFrom         from the large-argument series
//                                  1 - 9 / (128 z^2) + i / (8 z), as H itself
//                                  is (cylindrical_wave.h), given 1 / z.
#pragma once

#include <complex>
#include <cstddef>
#include <vector>

#include "shots/cylindrical_wave.h"

namespace dispfit {

// Below this z the table is not used: G's second derivative grows like
// z^-3/2 towards the source.
inline constexpr double kNearFieldTableFrom = 0.5;

// The table's step in z. Linear interpolation errs by at most h^2 / 8 times
// G's second derivative: 5.5e-6 of |G| at z = 0.5 and less beyond (the tests
// measure it over the whole table), far below what moves a ridge by a
// velocity cell.
inline constexpr double kNearFieldTableStep = 1.0 / 128.0;

class NearFieldFactor {
 public:
  // Fills the table: about 1,200 pairs of Bessel functions.
  NearFieldFactor();

  // G(z) for z > 0, given also 1 / z, which the caller forms without a
  // division.
  std::complex<double> operator()(double z, double inverseZ) const {
    if (z >= kHankelSeriesFrom) {
      return {1.0 - (9.0 / 128.0) * inverseZ * inverseZ, 0.125 * inverseZ};
    }
    if (z < kNearFieldTableFrom) return exact(z);
    const double u = (z - kNearFieldTableFrom) * (1.0 / kNearFieldTableStep);
    const auto n = static_cast<std::size_t>(u);
    const double t = u - double(n);
    return table_[n] + (table_[n + 1] - table_[n]) * t;
  }

  // G(z) from the Bessel functions, for z > 0.
  static std::complex<double> exact(double z);

 private:
  std::vector<std::complex<double>> table_;  // G at kNearFieldTableFrom + n h
};

}  // namespace dispfit
