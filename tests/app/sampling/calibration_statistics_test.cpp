// SPDX-License-Identifier: GPL-3.0-or-later
// The calibration's arithmetic: the chi^2 tail against published table
// values, the tally's coverage and rank histogram, a site drawn from the
// prior with its curve and noise.
#include <gtest/gtest.h>

#include <cmath>

#include "sampling/calibration.h"

namespace {

using namespace dispfit;

TEST(CalibrationStatistics, ChiSquareTailMatchesTheTables) {
  // Upper-tail critical values (e.g. Abramowitz and Stegun, table 26.8):
  // chi^2 with 9 degrees at 0.05 is 16.919, at 0.01 21.666; with 2 degrees
  // the tail is exp(-x / 2); with 1 degree at 0.05 it is 3.841.
  struct Row {
    double x;
    int dof;
    double tail;
  };
  const Row rows[] = {{16.919, 9, 0.05},        {21.666, 9, 0.01}, {3.841, 1, 0.05},
                      {2.0, 2, std::exp(-1.0)}, {9.488, 4, 0.05},  {0.0, 9, 1.0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.x);
    EXPECT_NEAR(chiSquareUpperTail(row.x, row.dof), row.tail, 2e-4);
  }
}

TEST(CalibrationStatistics, TallyCountsCoverageAndRanks) {
  CalibrationTally tally;
  for (std::size_t s = 0; s < 20; ++s) {
    SiteOutcome outcome;
    for (auto& quantity : outcome.covered) quantity = {s % 2 == 0, s % 5 != 0, true};
    outcome.rank = (s * 5) % (kRankDraws + 1);  // 0, 5, .. 95: two to a bin
    tally.add(outcome);
  }
  EXPECT_EQ(tally.sites(), 20u);
  EXPECT_DOUBLE_EQ(tally.coverage(0, 0), 0.5);
  EXPECT_DOUBLE_EQ(tally.coverage(3, 1), 0.8);
  EXPECT_DOUBLE_EQ(tally.coverage(2, 2), 1.0);
  for (const std::int64_t n : tally.rankHistogram()) EXPECT_EQ(n, 2);
  EXPECT_DOUBLE_EQ(tally.rankPValue(), 1.0);  // chi^2 = 0
  SiteOutcome lopsided;
  lopsided.rank = 0;
  for (int i = 0; i < 20; ++i) tally.add(lopsided);
  EXPECT_LT(tally.rankPValue(), 1e-6);
}

TEST(CalibrationStatistics, SitesComeFromThePriorWithTheirNoisedCurve) {
  SearchSpace space;
  space.layers.assign(3, LayerRanges{{80.0, 1000.0}, {0.5, 15.0}, 1.9, std::nullopt, std::nullopt});
  const ModelPrior prior(space, {3, 3});
  const CalibrationSite a = drawCalibrationSite(prior, 1, 0);
  const CalibrationSite again = drawCalibrationSite(prior, 1, 0);
  const CalibrationSite b = drawCalibrationSite(prior, 1, 1);
  EXPECT_TRUE(prior.contains(a.truth));
  EXPECT_EQ(a.truth.vs, again.truth.vs);
  EXPECT_NE(a.truth.vs, b.truth.vs);
  ASSERT_EQ(a.curve.size(), 30u);
  EXPECT_DOUBLE_EQ(a.curve.front().frequency, 80.0);
  EXPECT_NEAR(a.curve.back().frequency, 5.0, 1e-12);
  // Each band is c +- 2 % of the true velocity: its half-width over the
  // observed velocity lies near 2 %.
  for (const MeasuredPoint& p : a.curve) {
    const double sigma = 0.5 * (p.band->high - p.band->low);
    EXPECT_NEAR(sigma / p.velocity, 0.02, 0.002);
  }
}

}  // namespace
