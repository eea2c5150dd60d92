// SPDX-License-Identifier: GPL-3.0-or-later
// The point source's outgoing wave: H0(2) against the Bessel functions on
// both sides of the switch to its series, and the tabulated near-field
// factor against the same functions over every part of its range.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "shots/cylindrical_wave.h"
#include "shots/near_field_factor.h"

namespace dispfit_test {
namespace {

using Complex = std::complex<double>;

Complex besselHankel(double z) {
  return {std::cyl_bessel_j(0.0, z), -std::cyl_neumann(0.0, z)};
}

// H0(2) = sqrt(2 / (pi z)) exp(-i (z - pi/4)) G, solved for G.
Complex besselNearFieldFactor(double z) {
  return besselHankel(z) * std::sqrt(std::numbers::pi * z / 2.0) *
         std::polar(1.0, z - std::numbers::pi / 4.0);
}

TEST(CylindricalWave, TheSeriesAgreesWithTheBesselFunctionsBeyondItsStart) {
  // The series' first omitted term is 75 / (1024 z^3) of H relative: 7.3e-5
  // at z = 10. A wrong sign of its 1 / (8 z) term would err by 1 / (4 z),
  // 2.5 % at z = 10.
  for (double z = dispfit::kHankelSeriesFrom; z < 200.0; z *= 1.07) {
    SCOPED_TRACE(z);
    const Complex expected = besselHankel(z);
    const double bound = 75.0 / (1024.0 * z * z * z) + 1e-9;
    EXPECT_LT(std::abs(dispfit::hankelSecondKind(z) - expected) / std::abs(expected), bound);
  }
  // Below the series, the Bessel functions themselves.
  EXPECT_EQ(dispfit::hankelSecondKind(3.0), besselHankel(3.0));
}

TEST(NearFieldFactor, ReadsTheFactorWithinItsErrorBoundInEachPart) {
  const dispfit::NearFieldFactor factor;
  struct Part {
    double from, to;
    double bound;  // relative to |G|
    const char* name;
  };
  const Part parts[] = {
      // Computed from the Bessel functions: rounding only.
      {0.01, dispfit::kNearFieldTableFrom, 1e-12, "from the Bessel functions"},
      // Linear interpolation: h^2 / 8 |G''| <= 5.5e-6 of |G| at z = 0.5.
      {dispfit::kNearFieldTableFrom, dispfit::kHankelSeriesFrom, 6e-6, "the table"},
      // The series, as above.
      {dispfit::kHankelSeriesFrom, 500.0, 7.5e-5, "the series"},
  };
  for (const Part& part : parts) {
    SCOPED_TRACE(part.name);
    double worst = 0.0;
    // A step that is no multiple of the table's, so that points fall
    // between its entries.
    for (double z = part.from; z < part.to; z += 0.00173 * (1.0 + z)) {
      const Complex expected = besselNearFieldFactor(z);
      worst = std::max(worst, std::abs(factor(z, 1.0 / z) - expected) / std::abs(expected));
    }
    EXPECT_LT(worst, part.bound);
    RecordProperty(part.name, std::to_string(worst));
  }
  // Far from the source the wave is its far-field form.
  EXPECT_NEAR(std::abs(factor(1e4, 1e-4) - 1.0), 0.0, 2e-5);
}

}  // namespace
}  // namespace dispfit_test
