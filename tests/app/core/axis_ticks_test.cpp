// SPDX-License-Identifier: GPL-3.0-or-later
// The charts' labelled ticks: round values, at least four inside any range,
// on linear and logarithmic axes.
#include "core/axis_ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace dispfit {
namespace {

// m x 10^k with m a whole number from 1 to 9, within rounding.
bool isRound(double value) {
  if (value == 0.0) return true;
  const double decade = std::pow(10.0, std::floor(std::log10(std::fabs(value)) + 1e-9));
  const double mantissa = std::fabs(value) / decade;
  return std::fabs(mantissa - std::round(mantissa)) < 1e-6;
}

TEST(LinearTicks, WorkedRanges) {
  const struct {
    const char* name;
    double lowest, highest;
    std::vector<double> values;
  } cases[] = {
      // The start-up velocity axis: 200 / 5 = 40, rounded up to 50.
      {"0 to 200 m/s", 0, 200, {0, 50, 100, 150, 200}},
      // 5 to 150 Hz: 145 / 5 = 29 gives 50, and only 50, 100, 150 inside;
      // the next round interval down, 20, gives seven.
      {"the described frequencies", 5, 150, {20, 40, 60, 80, 100, 120, 140}},
      // A flat curve at 142.1 m/s: 92.1 to 202.1, 110 / 5 = 22 gives 50 with
      // three inside (100, 150, 200), so 20.
      {"a flat curve's axis", 92.0961, 202.0961, {100, 120, 140, 160, 180, 200}},
      // 5 to 80 Hz: 75 / 5 = 15 gives 20: 20, 40, 60, 80.
      {"a field curve's frequencies", 5, 80, {20, 40, 60, 80}},
      // A depth axis of 0 to 59.85 m: 12 gives 20, 0 to 40 is three, so 10.
      {"a depth axis", 0, 59.85, {0, 10, 20, 30, 40, 50}},
      {"negative to positive", -3.2, 2.9, {-3, -2, -1, 0, 1, 2}},
      {"a narrow range", 1.234, 1.239, {1.234, 1.235, 1.236, 1.237, 1.238, 1.239}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const std::vector<double> values = linearTicks(row.lowest, row.highest).values;
    ASSERT_EQ(values.size(), row.values.size());
    for (std::size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(values[i], row.values[i], 1e-9);
  }
  EXPECT_TRUE(linearTicks(3, 3).values.empty());
  EXPECT_TRUE(linearTicks(3, NAN).values.empty());
}

TEST(LogarithmicTicks, WorkedRanges) {
  const struct {
    const char* name;
    double lowest, highest;
    std::vector<double> values;
  } cases[] = {
      // Five decades: the powers of ten alone.
      {"1 to 100000", 1, 1e5, {1, 10, 100, 1000, 10000, 1e5}},
      // 5 to 80 Hz: one power of ten, so 1-2-5: 5, 10, 20, 50.
      {"a field curve's frequencies", 5, 80, {5, 10, 20, 50}},
      // 10 to 40 Hz: 10 and 20 only in 1-2-5, so every whole multiple.
      {"10 to 40", 10, 40, {10, 20, 30, 40}},
      // Wavelengths of 0.9 to 48 m.
      {"0.9 to 48 m", 0.9, 48, {1, 2, 5, 10, 20}},
      // Under a factor of two: linear round ticks.
      {"100 to 150", 100, 150, {100, 110, 120, 130, 140, 150}},
      {"below one", 0.02, 0.6, {0.02, 0.05, 0.1, 0.2, 0.5}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const std::vector<double> values = logarithmicTicks(row.lowest, row.highest);
    ASSERT_EQ(values.size(), row.values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      EXPECT_NEAR(values[i], row.values[i], 1e-12 * row.values[i]);
    }
  }
  EXPECT_TRUE(logarithmicTicks(0, 10).empty());
}

// Any range at all: at least four ticks, all inside, ascending, round.
TEST(AxisTicks, EveryRangeGetsFourRoundTicksInside) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> exponent(-3.0, 5.0), factor(1.0001, 1000.0);
  for (int trial = 0; trial < 2000; ++trial) {
    const double lowest = std::pow(10.0, exponent(random));
    const double highest = lowest * factor(random);
    SCOPED_TRACE(testing::Message() << lowest << " to " << highest);
    const LinearTicks linear = linearTicks(lowest, highest);
    const std::vector<double> logarithmic = logarithmicTicks(lowest, highest);
    for (const std::vector<double>* values : {&linear.values, &logarithmic}) {
      ASSERT_GE(values->size(), 4u);
      for (std::size_t i = 0; i < values->size(); ++i) {
        EXPECT_GE((*values)[i], lowest * (1 - 1e-6));
        EXPECT_LE((*values)[i], highest * (1 + 1e-6));
        if (i > 0) {
          EXPECT_GT((*values)[i], (*values)[i - 1]);
        }
      }
    }
    EXPECT_TRUE(isRound(linear.interval));
    for (const double value : logarithmic) {
      // A logarithmic tick is m x 10^k, or a multiple of a round interval.
      if (!isRound(value)) {
        const double interval = linearTicks(lowest, highest).interval;
        EXPECT_NEAR(value / interval, std::round(value / interval), 1e-6);
      }
    }
    // More than ten only where the powers of ten alone are that many.
    if (logarithmic.size() > 10) {
      for (const double value : logarithmic) {
        EXPECT_NEAR(std::log10(value), std::round(std::log10(value)), 1e-9);
      }
    }
  }
}

}  // namespace
}  // namespace dispfit
