// SPDX-License-Identifier: GPL-3.0-or-later
// The outgoing cylindrical wave of a vertical point source at the surface:
// a surface-wave mode of wavenumber k at distance r varies as
// H0(2)(k r) = J0(k r) - i Y0(k r) (in the FFT's sign convention of
// fourier_transform.h), which far from the source becomes
// sqrt(2 / (pi k r)) exp(-i (k r - pi/4)): the plane wave's phase and the
// 1 / sqrt(r) of cylindrical spreading. Closer than about a wavelength the
// phase runs ahead of the plane wave's (the near field), which biases a
// plane-wave transform's velocity there.
#pragma once

#include <cmath>
#include <complex>
#include <numbers>

namespace dispfit {

// Beyond this argument the Hankel function's series of three terms is used;
// its first omitted term, 75 / (1024 z^3) relative, is 7e-5 at z = 10, and
// the series saves two Bessel evaluations.
inline constexpr double kHankelSeriesFrom = 10.0;

// H0(2)(z) for z > 0. The series is H0(2)(z) ~ sqrt(2 / (pi z))
// exp(-i (z - pi/4)) (P(z) - i Q(z)) with P = 1 - 9 / (128 z^2) and
// Q = -1 / (8 z) (Abramowitz & Stegun 9.2.5-9.2.10), the complex conjugate
// of H0(1)'s.
inline std::complex<double> hankelSecondKind(double z) {
  if (z < kHankelSeriesFrom) return {std::cyl_bessel_j(0.0, z), -std::cyl_neumann(0.0, z)};
  const std::complex<double> series(1.0 - 9.0 / (128.0 * z * z), 1.0 / (8.0 * z));
  return std::sqrt(2.0 / (std::numbers::pi * z)) * std::polar(1.0, -(z - std::numbers::pi / 4.0)) *
         series;
}

}  // namespace dispfit
