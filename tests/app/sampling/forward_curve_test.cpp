// SPDX-License-Identifier: GPL-3.0-or-later
// The sampler's forward rule: under a stiff crust over soft layers the
// lowest root at short wavelengths is a mode trapped in the soft layers,
// slower than any of them, while the surface-observed fundamental is the
// crust's own wave; at long wavelengths both are the fundamental.
#include "sampling/forward_curve.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

using dispfit::MeasuredPoint;
using dispfit::TrialModel;

// 6 m of 353 m/s over 4.5 m of 150 m/s over 2.8 m of 104 m/s over a 400 m/s
// half-space, Vp = 3 Vs, 1.9 g/cm3.
TrialModel stiffOverSoft() {
  return {{6.0, 4.5, 2.8, 0.0},
          {353.0, 150.0, 104.0, 400.0},
          {1059.0, 450.0, 312.0, 1200.0},
          {1.9, 1.9, 1.9, 1.9}};
}

std::vector<MeasuredPoint> atFrequencies() {
  return {{80.0, 1.0, std::nullopt, 1}, {5.0, 1.0, std::nullopt, 2}};
}

TEST(SamplerForwardRule, TheObservedRuleSkipsTheTrappedModeTheLowestRootTakes) {
  const std::vector<MeasuredPoint> points = atFrequencies();
  std::array<double, 2> lowest{}, observed{};
  ASSERT_TRUE(dispfit::lowestRootForward(points)()->compute(stiffOverSoft(), lowest));
  ASSERT_TRUE(dispfit::ruleForward(points, {})()->compute(stiffOverSoft(), observed));
  // 80 Hz: a trapped mode travels below the slowest layer it lives in
  // (150 m/s); the crust's Rayleigh wave near 0.9 of its 353 m/s.
  EXPECT_LT(lowest[0], 150.0);
  EXPECT_GT(observed[0], 0.8 * 353.0);
  EXPECT_LT(observed[0], 353.0);
  // 5 Hz: one fundamental, whichever rule; 1e-9 relative leaves room for
  // nothing but rounding.
  EXPECT_NEAR(observed[1], lowest[1], 1e-9 * lowest[1]);

  swcore::ForwardRuleSettings lowestRule;
  lowestRule.rule = swcore::ForwardRule::lowestRoot;
  std::array<double, 2> asked{};
  ASSERT_TRUE(dispfit::ruleForward(points, lowestRule)()->compute(stiffOverSoft(), asked));
  EXPECT_EQ(asked, lowest);

  // A point that names its mode takes that mode, whatever the rule: mode 0
  // at 80 Hz is the trapped lowest root again.
  std::vector<MeasuredPoint> named = points;
  named[0].mode = 0;
  ASSERT_TRUE(dispfit::ruleForward(named, {})()->compute(stiffOverSoft(), asked));
  EXPECT_EQ(asked[0], lowest[0]);
}

}  // namespace
