// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/site_summary.h"

#include "site/time_averaged_velocity.h"

namespace dispfit {

SiteSummary summarizeSite(std::span<const float> thickness, std::span<const float> vs,
                          std::optional<double> constrainedDepth) {
  SiteSummary summary;
  summary.constrainedDepth = constrainedDepth;
  const auto beyondData = [&](double depth) {
    return constrainedDepth.has_value() && *constrainedDepth < depth;
  };
  for (const double depth : kAveragingDepths) {
    summary.averages.push_back(
        {depth, timeAveragedVelocity(thickness, vs, depth), beyondData(depth)});
  }
  summary.vs30 = timeAveragedVelocity(thickness, vs, kVs30Depth);
  summary.vs30Extrapolated = beyondData(kVs30Depth);
  if (summary.vs30) {
    summary.groundType = eurocode8GroundType(*summary.vs30);
    summary.nehrpClass = nehrpSiteClass(*summary.vs30);
  }
  return summary;
}

}  // namespace dispfit
