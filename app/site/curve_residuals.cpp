// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/curve_residuals.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dispfit {

namespace {

double halfWidth(const VelocityBand& band) {
  return 0.5 * (band.high - band.low);
}

}  // namespace

ResidualScale residualScale(std::span<const MeasuredPoint> points) {
  const bool everyBand =
      !points.empty() && std::all_of(points.begin(), points.end(), [](const MeasuredPoint& p) {
        return p.band && halfWidth(*p.band) > 0.0;
      });
  return everyBand ? ResidualScale::Normalised : ResidualScale::MetresPerSecond;
}

std::vector<Residual> curveResiduals(std::span<const MeasuredPoint> points,
                                     std::span<const double> computed, ResidualScale scale) {
  std::vector<Residual> residuals;
  if (computed.size() != points.size()) return residuals;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const MeasuredPoint& point = points[i];
    if (!std::isfinite(computed[i]) || !(computed[i] > 0.0)) continue;
    double r = point.velocity - computed[i];
    if (scale == ResidualScale::Normalised) r /= halfWidth(*point.band);
    residuals.push_back({point.frequency, point.wavelength(), r});
  }
  return residuals;
}

double residualAxisSpan(double largestResidual) {
  constexpr double kHeadroom = 1.15;
  const double wanted = kHeadroom * std::fabs(largestResidual);
  if (!std::isfinite(wanted)) return 2.0;
  for (double decade = 1.0;; decade *= 10.0) {
    for (const double step : {2.0, 4.0, 10.0}) {
      if (step * decade >= wanted) return step * decade;
    }
  }
}

std::vector<double> velocitiesOf(const ComputedCurve& curve) {
  std::vector<double> velocities;
  velocities.reserve(curve.size());
  for (const std::optional<float>& v : curve) {
    velocities.push_back(v ? double{*v} : std::numeric_limits<double>::quiet_NaN());
  }
  return velocities;
}

}  // namespace dispfit
