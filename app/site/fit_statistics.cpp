// SPDX-License-Identifier: GPL-3.0-or-later
#include "site/fit_statistics.h"

#include <cmath>

namespace dispfit {

ComputedCurve computedCurve(std::span<const float> velocities) {
  ComputedCurve curve;
  curve.reserve(velocities.size());
  for (const float velocity : velocities) {
    if (std::isfinite(velocity) && velocity > 0.0f) {
      curve.emplace_back(velocity);
    } else {
      curve.emplace_back(std::nullopt);
    }
  }
  return curve;
}

FitStatistics fitStatistics(std::span<const MeasuredPoint> measured,
                            const ComputedCurve& computed) {
  FitStatistics statistics;
  double sumOfSquares = 0.0;
  for (std::size_t i = 0; i < measured.size(); ++i) {
    if (i >= computed.size() || !computed[i]) {
      ++statistics.withoutRoot;
      continue;
    }
    const double residual = static_cast<double>(*computed[i]) - measured[i].velocity;
    sumOfSquares += residual * residual;
    ++statistics.compared;
    if (measured[i].band) {
      ++statistics.withBand;
      if (measured[i].band->contains(*computed[i])) ++statistics.insideBand;
    }
  }
  if (statistics.compared > 0) {
    statistics.rmsMisfit = std::sqrt(sumOfSquares / statistics.compared);
  }
  return statistics;
}

}  // namespace dispfit
