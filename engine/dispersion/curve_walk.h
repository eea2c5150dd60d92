// SPDX-License-Identifier: GPL-3.0-or-later
// How a dispersion curve is followed from frequency to frequency: where the
// first search starts, the step of the upward walk, the tolerance of the
// refinement and where the next search starts. The forward entry and the
// engine-side inversion's evaluation walk the same way; only their
// tolerance and restart differ.
//
// Notation (velocities in km/s):
//   beta_N   S velocity of the half-space
//   c0       start of a search;  c  the root it found
#pragma once

#include <array>
#include <span>

#include "dispersion/engine_state.h"
#include "dispersion/pole_velocities.h"
#include "dispersion/root_search.h"

namespace swcore {

// The curves are defined by single-precision constants, widened to double
// here; stored curves repeat to the bit only with these exact values.

// 2 pi rounded to single precision: omega = kTwoPi / period.
inline constexpr double kTwoPi = 6.2831854820251465;

// 0.8 (single precision) x the S velocity: the first search starts below the
// fundamental mode, whose phase velocity lies near or above the Rayleigh
// velocity of the slowest layer (0.947 of its S velocity when Vp = 3 Vs).
inline constexpr double kStartFactor = 0.800000011920929;

// 0.05 km/s (single precision): a search that starts this close to beta_N or
// above walks in fine steps. There the curve flattens toward beta_N and the
// next root lies only a little above the start.
inline constexpr double kFineStepBand = 0.05000000074505806;

// Steps of the upward walk, km/s. The coarse step (5 m/s) keeps the walk
// from well below the mode cheap; the fine one (1 m/s) near beta_N.
inline constexpr double kFineStep = 0.001;
inline constexpr double kCoarseStep = 0.005;

// Refinement tolerance of the forward entry, km/s: 1e-5 m/s, below half a
// unit in the last place of the single-precision result in m/s from 256 m/s
// up, so the search does not stop short of what the caller sees.
inline constexpr double kForwardTolerance = 1e-8;

// Refinement tolerance of the inversion's evaluation, km/s: 1 mm/s, a
// thousand times finer than the picking error of field data, so the misfit
// does not see it; a finer one only adds evaluations to every trial model.
inline constexpr double kDisrayTolerance = 1e-6;

// The next search starts this many steps below the last root. The forward
// entry's two steps keep a root that the rounding of the last one puts just
// below it; the inversion's ten let a trial model's curve fall by up to ten
// steps from one datum to the next and still be followed.
inline constexpr int kForwardRestartSteps = 2;
inline constexpr int kDisrayRestartSteps = 10;

// Start of a curve's first search: kStartFactor x the S velocity of the
// slowest layer, the half-space included, so that the fundamental mode lies
// above it also under a stiff crust or with a low-velocity layer.
double firstStartVelocity(const EngineState& state);

// Step of a walk from `start` toward a half-space of S velocity
// `halfSpaceShear`: fine within kFineStepBand of it or above, else coarse.
double walkStep(double start, double halfSpaceShear);

// What every search along one curve shares.
struct CurveWalk {
  double firstStart;      // km/s, firstStartVelocity
  double halfSpaceShear;  // km/s, beta_N
  double tolerance;       // km/s, of the refinement
  // True when a layer below the top is slower than the top layer. Under a
  // stiff crust the lowest mode is first trapped in the buried slow layer,
  // and its curve can fall as the frequency falls, leaving the next start
  // above it. Where the top layer is the slowest, the check is not made and
  // costs nothing.
  bool slowestLayerBuried;
};

CurveWalk curveWalkFor(const EngineState& state, double tolerance);

// Where the search of one point of a curve began, and its step.
struct SearchStart {
  double velocity;  // km/s
  double step;      // km/s
};

// One point of a curve: the search of D from `start`, in the step walkStep
// gives, passing over `poles`.
//
// Where the slowest layer is buried, a start above the first start is
// checked first: D of opposite signs at the two (no pole lies between them
// below beta_N) means an odd number of zeros below the start, so the search
// begins at the first start instead. (An even number, a pair within one
// step, escapes the check.) Elsewhere no evaluation is added.
//
// A search that began above the first start and found no root, or one at or
// above beta_N, has followed a mode up to where it ends; the fundamental lies
// lower, so the point is searched again from the first start.
//
// `result` gets the root of the search kept (the second, unless only the
// first found one) and is left untouched when neither found any. Returns
// the start and step of that search, from which the next point's search and
// any search at a neighbouring period go on.
template <class Function>
SearchStart searchCurvePoint(const Function& d, const PoleVelocities& poles, const CurveWalk& walk,
                             double start, double& result) {
  const SearchStart lowest{walk.firstStart, walkStep(walk.firstStart, walk.halfSpaceShear)};
  const bool aboveFirstStart = start > walk.firstStart;
  if (walk.slowestLayerBuried && aboveFirstStart && start < walk.halfSpaceShear &&
      !(d(walk.firstStart) / d(start) > 0.0)) {
    findRoot(d, lowest.velocity, lowest.step, walk.tolerance, result, poles);
    return lowest;
  }
  const SearchStart followed{start, walkStep(start, walk.halfSpaceShear)};
  double root = 0.0;
  const bool found = findRoot(d, followed.velocity, followed.step, walk.tolerance, root, poles);
  if ((found && root < walk.halfSpaceShear) || !aboveFirstStart) {
    if (found) {
      result = root;
    }
    return followed;
  }
  if (findRoot(d, lowest.velocity, lowest.step, walk.tolerance, result, poles)) {
    return lowest;
  }
  if (found) {
    result = root;
  }
  return followed;
}

// The order in which a curve's frequencies are searched: the positive, finite
// ones from the highest to the lowest (equal ones as given), so that each
// search starts just below the previous root whatever order the caller
// chose. The others are left out: they have no root.
class FrequencyOrder {
 public:
  // `hertz` holds at most kMaxFrequencies entries.
  explicit FrequencyOrder(std::span<const double> hertz);

  const int* begin() const { return index_.data(); }
  const int* end() const { return index_.data() + count_; }

 private:
  std::array<int, kMaxFrequencies> index_{};
  int count_ = 0;
};

}  // namespace swcore
