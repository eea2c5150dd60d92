// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_space.h"

#include <algorithm>
#include <cmath>

#include "files/input_rules.h"

namespace dispfit {

namespace {

// No elastic solid has Vp / Vs below sqrt(2) (a Poisson's ratio below 0).
const double kLeastPToShearRatio = std::sqrt(2.0);

std::string layerName(std::size_t layer, std::size_t count) {
  return layer + 1 == count ? "the half-space (layer " + std::to_string(layer + 1) + ")"
                            : "layer " + std::to_string(layer + 1);
}

bool positiveFinite(double value) {
  return std::isfinite(value) && value > 0.0;
}

std::string rangeFault(const Range& range, const std::string& what) {
  if (!positiveFinite(range.low) || !positiveFinite(range.high)) {
    return what + " must be positive";
  }
  if (range.low > range.high) return what + ": the low end lies above the high end";
  // Velocities and thicknesses are drawn on a log scale between the ends:
  // their ratio must be a number.
  if (!std::isfinite(range.high / range.low)) {
    return what + " spans too many orders of magnitude";
  }
  return {};
}

std::string layerFault(const LayerRanges& layer, bool halfSpace) {
  if (std::string fault = rangeFault(layer.vs, "the Vs range"); !fault.empty()) return fault;
  if (layer.vs.high >= swcore::kVelocityCeiling) {
    return "the Vs range must stay below 10000 m/s (the engine finds no root above it)";
  }
  if (!halfSpace) {
    if (std::string fault = rangeFault(layer.thickness, "the thickness range"); !fault.empty()) {
      return fault;
    }
  }
  if (!positiveFinite(layer.density)) return "the density must be positive";
  if (layer.vp && layer.poisson) return "a fixed Vp and a Poisson's ratio range exclude each other";
  if (layer.vp) {
    if (!positiveFinite(*layer.vp)) return "the fixed Vp must be positive";
    if (*layer.vp < kLeastPToShearRatio * layer.vs.high) {
      return "the fixed Vp lies below sqrt(2) times the top of the Vs range (Vp/Vs below sqrt(2) "
             "means a negative Poisson's ratio)";
    }
  }
  if (layer.poisson) {
    const Range& nu = *layer.poisson;
    if (!(nu.low >= 0.0) || !(nu.high < 0.5)) {
      return "Poisson's ratio must lie from 0 up to (not including) 0.5";
    }
    if (nu.low > nu.high) return "the Poisson's ratio range: the low end lies above the high end";
  }
  return {};
}

}  // namespace

std::string searchSpaceFault(const SearchSpace& space) {
  const std::size_t count = space.layers.size();
  if (count == 0 || count > kMostSearchLayers) {
    return std::to_string(count) + " layers; a search takes 1 to " +
           std::to_string(kMostSearchLayers) + ", the half-space included";
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (std::string fault = layerFault(space.layers[i], i + 1 == count); !fault.empty()) {
      return layerName(i, count) + ": " + fault;
    }
  }
  if (space.waterTable && !positiveFinite(*space.waterTable)) {
    return "the water table's depth must be positive";
  }
  if (space.increasing) {
    // The smallest Vs a non-decreasing sequence allows layer i is the largest
    // low end from the top down to i; it must not pass layer i's high end.
    double least = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
      least = std::max(least, space.layers[i].vs.low);
      if (least > space.layers[i].vs.high) {
        return layerName(i, count) +
               ": its Vs range lies wholly below a layer above it, so Vs cannot be "
               "non-decreasing";
      }
    }
  }
  return {};
}

