// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/starting_model.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace dispfit {

namespace {

// (lambda, c) of the points, ascending in lambda.
std::vector<std::pair<double, double>> byWavelength(const std::vector<MeasuredPoint>& points) {
  std::vector<std::pair<double, double>> table;
  table.reserve(points.size());
  for (const MeasuredPoint& point : points) table.emplace_back(point.wavelength(), point.velocity);
  std::sort(table.begin(), table.end());
  return table;
}

// Interface depths z_k, shallowest first; n - 1 of them for n layers.
std::vector<double> interfaceDepths(double shallowest, double deepest, int layerCount) {
  const int interfaces = layerCount - 1;
  if (interfaces <= 0) return {};
  if (interfaces == 1) return {std::sqrt(shallowest * deepest)};
  std::vector<double> depths;
  depths.reserve(static_cast<std::size_t>(interfaces));
  const double ratio = deepest / shallowest;
  for (int k = 0; k < interfaces; ++k) {
    depths.push_back(shallowest * std::pow(ratio, static_cast<double>(k) / (interfaces - 1)));
  }
  return depths;
}

}  // namespace

double velocityAtWavelength(const std::vector<MeasuredPoint>& points, double wavelength) {
  if (points.empty()) return 0.0;
  const std::vector<std::pair<double, double>> table = byWavelength(points);
  if (wavelength <= table.front().first) return table.front().second;
  if (wavelength >= table.back().first) return table.back().second;
  const auto upper = std::upper_bound(
      table.begin(), table.end(), wavelength,
      [](double value, const std::pair<double, double>& entry) { return value < entry.first; });
  const auto lower = std::prev(upper);
  const double t = std::log(wavelength / lower->first) / std::log(upper->first / lower->first);
  return lower->second + t * (upper->second - lower->second);
}

ParsedLayers suggestStartingModel(const std::vector<MeasuredPoint>& points, int layerCount) {
  ParsedLayers model;
  if (points.empty() || layerCount < 1) return model;
  const auto [shortest, longest] = std::minmax_element(
      points.begin(), points.end(), [](const MeasuredPoint& a, const MeasuredPoint& b) {
        return a.wavelength() < b.wavelength();
      });
  const double shallowest = shortest->wavelength() / 3.0;
  // A curve spanning less than a 1.5-fold range of wavelengths would put the
  // deepest interface above the shallowest; it then goes to twice its depth.
  const double deepest = std::max(longest->wavelength() / 2.0, 2.0 * shallowest);
  const std::vector<double> interfaces = interfaceDepths(shallowest, deepest, layerCount);

  double top = 0.0;
  for (const double bottom : interfaces) {
    const double middle = 0.5 * (top + bottom);
    model.thickness.push_back(static_cast<float>(bottom - top));
    model.vs.push_back(
        static_cast<float>(kShearToRayleighRatio * velocityAtWavelength(points, 2.0 * middle)));
    model.density.push_back(kSuggestedDensity);
    top = bottom;
  }
  model.thickness.push_back(model.thickness.empty() ? 1.0f : model.thickness.back());
  model.vs.push_back(
      static_cast<float>(kShearToRayleighRatio * velocityAtWavelength(points, 2.0 * top)));
  model.density.push_back(kSuggestedDensity);
  return model;
}

ParsedLayers roundedForEditing(const ParsedLayers& model) {
  ParsedLayers rounded = model;
  for (float& h : rounded.thickness) h = std::max(std::round(h * 10.0f), 1.0f) / 10.0f;
  for (float& v : rounded.vs) v = std::max(std::round(v), 1.0f);
  return rounded;
}

}  // namespace dispfit
