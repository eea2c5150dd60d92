// SPDX-License-Identifier: GPL-3.0-or-later
#include "dispersion/dispersion_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <numeric>

#include "dispersion/group_velocity.h"
#include "dispersion/lowest_root_walk.h"
#include "dispersion/secular_function.h"

namespace swcore {
namespace {

// 1e-8 km/s (1e-5 m/s): the bracket width at which the refinement stops;
// the zero lies within it.
constexpr double kTolerance = 1e-8;

constexpr double kMetresPerKilometre = 1000.0;

// 0.9: the fraction of the next higher frequency's root below which a
// walk expects no zero. Below 1 for the models whose fundamental mode falls
// a little with the frequency over some band (a stiff layer over a soft
// one); a zero below it anyway is still found where the sign of D there
// differs from its sign at the walk's start.
constexpr double kBelowHigherRoot = 0.9;

// The same fraction where the roots at the two higher frequencies rise
// toward this one, as they do wherever the curve disperses normally: the
// root here is then expected above the next higher one's, and a zero that
// fell below the bound anyway is still found by the sign test. A pair of zeros
// could hide below only where the fundamental mode and the next both fell
// that far from one frequency to the next against the trend.
constexpr double kBelowRisingRoot = 0.98;

bool positiveFinite(double value) {
  return std::isfinite(value) && value > 0.0;
}

CurveStatus checkLayer(const ModelLayer& layer, bool halfSpace) {
  if (!halfSpace && !positiveFinite(layer.thickness)) {
    return CurveStatus::badThickness;
  }
  if (!positiveFinite(layer.shearVelocity)) {
    return CurveStatus::badShearVelocity;
  }
  if (!positiveFinite(layer.density)) {
    return CurveStatus::badDensity;
  }
  const double p = pVelocityOf(layer);
  if (!positiveFinite(p)) {
    return CurveStatus::badPVelocity;
  }
  if (p * p < 2.0 * layer.shearVelocity * layer.shearVelocity) {
    return CurveStatus::pToShearRatioTooLow;
  }
  return CurveStatus::ok;
}

CurveStatus checkInput(std::span<const ModelLayer> model, std::span<const double> frequencies,
                       std::size_t outputSize, int modes = 1) {
  if (const CurveStatus status = modelStatus(model); status != CurveStatus::ok) {
    return status;
  }
  for (const double f : frequencies) {
    if (!positiveFinite(f)) {
      return CurveStatus::badFrequency;
    }
  }
  if (modes < 1 || modes > kMaxModes) {
    return CurveStatus::badModeCount;
  }
  return outputSize == frequencies.size() * static_cast<std::size_t>(modes)
             ? CurveStatus::ok
             : CurveStatus::outputSizeMismatch;
}

// D of one model at one frequency in the two forms the search reads, with
// the reductions of the walk remembered for the bracket it ends on.
// `Secular` is SecularFunction or LoveSecularFunction.
template <class Secular>
class SearchFunction {
 public:
  // `d` and `stepper` are of one model at one frequency.
  SearchFunction(const Secular& d, const PhaseStepper& stepper, std::uint64_t& evaluations)
      : d_(d), stepper_(stepper), evaluations_(evaluations) {}

  const PhaseStepper& stepper() const { return stepper_; }

  // D up to a positive factor, for the sign test of the walk: the plain
  // reduction, or the rescaled one where that is not finite.
  double sign(double c) {
    ++evaluations_;
    Reduction& r = walked_[next_];
    next_ = 1 - next_;
    double decay = 0.0;
    const double literal = d_.literal(c, decay);
    r = std::isfinite(literal) ? Reduction{c, literal, decay, false}
                               : Reduction{c, d_.rescaled(c), 1.0, true};
    return r.value;
  }

  // D without the exponential growth of its evanescent terms: the same
  // sign, and a shape close enough to a straight line near a zero that the
  // refinement converges in a handful of steps where on D itself, curved
  // like e^(k h r), it crept. Where the plain reduction overflows, or its
  // growth does, the rescaled one has that growth divided out already. At
  // the last two points of the walk the reduction is not repeated.
  double trendFree(double c) {
    for (const Reduction& r : walked_) {
      if (r.c == c) {
        return r.rescaled ? r.value : withoutGrowth(c, r.value, r.decay);
      }
    }
    ++evaluations_;
    double decay = 0.0;
    const double literal = d_.literal(c, decay);
    return std::isfinite(literal) ? withoutGrowth(c, literal, decay) : d_.rescaled(c);
  }

