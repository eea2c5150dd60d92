// SPDX-License-Identifier: GPL-3.0-or-later
// The misfit the search ranks by, against values worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "search/curve_misfit.h"

namespace {

using namespace dispfit;

TEST(CurveMisfit, NormalisedByHalfTheBandOrPlainMetresPerSecond) {
  // Bands: sigma 10 (a +-10 band) and 5 (low 95, high 105 around 100).
  // Residuals 10 and -5 give normalised residuals 1 and -1: misfit 1.
  const std::vector<MeasuredPoint> banded{{20.0, 200.0, VelocityBand{190.0, 210.0}, 1},
                                          {10.0, 100.0, VelocityBand{95.0, 105.0}, 2}};
  const CurveMisfit normalised(banded);
  ASSERT_EQ(normalised.fault(), "");
  EXPECT_EQ(normalised.kind(), MisfitKind::Normalised);
  EXPECT_DOUBLE_EQ(normalised.of(std::vector<double>{210.0, 95.0}), 1.0);
  // Residuals 3 and 4 m/s without bands: sqrt((9 + 16) / 2) = 3.5355.
  const std::vector<MeasuredPoint> plain{{20.0, 200.0, std::nullopt, 1},
                                         {10.0, 100.0, std::nullopt, 2}};
  const CurveMisfit metres(plain);
  EXPECT_EQ(metres.kind(), MisfitKind::MetresPerSecond);
  EXPECT_NEAR(metres.of(std::vector<double>{203.0, 104.0}), std::sqrt(12.5), 1e-12);
  // A frequency without a root rejects the model.
  EXPECT_EQ(metres.of(std::vector<double>{203.0, std::numeric_limits<double>::quiet_NaN()}),
            std::numeric_limits<double>::infinity());
  EXPECT_EQ(misfitName(MisfitKind::Normalised), "normalised misfit");
  EXPECT_EQ(misfitName(MisfitKind::MetresPerSecond), "misfit (m/s)");
}

TEST(CurveMisfit, RefusesCurvesItCannotWeigh) {
  EXPECT_NE(CurveMisfit(std::vector<MeasuredPoint>{}).fault(), "");
  const std::vector<MeasuredPoint> mixed{{20.0, 200.0, VelocityBand{190.0, 210.0}, 1},
                                         {10.0, 100.0, std::nullopt, 2}};
  EXPECT_NE(CurveMisfit(mixed).fault().find("some points have a band"), std::string::npos);
  const std::vector<MeasuredPoint> flat{{20.0, 200.0, VelocityBand{200.0, 200.0}, 7}};
  EXPECT_NE(CurveMisfit(flat).fault().find("line 7"), std::string::npos);
}

TEST(CurveMisfit, HalfSpaceModelMatchesRayleighVelocity) {
  // A half-space of Vs 200 m/s and Vp = sqrt(3) Vs (Poisson's ratio 1/4)
  // carries Rayleigh waves at 0.9194 Vs at every frequency (the root of
  // Rayleigh's equation for nu = 1/4, sqrt(2 - 2/sqrt(3)) x Vs).
  const double rayleigh = 200.0 * std::sqrt(2.0 - 2.0 / std::sqrt(3.0));
  const std::vector<MeasuredPoint> points{{50.0, rayleigh, std::nullopt, 1},
                                          {5.0, rayleigh, std::nullopt, 2}};
  const CurveMisfit curve(points);
  MisfitEvaluator evaluator(curve);
  const TrialModel halfSpace{{0.0}, {200.0}, {200.0 * std::sqrt(3.0)}, {1.9}};
  // 1e-4 m/s: the solver's root tolerance of 1e-5 m/s with room.
  EXPECT_LT(evaluator.misfit(halfSpace), 1e-4);
}

}  // namespace