ParameterMap::ParameterMap(const SearchSpace& space)
    : layers_(space.layers),
      poissonAxis_(space.layers.size()),
      increasing_(space.increasing),
      waterTable_(space.waterTable) {
  const std::size_t n = layers_.size();
  for (std::size_t i = 0; i < n; ++i) ranges_.push_back({Kind::ShearVelocity, i, layers_[i].vs});
  for (std::size_t i = 0; i + 1 < n; ++i) {
    ranges_.push_back({Kind::Thickness, i, layers_[i].thickness});
  }
  for (std::size_t i = 0; i < n; ++i) {
    if (layers_[i].poisson) {
      poissonAxis_[i] = ranges_.size();
      ranges_.push_back({Kind::Poisson, i, *layers_[i].poisson});
    }
  }
  increasingLow_.resize(n);
  increasingHigh_.resize(n);
  double low = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    low = std::max(low, layers_[i].vs.low);
    increasingLow_[i] = low;
  }
  double high = swcore::kVelocityCeiling;
  for (std::size_t i = n; i-- > 0;) {
    high = std::min(high, layers_[i].vs.high);
    increasingHigh_[i] = high;
  }
}

double ParameterMap::valueAt(std::span<const double> unit, std::size_t axis) const {
  const Axis& a = ranges_[axis];
  if (a.kind == Kind::Poisson) return a.range.low + unit[axis] * (a.range.high - a.range.low);
  return a.range.low * std::pow(a.range.high / a.range.low, unit[axis]);
}

double ParameterMap::unitOf(double value, std::size_t axis) const {
  const Axis& a = ranges_[axis];
  if (!(a.range.high > a.range.low)) return 0.0;
  const double u = a.kind == Kind::Poisson
                       ? (value - a.range.low) / (a.range.high - a.range.low)
                       : std::log(value / a.range.low) / std::log(a.range.high / a.range.low);
  return std::clamp(u, 0.0, 1.0);
}

void ParameterMap::model(std::span<const double> unit, TrialModel& out) const {
  const std::size_t n = layers_.size();
  out.thickness.assign(n, 0.0);
  out.vs.resize(n);
  out.vp.resize(n);
  out.density.resize(n);
  double top = 0.0;  // m, top of layer i
  for (std::size_t i = 0; i < n; ++i) {
    const LayerRanges& layer = layers_[i];
    const double vs = valueAt(unit, i);
    if (i + 1 < n) out.thickness[i] = valueAt(unit, n + i);
    VpRule rule{layer.vp, std::nullopt, waterTable_};
    if (poissonAxis_[i]) rule = {std::nullopt, valueAt(unit, *poissonAxis_[i]), waterTable_};
    const double vp = pVelocity(rule, vs, top);
    out.vs[i] = vs;
    out.vp[i] = vp;
    out.density[i] = layer.density;
    top += out.thickness[i];
  }
}

Range ParameterMap::feasibleInterval(std::span<const double> unit, std::size_t axis) const {
  const Axis& a = ranges_[axis];
  if (!increasing_ || a.kind != Kind::ShearVelocity) return {0.0, 1.0};
  const std::size_t i = a.layer;
  const double above = i > 0 ? valueAt(unit, i - 1) : a.range.low;
  const double below = i + 1 < layers_.size() ? valueAt(unit, i + 1) : a.range.high;
  return {unitOf(above, axis), unitOf(below, axis)};
}

void ParameterMap::makeFeasible(std::span<double> unit) const {
  if (!increasing_) return;
  const std::size_t n = layers_.size();
  std::vector<double> vs(n);
  for (std::size_t i = 0; i < n; ++i) vs[i] = valueAt(unit, i);
  std::sort(vs.begin(), vs.end());
  // Both envelopes are non-decreasing, so the clamped sequence stays sorted.
  for (std::size_t i = 0; i < n; ++i) {
    unit[i] = unitOf(std::clamp(vs[i], increasingLow_[i], increasingHigh_[i]), i);
  }
}

std::string ParameterMap::parameterName(std::size_t axis) const {
  const Axis& a = ranges_[axis];
  const std::string layer = std::to_string(a.layer + 1);
  switch (a.kind) {
    case Kind::ShearVelocity:
      return "vs" + layer + " (m/s)";
    case Kind::Thickness:
      return "h" + layer + " (m)";
    case Kind::Poisson:
      break;
  }
  return "nu" + layer;
}

}  // namespace dispfit
