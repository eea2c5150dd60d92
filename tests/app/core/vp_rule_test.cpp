// SPDX-License-Identifier: GPL-3.0-or-later
// The P velocity of a layer under each rule, and the rules refused.
#include "core/vp_rule.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dispfit {
namespace {

TEST(VpRule, EachRuleGivesItsPVelocity) {
  const struct {
    const char* name;
    VpRule rule;
    double vs, top, vp;
  } rows[] = {
      {"3 Vs by default", {}, 200, 0, 600},
      {"fixed", {900.0, std::nullopt, std::nullopt}, 200, 0, 900},
      // nu = 0.25: Vp = Vs sqrt(1.5 / 0.5) = sqrt(3) Vs; nu = 1/3: 2 Vs.
      {"Poisson's ratio 0.25", {std::nullopt, 0.25, std::nullopt}, 200, 0, 200 * std::sqrt(3.0)},
      {"Poisson's ratio 1/3", {std::nullopt, 1.0 / 3.0, std::nullopt}, 200, 0, 400},
      {"above the water table", {std::nullopt, std::nullopt, 2.0}, 200, 1.9, 600},
      {"at the water table", {std::nullopt, std::nullopt, 2.0}, 200, 2.0, 1500},
      {"below it, faster than water", {std::nullopt, std::nullopt, 2.0}, 600, 5, 1800},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_NEAR(pVelocity(row.rule, row.vs, row.top), row.vp, 1e-9);
  }
}

TEST(VpRule, RulesNoSolidObeysAreRefused) {
  EXPECT_EQ(vpRuleFault({}, 1000), "");
  EXPECT_EQ(vpRuleFault({1400.0, std::nullopt, std::nullopt}, 1000),
            "Vp 1400 m/s lies below sqrt(2) times the highest Vs (1000 m/s), which no solid "
            "allows");
  EXPECT_EQ(vpRuleFault({1415.0, std::nullopt, std::nullopt}, 1000), "");  // 1414.2 the least
  EXPECT_NE(vpRuleFault({std::nullopt, 0.5, std::nullopt}, 1000), "");
  EXPECT_NE(vpRuleFault({std::nullopt, -0.1, std::nullopt}, 1000), "");
  EXPECT_NE(vpRuleFault({2000.0, 0.3, std::nullopt}, 1000), "");
  EXPECT_EQ(vpRuleText({std::nullopt, 0.3, 2.5}),
            "Poisson's ratio 0.3, water table 2.5 m (Vp at least 1500 m/s below it)");
}

}  // namespace
}  // namespace dispfit
