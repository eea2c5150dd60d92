// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/curve_likelihood.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace dispfit {

CurveLikelihood::CurveLikelihood(std::span<const MeasuredPoint> points) {
  if (points.empty()) {
    fault_ = "the curve has no point";
    return;
  }
  BandDeviations deviations = bandDeviations(points);
  if (!deviations.fault.empty()) {
    fault_ = deviations.fault;
    return;
  }
  for (const MeasuredPoint& point : points) {
    frequencies_.push_back(point.frequency);
    velocities_.push_back(point.velocity);
  }
  noise_ = deviations.sigmas ? NoiseModel::Given : NoiseModel::Hierarchical;
  // Without sigma the residuals are relative, each scaled by its velocity.
  scales_ = deviations.sigmas ? std::move(*deviations.sigmas) : velocities_;
  for (const double w : scales_) logScaleSum_ += std::log(w);
  logScaleSum_ += 0.5 * static_cast<double>(scales_.size()) * std::log(2.0 * std::numbers::pi);
}

double CurveLikelihood::weightedSquares(std::span<const double> computed) const {
  if (computed.size() != velocities_.size()) return std::numeric_limits<double>::infinity();
  double sum = 0.0;
  for (std::size_t i = 0; i < computed.size(); ++i) {
    if (!std::isfinite(computed[i])) return std::numeric_limits<double>::infinity();
    const double r = (computed[i] - velocities_[i]) / scales_[i];
    sum += r * r;
  }
  return sum;
}

double CurveLikelihood::logLikelihood(double weightedSquares, double noiseScale) const {
  if (!std::isfinite(weightedSquares)) return -std::numeric_limits<double>::infinity();
  const double m = static_cast<double>(velocities_.size());
  return -m * std::log(noiseScale) - logScaleSum_ -
         weightedSquares / (2.0 * noiseScale * noiseScale);
}

}  // namespace dispfit
