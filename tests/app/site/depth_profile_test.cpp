// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/depth_profile.h"

#include <gtest/gtest.h>

#include <vector>

namespace dispfit {

namespace {

// 2 m at 100 m/s and 3 m at 200 m/s over a half-space of 400 m/s whose
// thickness cell (50 m) no drawing uses: interfaces at 2 and 2 + 3 = 5 m.
const std::vector<float> kThickness{2.0f, 3.0f, 50.0f};
const std::vector<float> kVs{100.0f, 200.0f, 400.0f};

TEST(DepthProfile, LastInterfaceIsTheSumAboveTheHalfSpace) {
  EXPECT_DOUBLE_EQ(lastInterfaceDepth(kThickness), 5.0);
  EXPECT_DOUBLE_EQ(lastInterfaceDepth(std::vector<float>{7.0f}), 0.0);  // a lone half-space
  EXPECT_DOUBLE_EQ(lastInterfaceDepth(std::vector<float>{}), 0.0);
}

TEST(DepthProfile, ChartReachesHalfAgainBelowTheDeeperOfInterfaceAndData) {
  struct Row {
    const char* name;
    double interface;
    std::optional<double> constrained;
    double expected;  // m
  };
  const Row rows[] = {
      {"interface only", 5.0, std::nullopt, 7.5},           // 1.5 x 5
      {"data deeper than the interface", 5.0, 12.0, 18.0},  // 1.5 x 12
      {"interface deeper than the data", 20.0, 12.0, 30.0},
      {"lone half-space and data", 0.0, 4.0, 6.0},
      {"lone half-space, no data: the depth of Vs30", 0.0, std::nullopt, 30.0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_DOUBLE_EQ(profileChartDepth(row.interface, row.constrained), row.expected);
  }
}

TEST(DepthProfile, StepsWorkedByHand) {
  // Chart depth 18 m (1.5 x a constrained 12 m): the half-space is drawn from
  // its top at 5 m down to 18 m.
  const std::vector<ProfilePoint> expected{{100, 0}, {100, 2}, {200, 2},
                                           {200, 5}, {400, 5}, {400, 18}};
  EXPECT_EQ(stepProfile(kThickness, kVs, 18.0), expected);
}

TEST(DepthProfile, EdgeModels) {
  struct Row {
    const char* name;
    std::vector<float> thickness;
    std::vector<float> vs;
    double chartDepth;
    std::vector<ProfilePoint> expected;
  };
  const Row rows[] = {
      {"lone half-space", {1.0f}, {250.0f}, 30.0, {{250, 0}, {250, 30}}},
      // A chart too shallow for the model never draws the half-space upward.
      {"chart above the last interface",
       kThickness,
       kVs,
       4.0,
       {{100, 0}, {100, 2}, {200, 2}, {200, 5}, {400, 5}, {400, 5}}},
      {"no layer", {}, {}, 10.0, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(stepProfile(row.thickness, row.vs, row.chartDepth), row.expected);
  }
}

TEST(DepthProfile, VelocityAxisEndsAtARoundValueAboveTheFastestLayer) {
  struct Row {
    double fastest;
    double expected;  // m/s
  };
  // 1.1 x fastest, a tenth of it rounded up to 1, 2 or 5 times a power of
  // ten, and the next multiple of that step:
  const Row rows[] = {
      {400.0, 450.0},    // 440, step 50
      {180.0, 200.0},    // 198, step 20
      {150.0, 180.0},    // 165, step 20
      {1000.0, 1200.0},  // 1100, step 200
      {0.0, 100.0},      // nothing to draw
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.fastest);
    EXPECT_DOUBLE_EQ(profileVelocityCeiling(row.fastest), row.expected);
  }
}

}  // namespace

}  // namespace dispfit

namespace dispfit {
namespace {

// The profile of 10 m at 200 m/s over 400 m/s, drawn to 30 m; a second line
// at 300 m/s from 0 to 30 m.
const std::vector<std::vector<ProfilePoint>> kLines{{{200, 0}, {200, 10}, {400, 10}, {400, 30}},
                                                    {{300, 0}, {300, 30}}};

TEST(FreeStretch, WidestStretchNoLineEntersWorkedByHand) {
  const struct {
    const char* name;
    double top, bottom;
    VsStretch widest;
  } cases[] = {
      // 2 to 4 m: 200 and 300 m/s taken; 300 to 600 is the widest.
      {"above the step", 2, 4, {300, 600}},
      // 12 to 14 m: 300 and 400 taken: 0 to 300 is wider than 400 to 600.
      {"below the step", 12, 14, {0, 300}},
      // 8 to 12 m: the step's horizontal segment takes 200 to 400 at 10 m,
      // leaving 0 to 200 and 400 to 600, equally wide: the lower wins.
      {"across the step", 8, 12, {0, 200}},
      // Below every line: the whole axis.
      {"below the chart", 31, 33, {0, 600}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const VsStretch widest = widestFreeStretch(kLines, row.top, row.bottom, 0, 600);
    EXPECT_DOUBLE_EQ(widest.low, row.widest.low);
    EXPECT_DOUBLE_EQ(widest.high, row.widest.high);
  }
}

TEST(FreeStretch, ASlopingLineTakesWhatItSpansInsideTheBand) {
  // From 100 m/s at 0 m to 500 m/s at 40 m: 10 m/s a metre; between 10 and
  // 20 m it takes 200 to 300 m/s, leaving 300 to 600 the widest.
  const VsStretch widest = widestFreeStretch({{{100, 0}, {500, 40}}}, 10, 20, 0, 600);
  EXPECT_DOUBLE_EQ(widest.low, 300);
  EXPECT_DOUBLE_EQ(widest.high, 600);
  // Lines beyond the axis's ends leave it all free.
  const VsStretch all = widestFreeStretch({{{700, 0}, {700, 50}}}, 10, 20, 0, 600);
  EXPECT_DOUBLE_EQ(all.low, 0);
  EXPECT_DOUBLE_EQ(all.high, 600);
}

}  // namespace
}  // namespace dispfit
