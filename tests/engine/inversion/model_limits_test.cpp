// SPDX-License-Identifier: GPL-3.0-or-later
#include "inversion/model_limits.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "stream_sink.h"

namespace swcore {
namespace {

// A fresh zeroed state holding a model given as (S velocity, thickness) per
// layer in km/s and km, all parameters free unless flagged.
struct BoundsCase {
  std::unique_ptr<EngineState> state = std::make_unique<EngineState>();
  std::ostringstream printed;
  RecordWriter console{streamSink(printed)};

  BoundsCase(const std::vector<double>& velocities, const std::vector<double>& thicknesses,
             double hl, double hu, double bl, double bu) {
    const auto n = static_cast<int32_t>(velocities.size());
    state->layerCount = n;
    state->NP = 2 * n;
    for (int32_t i = 0; i < n; ++i) {
      state->PAR[2 * i] = velocities[static_cast<std::size_t>(i)];
      state->PAR[2 * i + 1] = thicknesses[static_cast<std::size_t>(i)];
    }
    state->HL = hl;
    state->HU = hu;
    state->BL = bl;
    state->BU = bu;
  }

  // The free entries of PAR, in order.
  std::vector<double> freeParameters() const {
    std::vector<double> x;
    for (int32_t i = 0; i < state->NP; ++i) {
      if (state->IFIX[i] == 0) {
        x.push_back(state->PAR[i]);
      }
    }
    return x;
  }

