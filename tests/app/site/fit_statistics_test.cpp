// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/fit_statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dispfit {

namespace {

TEST(ComputedCurve, MarksEveryVelocityThatIsNoRootAsAGap) {
  const float velocities[] = {200.0f,
                              0.0f,
                              std::numeric_limits<float>::quiet_NaN(),
                              -1.0f,
                              std::numeric_limits<float>::infinity(),
                              150.5f};
  const ComputedCurve curve = computedCurve(velocities);
  ASSERT_EQ(curve.size(), 6u);
  EXPECT_EQ(curve[0], 200.0f);
  for (std::size_t i = 1; i < 5; ++i) EXPECT_FALSE(curve[i].has_value()) << i;
  EXPECT_EQ(curve[5], 150.5f);
}

TEST(FitStatistics, CountsRmsAndBandAsWorkedByHand) {
  const std::vector<MeasuredPoint> measured{
      {40.0, 200.0, VelocityBand{190.0, 210.0}, 2},
      {30.0, 250.0, VelocityBand{240.0, 260.0}, 3},
      {20.0, 300.0, std::nullopt, 4},
      {10.0, 350.0, VelocityBand{340.0, 360.0}, 5},
      {5.0, 400.0, VelocityBand{390.0, 410.0}, 6},
  };
  // Residuals 5, 15, -10, (no root), -10:
  //   RMS = sqrt((25 + 225 + 100 + 100) / 4) = sqrt(112.5) = 10.6066 m/s.
  // Band: 205 inside, 265 outside, 300 has none, 390 on the lower end
  // (inside), the fourth point has no root.
  const ComputedCurve computed{205.0f, 265.0f, 290.0f, std::nullopt, 390.0f};
  const FitStatistics statistics = fitStatistics(measured, computed);
  ASSERT_TRUE(statistics.rmsMisfit.has_value());
  EXPECT_NEAR(*statistics.rmsMisfit, std::sqrt(112.5), 1e-12);
  EXPECT_EQ(statistics.compared, 4);
  EXPECT_EQ(statistics.withoutRoot, 1);
  EXPECT_EQ(statistics.withBand, 3);
  EXPECT_EQ(statistics.insideBand, 2);
}

TEST(FitStatistics, HasNoMisfitWhenNoPointHasARoot) {
  const std::vector<MeasuredPoint> measured{{40.0, 200.0, std::nullopt, 2},
                                            {30.0, 250.0, std::nullopt, 3}};
  const FitStatistics statistics = fitStatistics(measured, ComputedCurve{std::nullopt});
  EXPECT_FALSE(statistics.rmsMisfit.has_value());
  EXPECT_EQ(statistics.compared, 0);
  EXPECT_EQ(statistics.withoutRoot, 2);  // the second is beyond the computed curve
}

}  // namespace

}  // namespace dispfit
