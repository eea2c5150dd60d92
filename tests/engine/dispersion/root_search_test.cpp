// SPDX-License-Identifier: GPL-3.0-or-later
// The root search: the upward walk, regula falsi and the check of its stop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "dispersion/root_search.h"
#include "dispersion/secular_function.h"
#include "test_models.h"

namespace {

using dispfit_test::Model;
using dispfit_test::Recorded;
using dispfit_test::stateFor;
using swcore::findRoot;
using swcore::SecularFunction;

constexpr double kTolerance = 1e-8;
constexpr double kStartFactor = 0.800000011920929;

TEST(RootSearch, HalfSpaceFromBelowFindsTheRayleighVelocity) {
  const SecularFunction d(stateFor({{0.0}, {0.15}, {1.8}}, 2.0 * M_PI * 50.0));
  double result = -1.0;
  ASSERT_TRUE(findRoot(d, 0.12, 0.001, kTolerance, result));
  EXPECT_NEAR(result, 0.15 * dispfit_test::halfSpaceRayleighRatio(), kTolerance);
  EXPECT_NEAR(result, 0.1420961, 5e-8);
}

// 5 m and 10 m over a half-space at 150 Hz: the slow creep of false position.
class CreepCase : public ::testing::Test {
 protected:
  const Model model = dispfit_test::twoLayersOverHalfSpace();
  const SecularFunction d{stateFor(model, dispfit_test::engineOmega(150.0))};
  const double start = 0.15 * kStartFactor;
};

TEST_F(CreepCase, WalkBracketsTheZeroInItsFifthStep) {
  const auto bracket = swcore::walkToSignChange(d, start, 0.005);
  ASSERT_TRUE(bracket.has_value());
  EXPECT_NEAR(bracket->lower.x, start + 0.020, 1e-15);
  EXPECT_NEAR(bracket->upper.x, start + 0.025, 1e-15);
}

TEST_F(CreepCase, ReturnsTheCreptValueAfterNearlyTwoThousandEvaluations) {
  double result = 0.0;
  const std::uint64_t before = swcore::secularEvaluationCount;
  ASSERT_TRUE(findRoot(d, start, 0.005, kTolerance, result));
  const std::uint64_t evaluations = swcore::secularEvaluationCount - before;
  EXPECT_NEAR(result, 0.1420966, 1e-7);
  // The zero itself, from the independent determinant, lies 0.5 m/s lower.
  const dispfit_test::LayeredDeterminant det(dispfit_test::layersFor(model),
                                             dispfit_test::engineOmega(150.0));
  const std::vector<double> zeros = det.zeros(0.1415, 0.1425, 100);
  ASSERT_EQ(zeros.size(), 1u);
  EXPECT_NEAR(zeros[0], 0.1420961, 5e-8);
  EXPECT_GT(result - zeros[0], kTolerance);
  EXPECT_LT(result - zeros[0], swcore::kProbeDistance);
  // The plain search: 6 walk evaluations and 1949 of false position.
  std::uint64_t plainEvaluations = 0;
  const auto counted = [&](double c) {
    ++plainEvaluations;
    return d(c);
  };
  const auto bracket = swcore::walkToSignChange(counted, start, 0.005);
  ASSERT_TRUE(bracket.has_value());
  dispfit_test::plainRegulaFalsi(counted, bracket->lower.x, bracket->lower.f, bracket->upper.x,
                                 bracket->upper.f, kTolerance);
  EXPECT_EQ(plainEvaluations, 1955u);
  // One more: the probe that proves the value within 1e-4 km/s of the zero.
  EXPECT_EQ(evaluations, plainEvaluations + 1);
}

TEST_F(CreepCase, CheckOfTheStopKeepsTheValueOfPlainRegulaFalsiBitForBit) {
  const auto bracket = swcore::walkToSignChange(d, start, 0.005);
  ASSERT_TRUE(bracket.has_value());
  const double plain = dispfit_test::plainRegulaFalsi(
      d, bracket->lower.x, bracket->lower.f, bracket->upper.x, bracket->upper.f, kTolerance);
  double result = 0.0;
  ASSERT_TRUE(findRoot(d, start, 0.005, kTolerance, result));
  EXPECT_EQ(result, plain);
}

TEST(RootSearch, TwoZerosWithinOneStepAreSteppedOver) {
  // Zeros at 0.31 and 0.33 fall between the step points 0.3 and 0.35; the
  // next zero at 0.52 is taken.
  const auto f = [](double x) { return (x - 0.31) * (x - 0.33) * (x - 0.52); };
  double result = 0.0;
  ASSERT_TRUE(findRoot(f, 0.25, 0.05, kTolerance, result));
  EXPECT_NEAR(result, 0.52, 1e-7);
}

TEST(RootSearch, AZeroBelowTheStartIsNeverFound) {
  const auto f = [](double x) { return (x - 0.2) * (x - 0.6); };
  double result = 0.0;
  ASSERT_TRUE(findRoot(f, 0.25, 0.01, kTolerance, result));
  EXPECT_NEAR(result, 0.6, 1e-7);
}

TEST(RootSearch, StartAtTheCeilingTakesOneStepAndLeavesTheResultCell) {
  Recorded f{[](double x) { return x - 20.0; }};
  double result = 0.777;
  EXPECT_FALSE(findRoot(f, 10.0, 0.001, kTolerance, result));
  EXPECT_EQ(result, 0.777);
  ASSERT_EQ(f.points.size(), 2u);
  EXPECT_DOUBLE_EQ(f.points[1], 10.001);
}

TEST(RootSearch, WalkEndsAtTheCeilingWithoutASignChange) {
  Recorded f{[](double x) { return 1.0 + x; }};
  double result = 0.5;
  EXPECT_FALSE(findRoot(f, 9.0, 0.25, kTolerance, result));
  EXPECT_EQ(result, 0.5);
  EXPECT_EQ(f.points.back(), 10.0);
  EXPECT_EQ(f.points.size(), 5u);
}

TEST(RootSearch, ExactZeroAtAStepPointIsReturnedAfterTheSecondPass) {
  Recorded f{[](double x) { return x - 0.5; }};
  double result = 0.0;
  ASSERT_TRUE(findRoot(f, 0.25, 0.125, kTolerance, result));
  EXPECT_EQ(result, 0.5);
  // 0.25, 0.375, 0.5 on the walk and one refinement at 0.5; no probe needed.
  EXPECT_EQ(f.points, (std::vector<double>{0.25, 0.375, 0.5, 0.5}));
}

TEST(RootSearch, StartAtOrBelowZeroWalksFromOneStepAboveZero) {
  const SecularFunction d(stateFor({{0.0}, {0.15}, {1.8}}, 2.0 * M_PI * 50.0));
  for (double start : {-0.01, -0.002, 0.0, std::numeric_limits<double>::quiet_NaN()}) {
    double result = -1.0;
    ASSERT_TRUE(findRoot(d, start, 0.005, kTolerance, result)) << start;
    EXPECT_NEAR(result, 0.1420961, 1e-6) << start;
  }
  Recorded f{[](double x) { return x - 0.3; }};
  double result = 0.0;
  ASSERT_TRUE(findRoot(f, -0.01, 0.1, kTolerance, result));
  EXPECT_EQ(f.points.front(), 0.1);
}

TEST(RootSearch, StepThatIsNotPositiveFindsNothing) {
  Recorded f{[](double x) { return x - 0.3; }};
  for (double step : {0.0, -0.001, std::numeric_limits<double>::quiet_NaN()}) {
    double result = 0.25;
    EXPECT_FALSE(findRoot(f, 0.1, step, kTolerance, result)) << step;
    EXPECT_EQ(result, 0.25);
  }
  EXPECT_TRUE(f.points.empty());
}

TEST(BracketRefinement, FalseStopOnABracketEndIsCaughtAndRefined) {
  // |f| differs by seventeen decades across the zero at 0.9: false position
  // sits on the lower end and its step test fires at once.
  const auto f = [](double x) { return x < 0.9 ? 1e-12 * (x - 0.9) : 1e5 * (x - 0.9); };
  const double plain = dispfit_test::plainRegulaFalsi(f, 0.0, f(0.0), 1.0, f(1.0), kTolerance);
  EXPECT_LT(plain, 1e-3);
  const double refined = swcore::refineBracketedRoot(f, {0.0, f(0.0)}, {1.0, f(1.0)}, kTolerance);
  EXPECT_NEAR(refined, 0.9, kTolerance);
}

TEST(BracketRefinement, HonestStopIsReturnedUnchangedAfterOneProbe) {
  const auto f = [](double x) { return std::exp(x) - 2.0; };
  const double plain = dispfit_test::plainRegulaFalsi(f, 0.5, f(0.5), 1.0, f(1.0), kTolerance);
  Recorded r{f};
  const double refined = swcore::refineBracketedRoot(r, {0.5, f(0.5)}, {1.0, f(1.0)}, kTolerance);
  EXPECT_EQ(refined, plain);
  EXPECT_NEAR(refined, std::log(2.0), 1e-8);
  // The last evaluation is the probe, 1e-4 beyond the value toward the far end.
  EXPECT_NEAR(r.points.back(), refined + swcore::kProbeDistance, 1e-15);
}

TEST(BracketRefinement, UndefinedValueInsideTheBracketIsSearchedAround) {
  const auto smooth = [](double x) { return (x - 0.3) * (1.0 + x); };
  const double a = 0.0, b = 1.0;
  // The first false-position iterate, where the function is made undefined.
  const double first = b - (a - b) * smooth(b) / (smooth(a) - smooth(b));
  const auto f = [&](double x) {
    return x == first ? std::numeric_limits<double>::quiet_NaN() : smooth(x);
  };
  const double plain = dispfit_test::plainRegulaFalsi(f, a, f(a), b, f(b), kTolerance);
  EXPECT_TRUE(std::isnan(plain));
  const double refined = swcore::refineBracketedRoot(f, {a, f(a)}, {b, f(b)}, kTolerance);
  EXPECT_NEAR(refined, 0.3, kTolerance);
}

TEST(RootSearch, WalkLandingOnALayerVelocityIsNotMistakenForAZero) {
  // Dyadic start and step land exactly on the S velocity 0.25 of the second
  // layer and the P velocity 0.375 of the first, where the literal layer
  // terms are 0/0; the zero lies above both.
  const Model model{{0.004, 0.006, 0.0}, {0.125, 0.25, 0.5}, {1.8, 1.9, 2.0}};
  const double omega = 2.0 * M_PI * 5.0;
  const SecularFunction d(stateFor(model, omega));
  EXPECT_TRUE(std::isnan(d.literal(0.25)));
  EXPECT_TRUE(std::isfinite(d(0.25)));
  double result = 0.0;
  ASSERT_TRUE(findRoot(d, 0.1875, 0.0078125, kTolerance, result));
  const dispfit_test::LayeredDeterminant det(dispfit_test::layersFor(model), omega);
  const std::vector<double> zeros = det.zeros(0.1875, 0.4999, 2000);
  ASSERT_FALSE(zeros.empty());
  EXPECT_NEAR(result, zeros[0], 1e-7);
}

// A sign change through a pole is not a zero. Each row: a function with a
// pole at 0.5 (and none at the second pole velocity 1.5 it is handed), the
// walk, and the zero expected by hand.
TEST(RootSearch, PolesArePassedOverAndAZeroSharingTheirStepIsFound) {
  struct Row {
    const char* name;
    double zero;   // of (x - zero) / (x - 0.5)
    double start;  // km/s
    double step;   // km/s
  };
  const swcore::PoleVelocities poles{0.5, 1.5};
  const std::vector<Row> rows{
      // Step points 0.3, 0.35, ..., 0.5 + 1e-17: the pole inside (0.45, 0.5].
      {"zero above the pole", 0.7, 0.3, 0.05},
      // 0.25, 0.375, 0.5 exactly, 0.625: D is infinite on a step point.
      {"pole on a step point", 0.7, 0.25, 0.125},
      // 0.49 and 0.5 in the step (0.45, 0.5]: no sign change over the step,
      // but one just below the pole.
      {"zero and pole in one step", 0.49, 0.3, 0.05},
      // A zero below the pole's step is found as before.
      {"zero below the pole", 0.42, 0.3, 0.05},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto f = [&](double x) { return (x - row.zero) / (x - 0.5); };
    double result = -1.0;
    ASSERT_TRUE(findRoot(f, row.start, row.step, kTolerance, result, poles));
    EXPECT_NEAR(result, row.zero, 1e-7);
  }
  // Without the poles the first two rows end on the pole: what the walk
  // returned before poles were known.
  const auto f = [](double x) { return (x - 0.7) / (x - 0.5); };
  double result = -1.0;
  ASSERT_TRUE(findRoot(f, 0.3, 0.05, kTolerance, result));
  EXPECT_NEAR(result, 0.5, 1e-6);
}

TEST(RootSearch, OnlyPolesUpToTheCeilingFindNothingAndLeaveTheResultCell) {
  const swcore::PoleVelocities poles{0.5, 1.5};
  const auto f = [](double x) { return 1.0 / ((x - 0.5) * (x - 1.5)); };
  double result = 0.777;
  EXPECT_FALSE(findRoot(f, 0.3, 0.01, kTolerance, result, poles));
  EXPECT_EQ(result, 0.777);
}

// The engine's D at the stiff crust's layer velocities: continuous across
// the soft layer's S velocity (a genuine zero lies 0.24 m/s above it at
// 150 Hz), a pole with a sign change at the half-space's S velocity.
TEST(SecularFunctionPoles, LieAtTheHalfSpaceVelocitiesOnly) {
  const Model model{{0.004, 0.012, 0.0}, {0.4, 0.18, 0.7}, {1.9, 1.8, 2.0}};
  const SecularFunction d(stateFor(model, dispfit_test::engineOmega(150.0)));
  EXPECT_EQ(d.poles().shear, 0.7);
  EXPECT_EQ(d.poles().p, 3.0 * 0.7);
  // Ratio of |D| 1e-11 km/s beside v to |D| a fine step (1 m/s) away. At a
  // pole |D| grows as 1 / sqrt|c - v|: a factor near sqrt(1e8) = 1e4.
  const auto jumpAt = [&](double v) {
    const double near = std::max(std::abs(d(v - 1e-11)), std::abs(d(v + 1e-11)));
    const double away = std::max(std::abs(d(v - 1e-3)), std::abs(d(v + 1e-3)));
    return near / away;
  };
  for (const double layerVelocity : {0.4, 0.18, 1.2, 0.54}) {
    SCOPED_TRACE(layerVelocity);
    EXPECT_LT(jumpAt(layerVelocity), 10.0);
  }
  for (const double pole : {0.7, 2.1}) {
    SCOPED_TRACE(pole);
    EXPECT_GT(jumpAt(pole), 1e3);
    EXPECT_LT(d(pole - 1e-11) / d(pole + 1e-11), 0.0);
  }
}

}  // namespace