  bool run(std::vector<double>& x) { return MODLIM(*state, x, console); }
  double par(int i) const { return state->PAR[i]; }
};

// The built-in bounds of the batch run.
constexpr double kHL = static_cast<double>(1e-4f);
constexpr double kHU = static_cast<double>(0.05f);
constexpr double kBL = static_cast<double>(0.01f);
constexpr double kBU = 5.0;

TEST(ModelLimits, StepsAreTheSinglePrecisionValues) {
  EXPECT_EQ(kThicknessNudge, 0.00019999999494757503);
  EXPECT_EQ(kVelocityNudge, 9.999999747378752e-05);
  EXPECT_EQ(kHalfSpaceVelocityNudge, 0.0010000000474974513);
}

TEST(ModelLimits, ModelInsideTheBoundsIsUnpackedPrintedAndRepackedUnchanged) {
  BoundsCase c({0.15, 0.25, 0.40}, {0.005, 0.010, 0.0}, kHL, kHU, kBL, kBU);
  c.state->IFIX[1] = 1;  // thickness of layer 1 fixed
  c.state->IFIX[5] = 7;  // half-space thickness fixed, any non-zero value
  std::vector<double> x{0.16, 0.26, 0.011, 0.41};
  ASSERT_TRUE(c.run(x));
  EXPECT_EQ(x, (std::vector<double>{0.16, 0.26, 0.011, 0.41}));
  EXPECT_EQ(c.state->shearVelocity[0], 0.16);
  EXPECT_EQ(c.state->shearVelocity[2], 0.41);
  EXPECT_EQ(c.state->thickness[0], 0.005);
  EXPECT_EQ(c.state->thickness[1], 0.011);
  EXPECT_EQ(c.printed.str(), "0.16 0.005 0.26 0.011 0.41 0\n");
}

TEST(ModelLimits, DepthOneAndAHalfStepsAboveTheBoundThinsTheThickestLayerTwice) {
  const double thickest = kHU + 1.5 * kThicknessNudge - 0.01;
  BoundsCase c({0.15, 0.25, 0.40}, {0.01, thickest, 0.0}, kHL, kHU, kBL, kBU);
  std::vector<double> x = c.freeParameters();
  ASSERT_TRUE(c.run(x));
  EXPECT_EQ(c.state->thickness[1], thickest - kThicknessNudge - kThicknessNudge);
  EXPECT_EQ(c.state->thickness[0], 0.01);
  EXPECT_EQ(x[3], c.state->thickness[1]);
  EXPECT_LT(depthAndMeanVelocity(*c.state).depth, kHU);
}

TEST(ModelLimits, FixedParameterMovedByTheAdjustmentStaysOutOfTheFreeVector) {
  const double thickest = kHU + 1.5 * kThicknessNudge - 0.01;
  BoundsCase c({0.15, 0.25, 0.40}, {0.01, thickest, 0.0}, kHL, kHU, kBL, kBU);
  c.state->IFIX[3] = 1;  // the thickness that will be moved
  std::vector<double> x = c.freeParameters();
  const std::vector<double> before = x;
  ASSERT_TRUE(c.run(x));
  EXPECT_EQ(x, before) << "only free parameters go back to the caller";
  EXPECT_EQ(c.par(3), thickest - 2 * kThicknessNudge) << "the move is kept in PAR";
}

TEST(ModelLimits, ThinnestLayerThickenedWhenTheDepthIsAtTheLowerBound) {
  // D = 0.00005 + 0.00003 = 0.00008 <= HL; one nudge of the thinner layer lifts it above.
  BoundsCase c({0.15, 0.25, 0.40}, {0.00005, 0.00003, 0.0}, kHL, kHU, kBL, kBU);
  std::vector<double> x = c.freeParameters();
  ASSERT_TRUE(c.run(x));
  EXPECT_EQ(c.state->thickness[1], 0.00003 + kThicknessNudge);
  EXPECT_EQ(c.state->thickness[0], 0.00005);
}

TEST(ModelLimits, TiesGoToTheLaterLayer) {
  // Equal thicknesses: the later of the thickest layers is thinned.
  BoundsCase thick({0.2, 0.2, 0.2, 0.4}, {0.02, 0.02, 0.02, 0.0}, kHL, 0.0599, kBL, kBU);
  std::vector<double> x = thick.freeParameters();
  ASSERT_TRUE(thick.run(x));
  EXPECT_EQ(thick.state->thickness[2], 0.02 - kThicknessNudge);
  EXPECT_EQ(thick.state->thickness[0], 0.02);
  EXPECT_EQ(thick.state->thickness[1], 0.02);
  // Equal velocities in layers 2 and 3: the later one is lowered.
  BoundsCase fast({0.2, 0.3, 0.3, 0.4}, {0.01, 0.01, 0.01, 0.0}, kHL, kHU, kBL, 0.26665);
  x = fast.freeParameters();
  ASSERT_TRUE(fast.run(x));
  EXPECT_EQ(fast.state->shearVelocity[2], 0.3 - kVelocityNudge);
  EXPECT_EQ(fast.state->shearVelocity[1], 0.3);
  // Equal low velocities: the later one is raised.
  BoundsCase slow({0.2, 0.1, 0.1, 0.4}, {0.01, 0.01, 0.01, 0.0}, kHL, kHU, 0.13335, kBU);
  x = slow.freeParameters();
  ASSERT_TRUE(slow.run(x));
  EXPECT_EQ(slow.state->shearVelocity[2], 0.1 + kVelocityNudge);
  EXPECT_EQ(slow.state->shearVelocity[1], 0.1);
}

TEST(ModelLimits, VelocityNudgesNeverTouchTheTopLayerOrTheHalfSpace) {
  // The top layer is the fastest above the half-space, yet only layers 2 and 3 move.
  BoundsCase c({0.9, 0.3, 0.2, 1.5}, {0.01, 0.01, 0.01, 0.0}, kHL, kHU, kBL, 0.45);
  std::vector<double> x = c.freeParameters();
  ASSERT_TRUE(c.run(x));
  EXPECT_EQ(c.state->shearVelocity[0], 0.9);
  EXPECT_EQ(c.state->shearVelocity[3], 1.5);
  const double v = depthAndMeanVelocity(*c.state).meanVelocity;
  EXPECT_LT(v, 0.45);
  EXPECT_GT(v, 0.45 - kVelocityNudge / 3.0 - 1e-12) << "stops at the first pass inside";
  // Layer 2 stays the faster of the two, so it takes every nudge: the sum of
  // the velocities must drop by 0.05 km/s.
  EXPECT_EQ(c.state->shearVelocity[2], 0.2);
  EXPECT_LE(c.state->shearVelocity[1], 0.25 + 1e-12);
  EXPECT_GT(c.state->shearVelocity[1], 0.25 - kVelocityNudge - 1e-12);
}

TEST(ModelLimits, DepthIsSettledBeforeTheMeanVelocity) {
  // Both the depth and the mean velocity are above their bounds. The first
  // passes thin layer 1; the velocity nudges follow only once D < HU.
  BoundsCase c({0.2, 0.6, 0.4}, {0.0504, 0.0005, 0.0}, kHL, kHU, kBL, 0.2);
  std::vector<double> x = c.freeParameters();
  ASSERT_TRUE(c.run(x));
  const DepthAndMeanVelocity dv = depthAndMeanVelocity(*c.state);
  EXPECT_LT(dv.depth, kHU);
  EXPECT_LT(dv.meanVelocity, 0.2);
  // D = 0.0509 km needs five nudges to drop below HU = 0.05 km.
  double expected = 0.0504;
  for (int i = 0; i < 5; ++i) {
    expected -= kThicknessNudge;
  }
  EXPECT_EQ(c.state->thickness[0], expected);
  EXPECT_LT(c.state->shearVelocity[1], 0.6);
  EXPECT_EQ(c.state->shearVelocity[0], 0.2);
}

TEST(ModelLimits, TwoLayersApplyEachRuleOnceWithoutRepeating) {
  {  // V >= BU lowers the half-space velocity by 0.001, once, even if V stays above.
    BoundsCase c({0.3, 0.5}, {0.01, 0.0}, kHL, kHU, kBL, 0.1);
    std::vector<double> x = c.freeParameters();
    ASSERT_TRUE(c.run(x));
    EXPECT_EQ(c.state->shearVelocity[1], 0.5 - kHalfSpaceVelocityNudge);
    EXPECT_EQ(c.state->shearVelocity[0], 0.3);
  }
  {  // V <= BL raises the top-layer velocity by 1e-4, once.
    BoundsCase c({0.3, 0.5}, {0.01, 0.0}, kHL, kHU, 0.5, kBU);
    std::vector<double> x = c.freeParameters();
    ASSERT_TRUE(c.run(x));
    EXPECT_EQ(c.state->shearVelocity[0], 0.3 + kVelocityNudge);
    EXPECT_EQ(x[0], 0.3 + kVelocityNudge);
  }
  {  // thickness(1) >= HU is thinned once only, however far above.
    BoundsCase c({0.3, 0.5}, {0.2, 0.0}, kHL, kHU, kBL, kBU);
    std::vector<double> x = c.freeParameters();
    ASSERT_TRUE(c.run(x));
    EXPECT_EQ(c.state->thickness[0], 0.2 - kThicknessNudge);
  }
  {  // Thinned below HL by the first rule, then thickened by the second.
    BoundsCase c({0.3, 0.5}, {0.0101, 0.0}, 0.01, 0.0101, kBL, kBU);
    std::vector<double> x = c.freeParameters();
    ASSERT_TRUE(c.run(x));
    EXPECT_EQ(c.state->thickness[0], 0.0101 - kThicknessNudge + kThicknessNudge);
  }
}

TEST(ModelLimits, HalfSpaceAloneIsLeftAsItIs) {
  BoundsCase c({0.15}, {0.0}, kHL, kHU, kBL, kBU);
  std::vector<double> x{0.2, 0.0};
  ASSERT_TRUE(c.run(x));
  EXPECT_EQ(x, (std::vector<double>{0.2, 0.0}));
  EXPECT_EQ(c.state->shearVelocity[0], 0.2);
  EXPECT_EQ(c.state->thickness[0], 0.0);
}

TEST(ModelLimits, BoundsThatCannotBeMetStopTheLoopWithAMessage) {
  // HU - HL is smaller than one thickness step: the depth jumps across the gap forever.
  BoundsCase c({0.2, 0.3, 0.4}, {0.01, 0.0101, 0.0}, 0.02, 0.02005, kBL, kBU);
  std::vector<double> x = c.freeParameters();
  EXPECT_FALSE(c.run(x));
  EXPECT_NE(c.printed.str().find("could not be brought within the bounds"), std::string::npos);
  // A layer count outside the arrays is refused before anything is read.
  BoundsCase bad({0.2}, {0.0}, kHL, kHU, kBL, kBU);
  bad.state->layerCount = 51;
  EXPECT_FALSE(bad.run(x));
}

}  // namespace
}  // namespace swcore
