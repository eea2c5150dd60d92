// SPDX-License-Identifier: GPL-3.0-or-later
// The misfit of a trial model's curve to a measured one, as the global search
// ranks and accepts models.
//
// Notation (m/s):
//   c_i        measured phase velocity at frequency f_i, i = 1 .. m
//   v_i        the model's phase velocity at f_i
//   sigma_i    half the width of the point's band: its standard deviation, or
//              (high - low) / 2 for a low and a high bound
//   normalised misfit   sqrt(sum ((v_i - c_i) / sigma_i)^2 / m), when every point has a band
//   misfit (m/s)        sqrt(sum (v_i - c_i)^2 / m), when the curve gives no band
// v_i is the model's velocity under the forward rule (observed_curve.h): by
// default the surface-observed fundamental, the mode a surface array records;
// a point that names its mode is fitted by that mode's velocity.
// A model without a root at some f_i has no curve there and is rejected: its
// misfit is +infinity.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "dispersion/dispersion_curve.h"
#include "dispersion/observed_curve.h"
#include "search/model_scorer.h"
#include "search/search_space.h"
#include "site/measured_curve.h"

namespace dispfit {

enum class MisfitKind { Normalised, MetresPerSecond };

// "normalised misfit" or "misfit (m/s)": how every text names the value.
std::string misfitName(MisfitKind kind);

// The measured points a search fits, read-only and shared by every thread.
class CurveMisfit {
 public:
  // Points with frequency (Hz) and velocity (m/s); the misfit is normalised
  // when every point has a band, in m/s when none has. Refused (fault()):
  // no point, some points with a band and some without, a band of no width,
  // rule settings that ruleSettingsFault refuses.
  explicit CurveMisfit(std::span<const MeasuredPoint> points,
                       const swcore::ForwardRuleSettings& rule = {});

  // Empty when the points can be fitted.
  const std::string& fault() const { return fault_; }
  MisfitKind kind() const { return kind_; }
  std::span<const double> frequencies() const { return frequencies_; }
  // How the model's velocity at each point is taken: the mode a point names,
  // or the rule's (swcore::kAnyMode).
  const swcore::ForwardRuleSettings& rule() const { return rule_; }
  std::span<const int> modes() const { return modes_; }

  // The misfit of the computed velocities (m/s, one per point, in the
  // points' order); +infinity when one is not finite (no root).
  double of(std::span<const double> computed) const;

 private:
  std::vector<double> frequencies_;
  std::vector<double> velocities_;
  std::vector<double> sigmas_;  // 1 each for a misfit in m/s
  std::vector<int> modes_;      // per point, kAnyMode where none is named
  MisfitKind kind_ = MisfitKind::MetresPerSecond;
  swcore::ForwardRuleSettings rule_;
  std::string fault_;
};

// One thread's means to score models: its own solver and working arrays.
class MisfitEvaluator : public ModelScorer {
 public:
  explicit MisfitEvaluator(const CurveMisfit& curve);

  // The misfit of `model`; +infinity when the engine refuses it or a
  // frequency has no root.
  double misfit(const TrialModel& model) override;

  // The model's phase velocities at the curve's frequencies under the
  // curve's rule, NaN where no root was found; empty when the engine refuses
  // the model.
  std::span<const double> curveOf(const TrialModel& model);

  // The mode the rule took at each point by the last curveOf (-1 without a
  // root).
  std::span<const int> modesOf() const { return modes_; }

  // The model's phase velocities with the mode of each point given (one per
  // point, 0 the fundamental), NaN where the model has no such mode there;
  // empty when the engine refuses the model. Under the surface-observed
  // rule this skips the modes' motions and every mode above those named: a
  // model's curve for the modes another model's rule took.
  std::span<const double> curveWithModes(const TrialModel& model, std::span<const int> modes);

 private:
  // The engine's layers of `model`, into layers_.
  void setLayers(const TrialModel& model);
  // velocities_ and modes_ from points_.
  std::span<const double> readPoints();

  const CurveMisfit& curve_;
  swcore::ObservedCurveSolver solver_;
  std::vector<swcore::ModelLayer> layers_;
  std::vector<swcore::ObservedPoint> points_;
  std::vector<double> velocities_;
  std::vector<int> modes_;
};

}  // namespace dispfit
