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
  std::size_t banded = 0;
  for (const MeasuredPoint& point : points) {
    frequencies_.push_back(point.frequency);
    velocities_.push_back(point.velocity);
    if (point.band) {
      ++banded;
      const double sigma = 0.5 * (point.band->high - point.band->low);
      if (!(sigma > 0.0)) {
        fault_ = "the band at line " + std::to_string(point.line) +
                 " has no width, so it gives no standard deviation";
        return;
      }
      scales_.push_back(sigma);
    } else {
      scales_.push_back(point.velocity);
    }
  }
  if (banded != 0 && banded != points.size()) {
    fault_ = "some points have a standard deviation or band and some do not";
    return;
  }
  noise_ = banded != 0 ? NoiseModel::Given : NoiseModel::Hierarchical;
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
