// SPDX-License-Identifier: GPL-3.0-or-later
#include "shots/near_field_factor.h"

#include <cmath>
#include <numbers>

namespace dispfit {

NearFieldFactor::NearFieldFactor() {
  // Entries up to kHankelSeriesFrom, so that the interpolation just below it
  // reads a neighbour, and one more in case a rounding of u reaches it.
  const auto count = static_cast<std::size_t>(std::ceil((kHankelSeriesFrom - kNearFieldTableFrom) /
                                                        kNearFieldTableStep)) +
                     2;
  table_.reserve(count);
  for (std::size_t n = 0; n < count; ++n) {
    table_.push_back(exact(kNearFieldTableFrom + double(n) * kNearFieldTableStep));
  }
}

std::complex<double> NearFieldFactor::exact(double z) {
  const std::complex<double> h(std::cyl_bessel_j(0.0, z), -std::cyl_neumann(0.0, z));
  return h * std::sqrt(std::numbers::pi * z / 2.0) * std::polar(1.0, z - std::numbers::pi / 4.0);
}

}  // namespace dispfit