 private:
  struct Reduction {
    double c = std::numeric_limits<double>::quiet_NaN();
    double value = 0.0;
    double decay = 1.0;  // of the plain reduction
    bool rescaled = false;
  };

  // A finite plain reduction times the inverse of its growth; the rescaled
  // reduction where that product underflows.
  double withoutGrowth(double c, double literal, double decay) const {
    const double value = literal * decay;
    return value != 0.0 || literal == 0.0 ? value : d_.rescaled(c);
  }

  const Secular& d_;
  const PhaseStepper& stepper_;
  std::uint64_t& evaluations_;
  Reduction walked_[2];
  int next_ = 0;
};

}  // namespace

CurveStatus modelStatus(std::span<const ModelLayer> model) {
  if (model.empty()) {
    return CurveStatus::noLayers;
  }
  if (model.size() > static_cast<std::size_t>(kMaxLayers)) {
    return CurveStatus::tooManyLayers;
  }
  for (std::size_t i = 0; i < model.size(); ++i) {
    const CurveStatus status = checkLayer(model[i], i + 1 == model.size());
    if (status != CurveStatus::ok) {
      return status;
    }
  }
  return CurveStatus::ok;
}

const char* describe(CurveStatus status) {
  switch (status) {
    case CurveStatus::ok:
      return "ok";
    case CurveStatus::noLayers:
      return "the model has no layers";
    case CurveStatus::tooManyLayers:
      return "the model has more than 50 layers";
    case CurveStatus::badThickness:
      return "a layer above the half-space has a thickness that is not a positive number";
    case CurveStatus::badShearVelocity:
      return "a layer has an S velocity that is not a positive number";
    case CurveStatus::badDensity:
      return "a layer has a density that is not a positive number";
    case CurveStatus::badPVelocity:
      return "a layer has a P velocity that is not a positive number";
    case CurveStatus::pToShearRatioTooLow:
      return "a layer has a P to S velocity ratio below sqrt(2)";
    case CurveStatus::badFrequency:
      return "a frequency is not a positive number";
    case CurveStatus::badModeCount:
      static_assert(kMaxModes == 100, "the message names the limit");
      return "the number of modes is not between 1 and 100";
    case CurveStatus::outputSizeMismatch:
      return "the output does not have one point per frequency";
  }
  return "unknown status";
}

CurveStatus DispersionCurveSolver::compute(std::span<const ModelLayer> model,
                                           std::span<const double> frequencies, CurveKind kind,
                                           std::span<CurvePoint> out) {
  return computeModes(model, frequencies, {WaveType::rayleigh, 1, kind}, out);
}

SecularModel DispersionCurveSolver::loadModel(std::span<const ModelLayer> model,
                                              std::span<const double> frequencies) {
  // From SI units to the engine's, once.
  layerCount_ = static_cast<int32_t>(model.size());
  for (std::size_t i = 0; i < model.size(); ++i) {
    const ModelLayer& layer = model[i];
    const bool halfSpace = i + 1 == model.size();
    thickness_[i] = halfSpace ? 0.0 : layer.thickness / kMetresPerKilometre;
    shearVelocity_[i] = layer.shearVelocity / kMetresPerKilometre;
    pVelocity_[i] = pVelocityOf(layer) / kMetresPerKilometre;
    density_[i] = layer.density;
  }
  // The frequencies from the highest down, equal ones in the list's order:
  // the order is the frequencies' own, whatever the order of the list.
  order_.resize(frequencies.size());
  std::iota(order_.begin(), order_.end(), std::size_t{0});
  std::stable_sort(order_.begin(), order_.end(),
                   [&](std::size_t a, std::size_t b) { return frequencies[a] > frequencies[b]; });
  return {layerCount_, thickness_, shearVelocity_, pVelocity_, density_, 0.0};
}

CurveStatus DispersionCurveSolver::computeModes(std::span<const ModelLayer> model,
                                                std::span<const double> frequencies,
                                                const ModeRequest& request,
                                                std::span<CurvePoint> out) {
  evaluations_ = 0;
  const CurveStatus status = checkInput(model, frequencies, out.size(), request.modes);
  if (status != CurveStatus::ok) {
    return status;
  }
  const SecularModel atRest = loadModel(model, frequencies);
  const bool love = request.wave == WaveType::love;
  walkStart_ = love ? loveWalkStart(atRest) : walkStart(atRest);
  if (love) {
    love_.emplace(atRest, set_, TermPrecision::quick);
  } else {
    secular_.emplace(atRest, set_, TermPrecision::quick);
  }
  stepper_.emplace(atRest, request.wave, set_);
  const auto modes = static_cast<std::size_t>(request.modes);
  history_.assign(modes, ModeHistory{});
  hints_.resize(modes);
  zeros_.resize(modes);
  startSign_ = 0.0;
  for (const std::size_t j : order_) {
    const std::span<CurvePoint> points = out.subspan(j * modes, modes);
    if (love) {
      modesAt(*love_, frequencies[j], request, points);
    } else {
      modesAt(*secular_, frequencies[j], request, points);
    }
  }
  return CurveStatus::ok;
}

namespace {

// The brackets tried around a mode's predicted root (their half-widths, as
// a share of c or of the change predicted; mode_walk.h narrows them further
// where the modes crowd). Through three roots the parabola predicts it; the
// line through the last two is off by about the parabola's bend, and the
// parabola's own error, a fraction of that along a smooth curve, grows to
// it where the curve turns: twice the bend is the half-width (the bend
// itself or four times it cost 10 to 30 % more evaluations over the
// benchmark's curves), never less than half the tolerance. From two roots
// the line predicts, and half the change it predicts bounds its error. From
// one root the root itself is the prediction, within 0.5 % of c. A root
// outside the bracket costs a walk from the mode below.
constexpr double kBendShare = 2.0;
constexpr double kNarrowestHalfWidth = 0.45 * kTolerance;
constexpr double kLineShare = 0.5;
constexpr double kLineHalfWidth = 2e-4;
constexpr double kSingleRootHalfWidth = 0.005;

// 0.9: the lowest frequency, as a share of the one of the only root known,
// for which that root predicts the mode's.
constexpr double kNearbyFrequency = 0.9;

// 5 % of c: the largest change of the lowest mode's phase velocity from the
// neighbouring frequency that a prediction may foresee. Where a mode moves
// faster, the zeros of the modes around it move as fast, and a pair of them
// can slip between the floor and the prediction, where the signs cannot see
// it (a stiff crust over a soft layer, below 50 Hz: modes 10 % apart moving
// by 10 % from one frequency to the next). 2 % passed the same tests and
// cost 20 to 40 % more evaluations.
constexpr double kLargestPredictedChange = 0.05;

// 10 % of c for a higher mode, whose walk (mode_walk.h) also refuses a
// prediction where the motion gains more than 2 pi of vertical phase from
// the zero of the mode below: that bound sees the pairs the 5 % guarded
// against. Over dense lists of frequencies on 200 random models, modes 0 to
// 3, 10 % missed no zero that 5 % found, where no limit missed one more; it
// cut the evaluations of modes 0-2 by 12 % at 3 layers and 21 % at 20.
constexpr double kLargestHigherModeChange = 0.1;

// pi / 2 rad: a mode's prediction is not tried where the mode passes the
// velocity of a slot between its last root and the prediction and that
// slot holds at least this much vertical phase at the prediction. The
// modes trapped in a thick slow layer begin just above its velocity, each
// with less than pi of the layer's phase (the phase shifts at its
// evanescent neighbours make up the rest), so a mode that passes that
// velocity within one frequency step can pass them too, two at a time
// where the signs cannot see it (13 layers, the top 22 m of 104 m/s: Love
// mode 2 from 103.1 m/s at 17.3 Hz predicted at 105.5 at 15.7 Hz, the
// zeros of modes 2 and 3 at 103.9 and 105.2 below it). Counting every slot
// passed, whatever its phase, cost the 20-layer modes 0-2 41 % more
// evaluations; at pi / 2 the benchmark's curves take none more.
constexpr double kTrappingSlotPhase = 1.5707963267948966;

}  // namespace

ModeHint DispersionCurveSolver::hintFrom(const ModeHistory& h, double frequency, int mode,
                                         const PhaseStepper& stepper) {
  ModeHint hint;
  hint.absentAbove = h.absentAtLast;
  if (h.count == 0) {
    return hint;
  }
  const auto& newest = h.roots[2];
  const auto& middle = h.roots[1];
  const auto& oldest = h.roots[0];
  hint.unlikelyBelow = kBelowHigherRoot * newest.c;
  hint.guess = newest.c;
  if (h.count >= 2 && middle.frequency > newest.frequency && middle.c < newest.c) {
    hint.unlikelyBelow = kBelowRisingRoot * newest.c;
  }
  if (h.count == 1 || !(middle.frequency > newest.frequency)) {
    if (frequency >= kNearbyFrequency * newest.frequency) {
      hint.predicted = newest.c;
      hint.halfWidth = kSingleRootHalfWidth * newest.c;
    }
  } else {
    const double slope = (newest.c - middle.c) / (newest.frequency - middle.frequency);
    const double line = newest.c + slope * (frequency - newest.frequency);
    hint.predicted = line;
    hint.halfWidth = kLineShare * std::abs(line - newest.c) + kLineHalfWidth * line;
    if (h.count == 3 && oldest.frequency > middle.frequency) {
      // Newton's form of the parabola through the three roots.
      const double older = (middle.c - oldest.c) / (middle.frequency - oldest.frequency);
      const double bend = (slope - older) / (newest.frequency - oldest.frequency);
      const double parabola =
          line + bend * (frequency - newest.frequency) * (frequency - middle.frequency);
      hint.predicted = parabola;
      hint.halfWidth = std::max(kBendShare * std::abs(parabola - line), kNarrowestHalfWidth);
    }
  }
  const double largestChange = mode == 0 ? kLargestPredictedChange : kLargestHigherModeChange;
  if (!(std::abs(hint.predicted - newest.c) <= largestChange * newest.c) ||
      (hint.predicted > newest.c &&
       stepper.slotsTurningWithPhase(newest.c, hint.predicted, kTrappingSlotPhase) > 0)) {
    // The mode moves too fast here for its neighbours' zeros to be told
    // apart from it by the signs at the prediction, or passes the velocity
    // of a layer that may trap modes: it is walked for.
    hint.predicted = std::numeric_limits<double>::quiet_NaN();
  }
  return hint;
}

template <class Secular>
void DispersionCurveSolver::modesAt(Secular& secular, double frequency, const ModeRequest& request,
                                    std::span<CurvePoint> out) {
  constexpr double kNoRoot = std::numeric_limits<double>::quiet_NaN();
  const SecularModel model{layerCount_, thickness_, shearVelocity_,
                           pVelocity_,  density_,   2.0 * std::numbers::pi * frequency};
  secular.setOmega(model.omega);
  stepper_->setOmega(model.omega);
  SearchFunction search(secular, *stepper_, evaluations_);
  const auto modes = static_cast<std::size_t>(request.modes);
  for (std::size_t k = 0; k < modes; ++k) {
    hints_[k] = hintFrom(history_[k], frequency, static_cast<int>(k), *stepper_);
  }
  ZeroSearchRange range;
  range.start = walkStart_;
  range.ceiling = shearVelocity_[layerCount_ - 1] * (1.0 - kPoleGap);
  range.tolerance = kTolerance;
  range.startSign = startSign_;
  if (startSign_ == 0.0) {
    // Every slot is evanescent at the start, and no zero lies at or below
    // it at any frequency: D's sign there is one for all frequencies, read
    // at the first where it is defined.
    const double atStart = search.sign(walkStart_);
    if (atStart > 0.0 || atStart < 0.0) {
      startSign_ = atStart > 0.0 ? 1.0 : -1.0;
      range.startSign = startSign_;
      range.startEvaluated = true;
    }
  }
  int found = 0;
  if (range.startSign != 0.0) {
    found = lowestZeros([&](double v) { return search.sign(v); },
                        [&](double v) { return search.trendFree(v); }, *stepper_, range, hints_,
                        zeros_);
  }
  for (std::size_t k = 0; k < modes; ++k) {
    ModeHistory& h = history_[k];
    if (static_cast<int>(k) >= found) {
      out[k] = {false, kNoRoot, kNoRoot};
      h.count = 0;
      h.absentAtLast = true;
      continue;
    }
    const double c = zeros_[k];
    const double group = request.kind == CurveKind::phaseAndGroup
                             ? groupVelocity(model, c, request.wave, set_)
                             : kNoRoot;
    out[k] = {true, c * kMetresPerKilometre, group * kMetresPerKilometre};
    h.roots[0] = h.roots[1];
    h.roots[1] = h.roots[2];
    h.roots[2] = {frequency, c};
    h.count = std::min(h.count + 1, 3);
    h.absentAtLast = false;
  }
}

}  // namespace swcore
