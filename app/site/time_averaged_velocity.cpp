// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/time_averaged_velocity.h"

#include <algorithm>

namespace dispfit {

namespace {

template <class Value>
std::optional<double> averageOver(std::span<const Value> thickness, std::span<const Value> vs,
                                  double depth) {
  const std::size_t layers = std::min(thickness.size(), vs.size());
  if (layers == 0 || !(depth > 0.0)) return std::nullopt;
  double top = 0.0;         // m, top of layer i
  double travelTime = 0.0;  // s, vertical S travel time from the surface to `top`
  for (std::size_t i = 0; i < layers; ++i) {
    const bool halfSpace = i + 1 == layers;
    const double bottom = halfSpace ? depth : std::min(depth, top + thickness[i]);
    if (!(vs[i] > Value{0})) return std::nullopt;
    travelTime += (bottom - top) / vs[i];
    top = bottom;
    if (top >= depth) break;
  }
  return depth / travelTime;
}

}  // namespace

std::optional<double> timeAveragedVelocity(std::span<const float> thickness,
                                           std::span<const float> vs, double depth) {
  return averageOver(thickness, vs, depth);
}

std::optional<double> timeAveragedVelocity(std::span<const double> thickness,
                                           std::span<const double> vs, double depth) {
  return averageOver(thickness, vs, depth);
}

}  // namespace dispfit
