// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/depth_profile.h"

#include <algorithm>
#include <cmath>

#include "core/axis_ticks.h"
#include "site/time_averaged_velocity.h"

namespace dispfit {

double lastInterfaceDepth(std::span<const float> thickness) {
  double depth = 0.0;
  for (std::size_t i = 0; i + 1 < thickness.size(); ++i) depth += thickness[i];
  return depth;
}

double profileChartDepth(double deepestInterface, std::optional<double> constrainedDepth) {
  const double deepest = std::max(deepestInterface, constrainedDepth.value_or(0.0));
  return deepest > 0.0 ? kProfileDepthFactor * deepest : kVs30Depth;
}

std::vector<ProfilePoint> stepProfile(std::span<const float> thickness, std::span<const float> vs,
                                      double chartDepth) {
  const std::size_t layers = std::min(thickness.size(), vs.size());
  std::vector<ProfilePoint> points;
  points.reserve(2 * layers);
  double top = 0.0;
  for (std::size_t i = 0; i < layers; ++i) {
    const bool halfSpace = i + 1 == layers;
    const double bottom = halfSpace ? std::max(chartDepth, top) : top + thickness[i];
    points.push_back({vs[i], top});
    points.push_back({vs[i], bottom});
    top = bottom;
  }
  return points;
}

double profileVelocityCeiling(double fastestVs) {
  if (!(fastestVs > 0.0)) return 100.0;
  const double wanted = 1.1 * fastestVs;
  // A tenth of the range rounded up to 1, 2 or 5 times a power of ten keeps
  // the headroom below about a fifth of the axis.
  const double tick = roundTickInterval(wanted, 10);
  return tick * std::ceil(wanted / tick);
}

}  // namespace dispfit
