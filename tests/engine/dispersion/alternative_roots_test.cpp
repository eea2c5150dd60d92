// SPDX-License-Identifier: GPL-3.0-or-later
// The two alternative root finders: Aitken-accelerated fixed-point
// iteration (DATKN) and continued-fraction inverse interpolation (DPQRT).
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dispersion/aitken_iteration.h"
#include "dispersion/engine_state.h"
#include "dispersion/thiele_interpolation_root.h"
#include "swcore.h"
#include "test_models.h"

namespace {

using dispfit_test::Recorded;
using swcore::aitkenIteration;
using swcore::thieleInterpolationRoot;

constexpr double kSpacing = 0.10000000149011612;

TEST(Thiele, StartWithinToleranceIsReturnedUnchangedWithAllCyclesLeft) {
  Recorded f{[](double x) { return 1e-9 * (x - 0.3); }};
  double x = 0.2;
  int32_t cycles = -5;
  thieleInterpolationRoot(f, x, 1e-6, cycles);
  EXPECT_EQ(x, 0.2);
  EXPECT_EQ(cycles, 10);
  EXPECT_EQ(f.points.size(), 1u);
}

TEST(Thiele, FirstThreeTrialPointsAreStartPlusZeroOneAndTwoTenths) {
  Recorded f{[](double x) { return (x - 0.25) * (x + 1.0) * (x + 2.0); }};
  double x = 0.01;
  int32_t cycles = 0;
  thieleInterpolationRoot(f, x, 1e-12, cycles);
  ASSERT_GE(f.points.size(), 4u);
  EXPECT_EQ(f.points[0], 0.01);
  EXPECT_EQ(f.points[1], 0.01 + kSpacing);
  EXPECT_EQ(f.points[2], 0.01 + 2.0 * kSpacing);
  EXPECT_NE(f.points[3], 0.01 + 3.0 * kSpacing);
  EXPECT_NEAR(x, 0.25, 1e-9);
  EXPECT_GT(cycles, 0);
}

TEST(Thiele, LinearFunctionIsSolvedByTheFirstInterpolation) {
  // Inverse interpolation of a straight line is exact from two points on:
  // the fourth trial point is the root and ends the first cycle.
  Recorded f{[](double x) { return 2.0 * (x - 0.35); }};
  double x = 0.1;
  int32_t cycles = 0;
  thieleInterpolationRoot(f, x, 1e-12, cycles);
  EXPECT_NEAR(x, 0.35, 1e-14);
  EXPECT_EQ(cycles, 10);
  ASSERT_EQ(f.points.size(), 4u);
  EXPECT_NEAR(f.points[3], 0.35, 1e-14);
}

TEST(Thiele, NoRootRunsAllTenCyclesAndReportsZero) {
  Recorded f{[](double x) { return 1.0 + x * x; }};
  double x = 0.3;
  int32_t cycles = 0;
  thieleInterpolationRoot(f, x, 1e-12, cycles);
  EXPECT_EQ(cycles, 0);
  EXPECT_EQ(f.points.size(), 80u);
}

TEST(Thiele, ExportKeepsAStartWhereTheSecularFunctionIsWithinTolerance) {
  swcore::engineState =
      dispfit_test::stateFor({{0.0}, {0.15}, {1.8}}, dispfit_test::engineOmega(20.0));
  double x = 0.1420961;
  const double tolerance = 2.0 * std::abs(FRAYL(&x));
  int32_t cycles = 0;
  DPQRT(&x, &tolerance, &cycles);
  EXPECT_EQ(x, 0.1420961);
  EXPECT_EQ(cycles, 10);
  swcore::engineState = {};
}

TEST(Aitken, ConvergesQuadraticallyToTheFixedPoint) {
  Recorded g{[](double x) { return std::cos(x); }};
  double x = 0.0;
  int32_t iterations = 50;
  aitkenIteration(g, x, 1e-12, iterations);
  // The fixed point of cos, the Dottie number.
  EXPECT_NEAR(x, 0.7390851332151607, 1e-12);
  EXPECT_LE(iterations, 5);
  EXPECT_EQ(g.points.size(), 2u * static_cast<size_t>(iterations));
}

TEST(Aitken, StartAlreadyAtTheFixedPointEndsInTheFirstIteration) {
  Recorded g{[](double x) { return std::cos(x); }};
  double x = 0.7390851332151607;
  int32_t iterations = 10;
  aitkenIteration(g, x, 1e-9, iterations);
  EXPECT_EQ(iterations, 1);
  EXPECT_NEAR(x, 0.7390851332151607, 1e-15);
  EXPECT_EQ(g.points.size(), 2u);
}

TEST(Aitken, StopsAtTheLimitWithTheLastExtrapolatedValue) {
  Recorded g{[](double x) { return std::cos(x); }};
  double x = 0.0;
  int32_t iterations = 1;
  aitkenIteration(g, x, 0.0, iterations);
  EXPECT_EQ(iterations, 1);
  // One Steffensen step from 0: y1 = 1, y2 = cos 1.
  const double y1 = 1.0, y2 = std::cos(1.0);
  EXPECT_DOUBLE_EQ(x, y2 - (y2 - y1) * (y2 - y1) / (y2 - 2.0 * y1 + 0.0));
  EXPECT_LT(std::abs(x - 0.7390851332151607), 0.1);
}

TEST(Aitken, LimitBelowOneDoesNoIteration) {
  for (int32_t limit : {0, -4}) {
    Recorded g{[](double x) { return std::cos(x); }};
    double x = 0.4;
    int32_t iterations = limit;
    aitkenIteration(g, x, 1e-12, iterations);
    EXPECT_EQ(iterations, 0);
    EXPECT_EQ(x, 0.4);
    EXPECT_TRUE(g.points.empty());
  }
}

TEST(Aitken, UndefinedValuesEndTheIteration) {
  Recorded g{[](double x) { return x > 1.0 ? std::nan("") : 2.0 * x; }};
  double x = 0.8;
  int32_t iterations = 100;
  aitkenIteration(g, x, 1e-12, iterations);
  EXPECT_EQ(iterations, 1);
  EXPECT_TRUE(std::isnan(x));
}

TEST(Aitken, ExportIteratesTheSecularFunction) {
  swcore::engineState =
      dispfit_test::stateFor({{0.0}, {0.15}, {1.8}}, dispfit_test::engineOmega(20.0));
  double x = 0.14;
  const double tolerance = 1e-12;
  int32_t iterations = 3;
  DATKN(&x, &tolerance, &iterations);
  EXPECT_GE(iterations, 1);
  EXPECT_LE(iterations, 3);
  swcore::engineState = {};
}

TEST(Exports, ALayerCountOutsideTheArraysIsRefusedByEverySearch) {
  for (int32_t n : {0, -1, 51}) {
    swcore::engineState = {};
    swcore::engineState.layerCount = n;
    swcore::engineState.omega = 100.0;
    swcore::engineState.startVelocity = 0.1;
    const double step = 0.005, tolerance = 1e-8;
    double result = 0.25;
    ROOT(&step, &tolerance, &result);
    EXPECT_EQ(result, 0.25) << n;
    double x = 0.3;
    int32_t iterations = 10;
    DATKN(&x, &tolerance, &iterations);
    EXPECT_EQ(x, 0.3) << n;
    EXPECT_EQ(iterations, 0) << n;
    int32_t cycles = 10;
    DPQRT(&x, &tolerance, &cycles);
    EXPECT_EQ(x, 0.3) << n;
    EXPECT_EQ(cycles, 0) << n;
    EXPECT_TRUE(std::isnan(FRAYL(&x))) << n;
  }
  swcore::engineState = {};
}

}  // namespace
