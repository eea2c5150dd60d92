// SPDX-License-Identifier: GPL-3.0-or-later
// Forward rules for testing the sampler on targets whose posterior is known
// in closed form, and measured points to go with them.
#pragma once

#include <cmath>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "sampling/forward_curve.h"
#include "site/measured_curve.h"

namespace dispfit_test {

// "Curves" computed by a function of the model: the sampler then sees a
// Gaussian likelihood of that function's values.
class FunctionForward : public dispfit::ForwardCurve {
 public:
  using Rule = std::function<void(const dispfit::TrialModel&, std::span<double>)>;
  explicit FunctionForward(Rule rule) : rule_(std::move(rule)) {}
  bool compute(const dispfit::TrialModel& model, std::span<double> velocities) override {
    rule_(model, velocities);
    return true;
  }

 private:
  Rule rule_;
};

inline dispfit::ForwardFactory functionForward(FunctionForward::Rule rule) {
  return [rule] { return std::make_unique<FunctionForward>(rule); };
}

// As FunctionForward, but the rule says whether the model has a curve at
// all: where it has none the likelihood is zero, as for a layered model
// that loses its roots at some frequency.
class PartialForward : public dispfit::ForwardCurve {
 public:
  using Rule = std::function<bool(const dispfit::TrialModel&, std::span<double>)>;
  explicit PartialForward(Rule rule) : rule_(std::move(rule)) {}
  bool compute(const dispfit::TrialModel& model, std::span<double> velocities) override {
    return rule_(model, velocities);
  }

 private:
  Rule rule_;
};

inline dispfit::ForwardFactory partialForward(PartialForward::Rule rule) {
  return [rule] { return std::make_unique<PartialForward>(rule); };
}

// Points at 1, 2, .. Hz (the fake rules ignore the frequency) with the
// given velocities and standard deviations.
inline std::vector<dispfit::MeasuredPoint> pointsWith(std::span<const double> velocities,
                                                      std::span<const double> sigmas) {
  std::vector<dispfit::MeasuredPoint> points;
  for (std::size_t i = 0; i < velocities.size(); ++i) {
    const double c = velocities[i];
    const double s = sigmas[i];
    points.push_back({static_cast<double>(i + 1), c, dispfit::VelocityBand{c - s, c + s},
                      static_cast<int>(i + 1)});
  }
  return points;
}

}  // namespace dispfit_test
