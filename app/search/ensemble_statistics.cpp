// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/ensemble_statistics.h"

#include <algorithm>
#include <cmath>

#include "site/time_averaged_velocity.h"

namespace dispfit {

namespace {

// 1e-9 m: far below the profile's step and above the rounding of
// 1.5 times a constrained depth of up to kilometres.
constexpr double kGridSlack = 1e-9;

}  // namespace

namespace {

// The p-th percentile of values sorted ascending, at least one.
double sortedPercentile(const std::vector<double>& sorted, double p) {
  const double rank = std::clamp(p, 0.0, 1.0) * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(rank));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  const double fraction = rank - static_cast<double>(below);
  return sorted[below] + fraction * (sorted[above] - sorted[below]);
}

}  // namespace

std::optional<double> percentile(std::span<const double> values, double p) {
  if (values.empty()) return std::nullopt;
  std::vector<double> sorted(values.begin(), values.end());
  std::sort(sorted.begin(), sorted.end());
  return sortedPercentile(sorted, p);
}

std::optional<Spread> spreadOf(std::span<const double> values) {
  if (values.empty()) return std::nullopt;
  // One sort for the three percentiles: a profile takes a spread per row.
  std::vector<double> sorted(values.begin(), values.end());
  std::sort(sorted.begin(), sorted.end());
  return Spread{sortedPercentile(sorted, 0.1), sortedPercentile(sorted, 0.5),
                sortedPercentile(sorted, 0.9)};
}

double shearVelocityAt(const TrialModel& model, double depth) {
  double top = 0.0;
  for (std::size_t i = 0; i + 1 < model.vs.size(); ++i) {
    const double bottom = top + model.thickness[i];
    if (depth < bottom) return model.vs[i];
    top = bottom;
  }
  return model.vs.back();
}

std::vector<ProfileRow> vsProfile(std::span<const TrialModel> models, double bottom) {
  std::vector<ProfileRow> rows;
  if (models.empty()) return rows;
  std::vector<double> vs(models.size());
  // Depths as k / 10 rather than a running sum, so that 0.3 m is the
  // nearest double to 0.3 and not three steps' rounding.
  for (long k = 0;; ++k) {
    const double depth = static_cast<double>(k) / kProfileRowsPerMetre;
    if (depth > bottom + kGridSlack) break;
    for (std::size_t m = 0; m < models.size(); ++m) vs[m] = shearVelocityAt(models[m], depth);
    rows.push_back({depth, *spreadOf(vs)});
  }
  return rows;
}

std::optional<double> averageVelocity(const TrialModel& model, double depth) {
  const std::vector<float> thickness(model.thickness.begin(), model.thickness.end());
  const std::vector<float> vs(model.vs.begin(), model.vs.end());
  return timeAveragedVelocity(thickness, vs, depth);
}

std::vector<AverageSpread> averageSpreads(std::span<const TrialModel> models,
                                          double constrainedDepth) {
  std::vector<AverageSpread> spreads;
  if (models.empty()) return spreads;
  for (const double depth : kAveragingDepths) {
    std::vector<double> values;
    for (const TrialModel& model : models) {
      if (const std::optional<double> v = averageVelocity(model, depth)) values.push_back(*v);
    }
    const std::optional<Spread> spread = spreadOf(values);
    if (!spread) continue;
    AverageSpread row{depth, *spread, depth > constrainedDepth};
    const double quantiles[3] = {spread->p10, spread->median, spread->p90};
    for (int q = 0; q < 3; ++q) {
      row.groundTypes[q] = eurocode8GroundType(quantiles[q]);
      row.nehrpClasses[q] = nehrpSiteClass(quantiles[q]);
    }
    spreads.push_back(row);
  }
  return spreads;
}

}  // namespace dispfit
