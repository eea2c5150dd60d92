// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion's forward runs through the reentrant curve core
// (swcore::DispersionCurveSolver) instead of the library's FORWARD, so that
// each layer's P velocity can follow a rule other than FORWARD's 3 Vs: a
// fixed Vp, Poisson's ratio, a water table. Without such a rule the
// inversion keeps to FORWARD (EngineBinding).
//
// Units as the forward call holds them: m, m/s, g/cm3, Hz; the core takes
// kg/m3, converted here.
#pragma once

#include <vector>

#include "core/forward_engine.h"
#include "core/message_presenter.h"
#include "core/vp_rule.h"
#include "dispersion/dispersion_curve.h"

namespace dispfit {

class CoreForwardEngine : public ForwardEngine {
 public:
  // Faults of a run are told to `messages`, which must outlive the engine.
  CoreForwardEngine(VpRule rule, MessagePresenter& messages);

  // The fundamental mode's phase velocity at every frequency of the call,
  // Vp from the rule; 0 where a frequency has no root (as FORWARD leaves a
  // slot of a fresh load). False, with the fault told, for a model or
  // frequency the core refuses.
  bool run(ForwardCall& call) override;

  // The P velocity of each layer of `thickness` and `vs` (m, m/s) under the
  // rule.
  std::vector<double> pVelocities(const std::vector<double>& thickness,
                                  const std::vector<double>& vs) const;

 private:
  VpRule rule_;
  MessagePresenter& messages_;
  swcore::DispersionCurveSolver solver_;
  std::vector<swcore::ModelLayer> model_;
  std::vector<double> frequencies_;
  std::vector<swcore::CurvePoint> curve_;
};

}  // namespace dispfit
