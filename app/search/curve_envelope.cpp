// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/curve_envelope.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace dispfit {

std::vector<EnvelopePoint> curveEnvelope(std::span<const TrialModel> models,
                                         const CurveMisfit& curve) {
  const std::span<const double> frequencies = curve.frequencies();
  constexpr double kNone = std::numeric_limits<double>::infinity();
  std::vector<double> low(frequencies.size(), kNone);
  std::vector<double> high(frequencies.size(), -kNone);
  MisfitEvaluator evaluator(curve);
  for (const TrialModel& model : models) {
    const std::span<const double> velocities = evaluator.curveOf(model);
    for (std::size_t i = 0; i < velocities.size(); ++i) {
      if (!std::isfinite(velocities[i])) continue;
      low[i] = std::min(low[i], velocities[i]);
      high[i] = std::max(high[i], velocities[i]);
    }
  }
  std::vector<EnvelopePoint> envelope;
  for (std::size_t i = 0; i < frequencies.size(); ++i) {
    if (low[i] <= high[i]) envelope.push_back({frequencies[i], low[i], high[i]});
  }
  return envelope;
}

}  // namespace dispfit
