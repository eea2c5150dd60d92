// SPDX-License-Identifier: GPL-3.0-or-later
// The one place the posterior sampler learns a model's curve: the phase
// velocities of a model at the measured points. One object per thread, each
// with its own working data; which rule picks the velocity at a point (the
// lowest root of the fundamental mode today) is the factory's choice alone.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <vector>

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
};

// Makes one forward calculation for each thread of a sampler.
using ForwardFactory = std::function<std::unique_ptr<ForwardCurve>()>;

// The lowest root of the fundamental mode's secular function at each
// point's frequency (the curve core, swcore::DispersionCurveSolver).
ForwardFactory lowestRootForward(std::span<const MeasuredPoint> points);

}  // namespace dispfit
