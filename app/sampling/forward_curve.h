// SPDX-License-Identifier: GPL-3.0-or-later
// The one place the posterior sampler learns a model's curve: the phase
// velocities of a model at the measured points. One object per thread, each
// with its own working data; which rule picks the velocity at a point (the
// lowest root, or the surface-observed fundamental of observed_curve.h) is
// the factory's choice alone.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "dispersion/observed_curve.h"
#include "search/search_space.h"
#include "site/measured_curve.h"

namespace dispfit {

class ForwardCurve {
 public:
  virtual ~ForwardCurve() = default;
  // The model's phase velocities (m/s) at the points, in their order, into
  // `velocities` (one per point); false when the engine refuses the model
  // or a point has no velocity.
  virtual bool compute(const TrialModel& model, std::span<double> velocities) = 0;

  // Whether the rule picks among modes and computeWithModes gives a cheaper
  // stand-in for compute: the curve of a model with every point's mode
  // given, which skips what the choice costs (the surface-observed rule's
  // motions of every mode). The sampler then screens its proposals on the
  // stand-in first (delayed acceptance, markov_chain.h).
  virtual bool screens() const { return false; }
  // The mode the rule took at each point by the last compute, one per
  // point; empty where the rule picks none.
  virtual std::span<const int> modes() const { return {}; }
  // The velocities of `model` with the mode of each point given (one per
  // point), as compute gives them; false where the engine refuses the model
  // or it has no such mode at some point. Only where screens().
  virtual bool computeWithModes(const TrialModel& model, std::span<const int> modes,
                                std::span<double> velocities);
};

// Makes one forward calculation for each thread of a sampler.
using ForwardFactory = std::function<std::unique_ptr<ForwardCurve>()>;

// Each point's velocity under `rule` (the curve core,
// swcore::DispersionCurveSolver): the surface-observed fundamental by
// default, or the lowest root; a point that names a higher mode takes that
// mode's velocity.
ForwardFactory ruleForward(std::span<const MeasuredPoint> points,
                           const swcore::ForwardRuleSettings& rule);

// The lowest root of the secular function at each point's frequency.
ForwardFactory lowestRootForward(std::span<const MeasuredPoint> points);

}  // namespace dispfit
