// SPDX-License-Identifier: GPL-3.0-or-later
// The secular function against an independent boundary-condition determinant
// (delta-matrix propagation, see layered_determinant.h): below the
// half-space S velocity both must vanish at the same phase velocities.
#include <gtest/gtest.h>

#include <numbers>

#include "dispersion/secular_function.h"
#include "test_models.h"

namespace {

using dispfit_test::LayeredDeterminant;
using dispfit_test::Model;
using dispfit_test::signChanges;

constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct Case {
  const char* name;
  Model model;
  double hertz;
};

std::vector<Case> cases() {
  return {
      {"half-space", {{0.0}, {0.15}, {1.8}}, 30.0},
      {"one layer", {{0.004, 0.0}, {0.12, 0.35}, {1.7, 2.0}}, 25.0},
      {"one layer, high frequency", {{0.004, 0.0}, {0.12, 0.35}, {1.7, 2.0}}, 140.0},
      {"quoted three-layer model",
       {{0.005, 0.008, 0.0}, {0.18, 0.26, 0.42}, {1.8, 1.9, 2.1}},
       20.0},
      {"two layers, slow second", {{0.003, 0.006, 0.0}, {0.25, 0.11, 0.45}, {1.9, 1.6, 2.1}}, 35.0},
      {"five layers over half-space with two low-velocity layers",
       {{0.002, 0.003, 0.0025, 0.004, 0.005, 0.0},
        {0.16, 0.24, 0.13, 0.35, 0.2, 0.6},
        {1.75, 1.85, 1.7, 1.95, 1.8, 2.2}},
       45.0},
      {"five layers, increasing",
       {{0.002, 0.003, 0.0025, 0.004, 0.005, 0.0},
        {0.1, 0.17, 0.23, 0.31, 0.42, 0.55},
        {1.7, 1.8, 1.85, 1.9, 2.0, 2.1}},
       90.0},
  };
}

TEST(IndependentDeterminant, EigenvectorsSolveTheLayerEquations) {
  const dispfit_test::Layer layer{0.004, 0.2, 0.6, 1.9};
  const double omega = kTwoPi * 30.0;
  for (double c : {0.1, 0.25, 0.7}) {  // below both, between, above both velocities
    EXPECT_LT(dispfit_test::eigenResidual(layer, omega / c, omega, c), 1e-10) << c;
  }
}

TEST(IndependentDeterminant, HalfSpaceZeroIsTheClassicalRayleighVelocity) {
  const LayeredDeterminant det(dispfit_test::layersFor({{0.0}, {0.15}, {1.8}}), kTwoPi * 10.0);
  const std::vector<double> zeros = det.zeros(0.05, 0.1499, 500);
  ASSERT_EQ(zeros.size(), 1u);
  EXPECT_NEAR(zeros[0], 0.15 * dispfit_test::halfSpaceRayleighRatio(), 1e-12);
}

TEST(IndependentDeterminant, ZerosCoincideWithThoseOfTheSecularFunction) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    const double omega = kTwoPi * c.hertz;
    const swcore::SecularFunction d(dispfit_test::stateFor(c.model, omega));
    const LayeredDeterminant det(dispfit_test::layersFor(c.model), omega);
    double slowest = c.model.vs[0];
    for (double v : c.model.vs) {
      slowest = std::min(slowest, v);
    }
    const double lo = 0.6 * slowest;
    const double hi = c.model.vs.back() * 0.99999;
    const std::vector<double> expected = det.zeros(lo, hi, 4001);
    const std::vector<double> found = signChanges(d, lo, hi, 4001);
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(found.size(), expected.size());
    for (size_t i = 0; i < found.size(); ++i) {
      EXPECT_NEAR(found[i], expected[i], 1e-10) << i;
    }
  }
}

}  // namespace
