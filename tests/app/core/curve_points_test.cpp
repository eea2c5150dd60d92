// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/curve_points.h"

#include "core/axis_ticks.h"
#include "core/spinner_position.h"

#include <gtest/gtest.h>

#include <limits>

namespace dispfit {

namespace {

TEST(CurvePoints, AreSortedByAscendingFrequency) {
  const float freq[] = {150.0f, 145.0f, 5.0f, 20.0f};
  const float vr[] = {142.0f, 143.0f, 338.0f, 150.0f};
  const std::vector<CurvePoint> points = curvePoints(freq, vr, 4);
  EXPECT_EQ(points,
            (std::vector<CurvePoint>{{5.0, 338.0}, {20.0, 150.0}, {145.0, 143.0}, {150.0, 142.0}}));
  const FrequencySpan span = frequencySpan(points);
  EXPECT_DOUBLE_EQ(span.lowest, 5.0);
  EXPECT_DOUBLE_EQ(span.highest, 150.0);
}

TEST(CurvePoints, EqualFrequenciesKeepTheirOrder) {
  const float freq[] = {10.0f, 10.0f, 5.0f};
  const float vr[] = {1.0f, 2.0f, 3.0f};
  const std::vector<CurvePoint> points = curvePoints(freq, vr, 3);
  EXPECT_EQ(points[1].velocity, 1.0);
  EXPECT_EQ(points[2].velocity, 2.0);
  EXPECT_TRUE(curvePoints(freq, vr, 0).empty());
}

TEST(SteppedPosition, StaysWithinTheRangeWithoutWrapping) {
  const SpinnerRange range{1, 20};
  EXPECT_EQ(steppedPosition(1, "1", +1, range), 2);
  EXPECT_EQ(steppedPosition(20, "20", +1, range), 20);
  EXPECT_EQ(steppedPosition(1, "1", -1, range), 1);
  EXPECT_EQ(steppedPosition(5, "5", -1, range), 4);
}

TEST(SteppedPosition, StartsFromANumberTypedIntoTheBox) {
  const SpinnerRange range{1, 20};
  EXPECT_EQ(steppedPosition(1, " 7 ", +1, range), 8);
  EXPECT_EQ(steppedPosition(3, "abc", +1, range), 4);  // not a number: own position
  EXPECT_EQ(steppedPosition(3, "25", +1, range), 4);   // out of range: own position
  EXPECT_EQ(steppedPosition(3, "7.5", -1, range), 2);
}

TEST(RoundTickInterval, PicksOneTwoOrFiveTimesAPowerOfTen) {
  EXPECT_DOUBLE_EQ(roundTickInterval(200.0), 50.0);
  EXPECT_DOUBLE_EQ(roundTickInterval(145.0), 50.0);
  EXPECT_DOUBLE_EQ(roundTickInterval(110.0), 50.0);
  EXPECT_DOUBLE_EQ(roundTickInterval(50.0), 10.0);
  EXPECT_DOUBLE_EQ(roundTickInterval(8.0), 2.0);
  EXPECT_DOUBLE_EQ(roundTickInterval(0.0), 1.0);
}

TEST(DrawableCurve, LeavesOutFrequenciesWithoutARoot) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float freq[] = {150, 145, 140, 135, 130, 125};
  const float vr[] = {180.5f, 0.0f, 190.0f, nan, -3.0f, inf};
  const DrawableCurve curve = drawableCurve(freq, vr, 6);
  EXPECT_EQ(curve.freq, (std::vector<float>{150, 140}));
  EXPECT_EQ(curve.vr, (std::vector<float>{180.5f, 190.0f}));
  EXPECT_EQ(curve.withoutRoot, 4);
  EXPECT_EQ(drawableCurve(freq, vr, 0).count(), 0);
}

}  // namespace

}  // namespace dispfit
