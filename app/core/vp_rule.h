// SPDX-License-Identifier: GPL-3.0-or-later
// The P velocity of a layer from its S velocity, as the local inversion and
// the global search both take it: 3 Vs by default (the window's forward
// run), a fixed Vp, or Poisson's ratio; below a water table at least the P
// velocity of water.
//
// Notation (m, m/s):
//   Vs, Vp   S and P velocity of a layer;  nu  Poisson's ratio, 0 <= nu < 0.5
//   Vp = Vs sqrt((2 - 2 nu) / (1 - 2 nu)), from nu = (Vp^2 - 2 Vs^2) / (2 (Vp^2 - Vs^2))
//   Z        depth of the water table: a layer whose top lies at or below Z
//            has Vp >= 1500 m/s
#pragma once

#include <optional>
#include <string>

namespace dispfit {

// P velocity of water, m/s: the least a saturated layer's P wave travels at.
inline constexpr double kWaterPVelocity = 1500.0;

// Vp / Vs without another rule, as the window's forward run computes.
inline constexpr double kDefaultPToShearRatio = 3.0;

// Vp from Vs and Poisson's ratio nu in [0, 0.5).
double pVelocityFromPoisson(double vs, double poisson);

struct VpRule {
  std::optional<double> fixed;       // m/s, the same Vp for every layer
  std::optional<double> poisson;     // instead of `fixed`: Poisson's ratio of every layer
  std::optional<double> waterTable;  // Z, m

  bool operator==(const VpRule&) const = default;
};

// The layer's Vp (m/s) under `rule`, its S velocity `vs` (m/s) and its top
// `top` (m).
double pVelocity(const VpRule& rule, double vs, double top);

// What is wrong with the rule for S velocities up to `highestVs` (m/s), in
// one sentence, or an empty text: a fixed Vp that is not a positive number
// or lies below sqrt(2) highestVs (no solid has Vp / Vs below sqrt(2)), a
// Poisson's ratio outside [0, 0.5), both at once, or a water table that is
// not a positive number.
std::string vpRuleFault(const VpRule& rule, double highestVs);

// "Vp 3 Vs", "Vp 1200 m/s", "Poisson's ratio 0.3", with ", water table 2 m"
// when there is one: how reports name the rule.
std::string vpRuleText(const VpRule& rule);

}  // namespace dispfit
