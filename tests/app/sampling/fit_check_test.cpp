// SPDX-License-Identifier: GPL-3.0-or-later
// The chi^2 test of the best fit: its degrees of freedom (points less the
// best fit's parameters) and its p-value against the closed form of two
// degrees of freedom, P(chi^2_2 >= Q) = e^(-Q/2), either side of 0.001; no
// test without sigma or without more points than parameters.
#include <gtest/gtest.h>

#include <cmath>

#include "fake_forward.h"
#include "sampling/fit_check.h"

namespace {

using namespace dispfit;

SamplerRun runWithBestFit(SampledModel model, double weightedSquares) {
  SamplerRun run;
  run.bestFit.model = std::move(model);
  run.bestFit.weightedSquares = weightedSquares;
  return run;
}

TEST(FitCheck, TestsTheBestFitAgainstChiSquareOfPointsLessParameters) {
  const std::vector<double> c{200.0, 250.0, 300.0};
  const std::vector<double> sigma{4.0, 5.0, 6.0};
  const CurveLikelihood likelihood(dispfit_test::pointsWith(c, sigma));
  // A half-space: one parameter, so 3 - 1 = 2 degrees of freedom, and the
  // 0.001 tail begins at Q = 2 ln 1000 = 13.8155.
  const SampledModel halfSpace{{250.0}, {}, {}};
  const std::optional<FitCheck> near = checkBestFit(runWithBestFit(halfSpace, 13.6), likelihood);
  ASSERT_TRUE(near);
  EXPECT_EQ(near->degreesOfFreedom, 2);
  EXPECT_NEAR(near->pValue, std::exp(-6.8), 1e-12);
  EXPECT_FALSE(near->warns());
  const std::optional<FitCheck> beyond = checkBestFit(runWithBestFit(halfSpace, 14.0), likelihood);
  ASSERT_TRUE(beyond);
  EXPECT_NEAR(beyond->pValue, std::exp(-7.0), 1e-12);
  EXPECT_TRUE(beyond->warns());

  // A layer over the half-space has three parameters (two Vs, a
  // thickness), a sampled Poisson's ratio a fourth: no more points than
  // parameters leaves nothing to test.
  EXPECT_FALSE(checkBestFit(runWithBestFit({{200.0, 300.0}, {5.0}, {}}, 1.0), likelihood));
  const std::optional<FitCheck> withPoisson =
      checkBestFit(runWithBestFit({{250.0}, {}, {0.3}}, 1.0), likelihood);
  ASSERT_TRUE(withPoisson);
  EXPECT_EQ(withPoisson->degreesOfFreedom, 1);

  // Without sigma a sampled noise scale takes up any misfit: no test.
  std::vector<MeasuredPoint> bare = dispfit_test::pointsWith(c, sigma);
  for (MeasuredPoint& p : bare) p.band.reset();
  EXPECT_FALSE(checkBestFit(runWithBestFit(halfSpace, 100.0), CurveLikelihood(bare)));
  // Nor where no chain reached a model.
  EXPECT_FALSE(checkBestFit(SamplerRun{}, likelihood));
}

}  // namespace
