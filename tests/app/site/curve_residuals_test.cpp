// SPDX-License-Identifier: GPL-3.0-or-later
// The residuals under the dispersion chart: normalised by each point's band,
// or in m/s without one, the frequencies without a root left out.
#include "site/curve_residuals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dispfit {
namespace {

MeasuredPoint point(double f, double c, std::optional<VelocityBand> band = std::nullopt) {
  return {f, c, band, 0};
}

TEST(CurveResiduals, NormalisedByHalfTheBandWorkedByHand) {
  // 40 Hz: 120 +/- 5 against 123: (120 - 123) / 5 = -0.6; 20 Hz: 180 in
  // 170..190 (half width 10) against 175: +0.5.
  const std::vector<MeasuredPoint> points{point(40, 120, VelocityBand{115, 125}),
                                          point(20, 180, VelocityBand{170, 190})};
  ASSERT_EQ(residualScale(points), ResidualScale::Normalised);
  const std::vector<Residual> r =
      curveResiduals(points, std::vector<double>{123, 175}, ResidualScale::Normalised);
  ASSERT_EQ(r.size(), 2u);
  EXPECT_DOUBLE_EQ(r[0].value, -0.6);
  EXPECT_DOUBLE_EQ(r[0].frequency, 40);
  EXPECT_DOUBLE_EQ(r[0].wavelength, 3);  // 120 / 40, the measured point's
  EXPECT_DOUBLE_EQ(r[1].value, 0.5);
}

TEST(CurveResiduals, InMetresPerSecondWithoutABandAndGapsLeftOut) {
  const double none = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    std::vector<MeasuredPoint> points;
  } cases[] = {
      {"no band", {point(30, 150), point(20, 180), point(10, 200)}},
      // One point without a band: the residuals cannot all be normalised.
      {"some band", {point(30, 150, VelocityBand{140, 160}), point(20, 180), point(10, 200)}},
      // A band of no width cannot divide.
      {"a band of no width",
       {point(30, 150, VelocityBand{150, 150}), point(20, 180, VelocityBand{170, 190}),
        point(10, 200, VelocityBand{190, 210})}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(residualScale(row.points), ResidualScale::MetresPerSecond);
    // 150 - 146 = 4 m/s; 20 Hz without a root; 200 - 210 = -10 m/s.
    const std::vector<Residual> r = curveResiduals(row.points, std::vector<double>{146, none, 210},
                                                   ResidualScale::MetresPerSecond);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_DOUBLE_EQ(r[0].value, 4);
    EXPECT_DOUBLE_EQ(r[1].value, -10);
    EXPECT_DOUBLE_EQ(r[1].frequency, 10);
  }
  EXPECT_TRUE(
      curveResiduals(cases[0].points, std::vector<double>{1, 2}, ResidualScale::MetresPerSecond)
          .empty());
  // The engine's mark of no root (0) is a gap too.
  EXPECT_EQ(curveResiduals(cases[0].points, velocitiesOf({150.0f, std::nullopt, 0.0f}),
                           ResidualScale::MetresPerSecond)
                .size(),
            1u);
}

// The axis's half range: 2, 4, 10, 20, 40, ... over 1.15 times the largest.
TEST(CurveResiduals, AxisSpanWorkedByHand) {
  const struct {
    double largest, span;
  } cases[] = {{0.0, 2}, {1.2, 2}, {1.73, 2}, {1.74, 4}, {3.4, 4},  {3.5, 10},
               {-8, 10}, {9, 20},  {17, 20},  {30, 40},  {80, 100}, {NAN, 2}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.largest);
    EXPECT_DOUBLE_EQ(residualAxisSpan(row.largest), row.span);
  }
}

}  // namespace
}  // namespace dispfit
