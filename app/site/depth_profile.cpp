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

VsStretch widestFreeStretch(const std::vector<std::vector<ProfilePoint>>& lines, double top,
                            double bottom, double low, double high) {
  std::vector<VsStretch> taken;
  for (const std::vector<ProfilePoint>& line : lines) {
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
      const ProfilePoint& a = line[i];
      const ProfilePoint& b = line[i + 1];
      if (std::max(a.depth, b.depth) < top || std::min(a.depth, b.depth) > bottom) continue;
      // The part of the segment inside the band: the whole of a horizontal
      // one, else between the parameters where it crosses top and bottom.
      double from = 0.0, to = 1.0;
      if (a.depth != b.depth) {
        const double atTop = (top - a.depth) / (b.depth - a.depth);
        const double atBottom = (bottom - a.depth) / (b.depth - a.depth);
        from = std::clamp(std::min(atTop, atBottom), 0.0, 1.0);
        to = std::clamp(std::max(atTop, atBottom), 0.0, 1.0);
      }
      const double vsFrom = a.vs + from * (b.vs - a.vs), vsTo = a.vs + to * (b.vs - a.vs);
      taken.push_back({std::min(vsFrom, vsTo), std::max(vsFrom, vsTo)});
    }
  }
  std::sort(taken.begin(), taken.end(),
            [](const VsStretch& x, const VsStretch& y) { return x.low < y.low; });
  VsStretch widest{low, low};
  double free = low;  // the start of the stretch not yet taken
  for (const VsStretch& t : taken) {
    if (t.low > free && std::min(t.low, high) - free > widest.width()) {
      widest = {free, std::min(t.low, high)};
    }
    free = std::max(free, t.high);
  }
  if (high - free > widest.width()) widest = {free, high};
  return widest;
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
