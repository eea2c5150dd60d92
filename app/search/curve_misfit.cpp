// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/curve_misfit.h"

#include <cmath>
#include <limits>

namespace dispfit {

namespace {

constexpr double kRejected = std::numeric_limits<double>::infinity();

// The engine takes densities in any one unit; g/cm3 to kg/m3 keeps the
// interface's SI.
constexpr double kKilogramsPerCubicMetrePerGramPerCubicCentimetre = 1000.0;

}  // namespace

std::string misfitName(MisfitKind kind) {
  return kind == MisfitKind::Normalised ? "normalised misfit" : "misfit (m/s)";
}

CurveMisfit::CurveMisfit(std::span<const MeasuredPoint> points,
                         const swcore::ForwardRuleSettings& rule)
    : rule_(rule) {
  if (const std::string fault = swcore::ruleSettingsFault(rule); !fault.empty()) {
    fault_ = fault;
    return;
  }
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
    modes_.push_back(point.mode.value_or(swcore::kAnyMode));
  }
  kind_ = deviations.sigmas ? MisfitKind::Normalised : MisfitKind::MetresPerSecond;
  sigmas_ =
      deviations.sigmas ? std::move(*deviations.sigmas) : std::vector<double>(points.size(), 1.0);
}

double CurveMisfit::of(std::span<const double> computed) const {
  if (computed.size() != velocities_.size()) return kRejected;
  double sum = 0.0;
  for (std::size_t i = 0; i < computed.size(); ++i) {
    if (!std::isfinite(computed[i])) return kRejected;
    const double r = (computed[i] - velocities_[i]) / sigmas_[i];
    sum += r * r;
  }
  return std::sqrt(sum / static_cast<double>(computed.size()));
}

MisfitEvaluator::MisfitEvaluator(const CurveMisfit& curve)
    : curve_(curve),
      points_(curve.frequencies().size()),
      velocities_(curve.frequencies().size()),
      modes_(curve.frequencies().size(), -1) {}

void MisfitEvaluator::setLayers(const TrialModel& model) {
  layers_.resize(model.vs.size());
  for (std::size_t i = 0; i < layers_.size(); ++i) {
    layers_[i] = {model.thickness[i], model.vs[i],
                  model.density[i] * kKilogramsPerCubicMetrePerGramPerCubicCentimetre, model.vp[i]};
  }
}

std::span<const double> MisfitEvaluator::readPoints() {
  for (std::size_t i = 0; i < points_.size(); ++i) {
    velocities_[i] =
        points_[i].hasRoot ? points_[i].phaseVelocity : std::numeric_limits<double>::quiet_NaN();
    modes_[i] = points_[i].mode;
  }
  return velocities_;
}

std::span<const double> MisfitEvaluator::curveOf(const TrialModel& model) {
  setLayers(model);
  const swcore::CurveStatus status = solver_.computeWithModes(
      layers_, curve_.frequencies(), curve_.modes(), curve_.rule(), points_);
  if (status != swcore::CurveStatus::ok) return {};
  return readPoints();
}

std::span<const double> MisfitEvaluator::curveWithModes(const TrialModel& model,
                                                        std::span<const int> modes) {
  if (modes.size() != points_.size()) return {};
  setLayers(model);
  const swcore::CurveStatus status =
      solver_.computeWithModes(layers_, curve_.frequencies(), modes, curve_.rule(), points_);
  if (status != swcore::CurveStatus::ok) return {};
  return readPoints();
}

double MisfitEvaluator::misfit(const TrialModel& model) {
  const std::span<const double> computed = curveOf(model);
  return computed.empty() ? kRejected : curve_.of(computed);
}

}  // namespace dispfit
