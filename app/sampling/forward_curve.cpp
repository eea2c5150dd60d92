// SPDX-License-Identifier: GPL-3.0-or-later
#include "sampling/forward_curve.h"

#include <algorithm>
#include <cmath>

#include "search/curve_misfit.h"

namespace dispfit {

namespace {

// The search's evaluator, which already turns a trial model into the curve
// core's layers and reads its roots back.
// The curve into `velocities`, true where it has a finite velocity at every
// point.
bool copied(std::span<const double> curve, std::span<double> velocities) {
  if (curve.size() != velocities.size()) return false;
  std::copy(curve.begin(), curve.end(), velocities.begin());
  return std::all_of(curve.begin(), curve.end(), [](double v) { return std::isfinite(v); });
}

class RuleForward : public ForwardCurve {
 public:
  explicit RuleForward(std::shared_ptr<const CurveMisfit> points)
      : points_(std::move(points)), evaluator_(*points_) {}

  bool compute(const TrialModel& model, std::span<double> velocities) override {
    return copied(evaluator_.curveOf(model), velocities);
  }

  bool screens() const override {
    return points_->rule().rule == swcore::ForwardRule::surfaceObserved;
  }

  std::span<const int> modes() const override {
    return screens() ? evaluator_.modesOf() : std::span<const int>{};
  }

  bool computeWithModes(const TrialModel& model, std::span<const int> modes,
                        std::span<double> velocities) override {
    return copied(evaluator_.curveWithModes(model, modes), velocities);
  }

 private:
  std::shared_ptr<const CurveMisfit> points_;  // shared, read-only
  MisfitEvaluator evaluator_;
};

}  // namespace

bool ForwardCurve::computeWithModes(const TrialModel& model, std::span<const int>,
                                    std::span<double> velocities) {
  return compute(model, velocities);
}

ForwardFactory ruleForward(std::span<const MeasuredPoint> points,
                           const swcore::ForwardRuleSettings& rule) {
  // Only the frequencies are read: the points go in without their bands, so
  // that a curve of mixed bands (refused elsewhere) cannot fault here.
  std::vector<MeasuredPoint> frequencies(points.begin(), points.end());
  for (MeasuredPoint& point : frequencies) point.band.reset();
  auto shared = std::make_shared<const CurveMisfit>(frequencies, rule);
  return [shared] { return std::make_unique<RuleForward>(shared); };
}

ForwardFactory lowestRootForward(std::span<const MeasuredPoint> points) {
  swcore::ForwardRuleSettings lowest;
  lowest.rule = swcore::ForwardRule::lowestRoot;
  return ruleForward(points, lowest);
}

}  // namespace dispfit
