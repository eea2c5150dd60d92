// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/velocity_axis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace dispfit {

namespace {

AxisRange fit(AxisRange current, const std::vector<float>& curve) {
  return fitVelocityAxis(current, curve.data(), static_cast<int>(curve.size()));
}

// A curve rising linearly from first to last over n points.
std::vector<float> ramp(float first, float last, int n = 30) {
  std::vector<float> curve;
  for (int i = 0; i < n; ++i)
    curve.push_back(first + (last - first) * static_cast<float>(i) / static_cast<float>(n - 1));
  return curve;
}

TEST(FixedAxis, RefusesLimitsThatWouldCross) {
  FixedAxis axis({0.0, 200.0});
  EXPECT_FALSE(axis.setMinimum(250.0));
  EXPECT_EQ(axis.range(), (AxisRange{0.0, 200.0}));
  EXPECT_TRUE(axis.setMinimum(200.0));  // equal limits are allowed
  EXPECT_FALSE(axis.setMaximum(150.0));
  EXPECT_TRUE(axis.setMaximum(300.0));
  EXPECT_FALSE(axis.setMaximum(std::nan("")));
  EXPECT_EQ(axis.range(), (AxisRange{200.0, 300.0}));
}

TEST(FitVelocityAxis, FlatCurveSpansFiftyBelowAndSixtyAbove) {
  for (const float v : {136.5f, 142.0961f, 350.0f}) {
    const AxisRange range = fit({0.0, 200.0}, std::vector<float>(30, v));
    EXPECT_DOUBLE_EQ(range.minimum, double{v} - 50.0) << v;
    EXPECT_DOUBLE_EQ(range.maximum, double{v} + 60.0) << v;
  }
}

TEST(FitVelocityAxis, RisingCurveFrom180To400) {
  EXPECT_EQ(fit({0.0, 200.0}, ramp(180.0f, 400.0f)), (AxisRange{130.0, 450.0}));
}

TEST(FitVelocityAxis, FirstValuePlusTenCanBeTheUpperBound) {
  std::vector<float> curve = ramp(180.0f, 400.0f);
  std::swap(curve.front(), curve.back());  // vr[0] = 400, smallest 180
  EXPECT_EQ(fit({0.0, 200.0}, curve), (AxisRange{130.0, 460.0}));
}

TEST(FitVelocityAxis, CurveAboveTheStartingAxisIsLiftedFirst) {
  // From the start-up axis 0..200 a curve of 250..400 m/s must still end on
  // its fitted range; setting the minimum to 250 first would be refused and
  // leave the axis at -50..450.
  EXPECT_EQ(fit({0.0, 200.0}, ramp(250.0f, 400.0f)), (AxisRange{200.0, 450.0}));
}

TEST(FitVelocityAxis, DependsOnlyOnTheCurveWhateverTheFormerRange) {
  const std::vector<float> curve = ramp(180.0f, 400.0f);
  for (const AxisRange former : {AxisRange{0.0, 200.0}, AxisRange{500.0, 900.0},
                                 AxisRange{-100.0, -50.0}, AxisRange{150.0, 150.0}}) {
    EXPECT_EQ(fit(former, curve), (AxisRange{130.0, 450.0}));
  }
}

TEST(FitVelocityAxis, NoPointsLeaveTheRangeAlone) {
  EXPECT_EQ(fitVelocityAxis({0.0, 200.0}, nullptr, 0), (AxisRange{0.0, 200.0}));
}

}  // namespace

}  // namespace dispfit
