// SPDX-License-Identifier: GPL-3.0-or-later
// A forward engine for curves whose points name their mode: each run
// computes the buffers' model through the curve core (ObservedCurveSolver)
// instead of FORWARD, every frequency given the velocity of the mode its
// point names, and a frequency without a named mode the fundamental mode, as
// FORWARD would (within its tolerance: the core's roots lie within 1e-5 m/s
// of the secular function's zero, FORWARD's within 0.1 m/s).
//
// The modes come with the points the engine is made for: the k-th time a
// frequency appears in a run, it takes the mode of the k-th of those points
// at that frequency (points of one frequency keep their order everywhere, see
// prepareMeasuredCurve). An engine therefore serves the runs of one list of
// points: the inversion's (MeasuredCurve::inverted) or all of them, each its
// own engine, since thinning may keep one mode of a frequency and not the
// other. A named mode the model does not carry at a frequency (below its cut-off) is
// given the half-space S velocity, the velocity the mode reaches at its
// cut-off, so that a fit sees how far from carrying it the model is.
//
// The model of a run as FORWARD takes it: m, m/s, g/cm3, Vp = 3 Vs.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <vector>

#include "core/forward_engine.h"
#include "dispersion/observed_curve.h"
#include "site/measured_curve.h"

namespace dispfit {

class ModalCurveEngine : public ForwardEngine {
 public:
  // The points' frequencies (Hz) and modes (swcore::kAnyMode for none), in
  // the points' order.
  ModalCurveEngine(std::span<const double> frequencies, std::span<const int> modes);

  // Computes the call's curve; false (nothing reported: the core refuses
  // only what FORWARD's callers already refuse) when the core refuses the
  // model.
  bool run(ForwardCall& call) override;

 private:
  std::map<float, std::vector<int>> modesAt_;
  swcore::ObservedCurveSolver solver_;
  std::vector<swcore::ModelLayer> layers_;
  std::vector<double> frequencies_;
  std::vector<int> modes_;
  std::vector<swcore::ObservedPoint> points_;
};

// The engine of runs at `points` where one of them names its mode; none
// where none does (FORWARD fits such a curve, as described).
std::optional<ModalCurveEngine> modalEngineFor(std::span<const MeasuredPoint> points);

}  // namespace dispfit
