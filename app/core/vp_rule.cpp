// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/vp_rule.h"

#include <algorithm>
#include <cmath>

#include "core/number_text.h"

namespace dispfit {

double pVelocityFromPoisson(double vs, double poisson) {
  return vs * std::sqrt((2.0 - 2.0 * poisson) / (1.0 - 2.0 * poisson));
}

double pVelocity(const VpRule& rule, double vs, double top) {
  double vp = kDefaultPToShearRatio * vs;
  if (rule.fixed) vp = *rule.fixed;
  if (rule.poisson) vp = pVelocityFromPoisson(vs, *rule.poisson);
  if (rule.waterTable && top >= *rule.waterTable) vp = std::max(vp, kWaterPVelocity);
  return vp;
}

std::string vpRuleFault(const VpRule& rule, double highestVs) {
  if (rule.fixed && rule.poisson) return "a fixed Vp and Poisson's ratio exclude each other";
  if (rule.fixed) {
    if (!(std::isfinite(*rule.fixed) && *rule.fixed > 0.0)) return "Vp must be a positive number";
    if (*rule.fixed < std::sqrt(2.0) * highestVs) {
      return "Vp " + exactText(*rule.fixed) + " m/s lies below sqrt(2) times the highest Vs (" +
             exactText(highestVs) + " m/s), which no solid allows";
    }
  }
  if (rule.poisson && !(*rule.poisson >= 0.0 && *rule.poisson < 0.5)) {
    return "Poisson's ratio must lie from 0 up to (not including) 0.5";
  }
  if (rule.waterTable && !(std::isfinite(*rule.waterTable) && *rule.waterTable > 0.0)) {
    return "the water table's depth must be a positive number";
  }
  return {};
}

std::string vpRuleText(const VpRule& rule) {
  std::string text = rule.fixed     ? "Vp " + exactText(*rule.fixed) + " m/s"
                     : rule.poisson ? "Poisson's ratio " + exactText(*rule.poisson)
                                    : std::string("Vp 3 Vs");
  if (rule.waterTable) {
    text += ", water table " + exactText(*rule.waterTable) + " m (Vp at least 1500 m/s below it)";
  }
  return text;
}

}  // namespace dispfit
