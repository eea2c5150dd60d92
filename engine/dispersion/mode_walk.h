// SPDX-License-Identifier: GPL-3.0-or-later
// The search for the lowest modes at one frequency: the first zeros of a
// secular function above the walk's start and below the half-space S
// velocity, in order. Mode 0 is the lowest zero, mode k the k-th zero above
// it.
//
// Notation (velocities in km/s):
//   D(c)       the secular function (Rayleigh or Love), up to a positive
//              factor; its simple zeros below beta_N are the modes, and it
//              changes sign at each
//   s0         the sign of D at the walk's start, below every zero
//   floor      the highest point so far below which the walk has counted
//              all the zeros it takes: after j zeros D there has the sign
//              s0 (-1)^j
//   p_k, w_k   the zero of mode k predicted from the higher frequencies and
//              the half-width of the bracket tried around it
//
// The walk is the one of the fundamental mode's search (lowest_root_walk.h)
// carried on above its first zero: steps of the phase stepper, each sign
// change refined, the dip check for a pair of zeros inside one step, and a
// walk in finer steps where a mode expected is not found. Each mode is
// looked for first where the roots at the higher frequencies predict it:
// D at the lower end of the bracket p_k - w_k must have the sign after k
// zeros (an even number of zeros between the floor and it is taken as none)
// and change sign before p_k + w_k; w_k is at most a quarter of the gap to
// the zero of mode k - 1 and to the prediction of mode k + 1, and the
// bracket spans at most pi / 2 of the vertical phase Phi. Where
// that fails the mode is walked for from the floor, for mode 0 the steps
// below 0.9 of its last root passed with one sign test as in the fundamental
// mode's search. No mode is predicted where it moved by more than 5 % of c
// from the last frequency (10 % for a higher mode), nor where it passes the
// velocity of a layer that may trap modes (dispersion_curve.cpp). A mode
// that had no zero at the next higher frequency is taken as absent when D
// just below beta_N has the floor's sign: modes appear as the frequency
// rises (each above its cut-off frequency), so a search from the highest
// frequency down expects none to come back. A pair of modes that would come back together escapes
// that test, and so does a pair of zeros that slips between the floor and a bracket that holds the
// predicted one where the vertical phase between them leaves no room for two more zeros
// (pairMayHideBelow).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>

#include "dispersion/bracket_refinement.h"
#include "dispersion/lowest_root_walk.h"

namespace swcore {

// What the caller expects of one mode's zero at a frequency, from the zeros
// it found at the higher frequencies (km/s).
struct ModeHint {
  // The predicted zero and the half-width of the bracket tried around it;
  // NaN for no prediction.
  double predicted = std::numeric_limits<double>::quiet_NaN();
  double halfWidth = 0.0;
  // Where no zero of the mode is expected below; 0 for no bound.
  double unlikelyBelow = 0.0;
  // The refinement's first point, where it falls inside the bracket; NaN
  // for none.
  double guess = std::numeric_limits<double>::quiet_NaN();
  // The mode was searched for at the next higher frequency and had no zero.
  bool absentAbove = false;

  bool expected() const { return !std::isnan(predicted) || unlikelyBelow > 0.0; }
};

// A quarter: the share of the gap between a mode's predicted zero and its
// neighbours' that the bracket around the prediction may span; 2 % of c its
// widest half-width whatever the gap. 1 % cut short the brackets of
// parabolas whose own error is larger, where a higher mode bends (the
// 3-layer benchmark model's modes 1 and 2 below 60 Hz), each miss a walk
// from the mode below: 2 % took modes 0-2 from 801 to 730 evaluations at 3
// layers and from 837 to 817 at 20, and missed no zero over dense lists on
// 600 random models, modes 0 to 3; 3 % and 5 % gained no more.
inline constexpr double kBracketGapShare = 0.25;
inline constexpr double kWidestBracketHalfWidth = 0.02;

// pi / 2 rad: the most vertical phase the bracket around a prediction may
// span, half the spacing of the zeros in it; and the halvings of its width
// that may bring it there (2^-40 of 2 % of c is below any tolerance).
inline constexpr double kBracketPhase = 1.5707963267948966;
inline constexpr int kBracketHalvings = 40;

// 2 pi rad: the most vertical phase the motion may gain from the zero of the
// mode below to a higher mode's predicted zero before a pair of zeros may
// hide between them (the zeros lie about pi apart in it). Over dense lists
// of frequencies on 64 random models, Rayleigh and Love, modes 0 to 3, the
// search missed eight zeros without this bound and one with it, of a pair
// 0.05 % of c apart; 2.25 to 3 pi left one more, 1.5 pi cost the benchmark's
// 3-layer curve 7 % more evaluations where 2 pi cost none.
inline constexpr double kHigherModePhase = 6.283185307179586;

// A bracket around a prediction that missed the zero is tried again four
// times as wide, at most twice (sixteen times the first half-width), within
// the bounds above: a parabola through three roots misses where the curve's
// bend changes (the 20-layer benchmark model's mode 2 near 115 Hz, off by
// 1.2 times the half-width), and each try costs one or two evaluations
// where the walk from the floor, in steps of a quarter of the zeros'
// spacing, took 85 there.
inline constexpr double kBracketWidening = 4.0;
inline constexpr int kBracketWidenings = 2;

namespace detail {

// A point of the walk: where, D's sign there (+1 or -1), and whether D was
// evaluated there at this frequency (the start's sign is one for all).
struct SignedPoint {
  double x;
  double sign;
  bool evaluated = true;
};

inline double unitSign(double value) {
  return value > 0.0 ? 1.0 : -1.0;
}

// What one walk found: up to two zeros (a pair in one step), and the point
// it ended on.
struct WalkOutcome {
  int count = 0;
  double zeros[2] = {};
  SignedPoint end{};
};

// The walk from `floor` up to `ceiling`, each step of the stepper cut into
// `divisions` equal parts, until D changes sign or the dip check finds a
// pair of zeros in a step.
template <class Sign, class Function>
WalkOutcome walkToZeros(const Sign& sign, const Function& d, const PhaseStepper& stepper,
                        SignedPoint floor, double ceiling, double tolerance, double guess,
                        int divisions) {
  constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
  WalkOutcome outcome;
  // The trend-free values at the last three points, for the dip check; the
  // floor counts only where D was evaluated there (then it costs nothing:
  // the search function keeps its last reductions).
  BracketEnd recent[3] = {{kUnknown, 0.0}, {kUnknown, 0.0}, {kUnknown, 0.0}};
  if (floor.evaluated) {
    recent[2] = {floor.x, d(floor.x)};
  }
  double low = floor.x;
  while (low < ceiling) {
    const double high = stepper.next(low, ceiling);
    for (int part = 1; part <= divisions; ++part) {
      const double x = part == divisions ? high : low + (high - low) * part / divisions;
      const double value = sign(x);
      if (!strictlySameSign(value, floor.sign)) {
        outcome.count = 1;
        outcome.zeros[0] =
            value == 0.0 ? x
                         : refineLowestRoot(d, {floor.x, d(floor.x)}, {x, d(x)}, tolerance, guess);
        outcome.end = {x, -floor.sign};
        return outcome;
      }
      recent[0] = recent[1];
      recent[1] = recent[2];
      recent[2] = {x, d(x)};
      if (const std::optional<SignChange> pair = signChangeInDip(sign, d, recent, floor.sign)) {
        // Two zeros: the lower one between the pair's ends, the upper one
        // between the probe of the other sign and x.
        outcome.count = 2;
        outcome.zeros[0] = pair->upper.f == 0.0
                               ? pair->upper.x
                               : refineLowestRoot(d, pair->lower, pair->upper, tolerance, guess);
        outcome.zeros[1] = pair->upper.f == 0.0
                               ? pair->upper.x
                               : refineLowestRoot(d, pair->upper, recent[2], tolerance);
        outcome.end = {x, floor.sign};
        return outcome;
      }
      floor = {x, unitSign(value)};
    }
    low = high;
  }
  outcome.end = floor;
  return outcome;
}

// The step points from `from` up to below `bound`, passed without
// evaluating D: the last of them, or `from` when the first step reaches the
// bound.
inline double skippedTo(const PhaseStepper& stepper, double from, double bound, double ceiling) {
  double skipped = from;
  for (double x = stepper.next(skipped, ceiling); x < bound && skipped < ceiling;
       x = stepper.next(skipped, ceiling)) {
    skipped = x;
  }
  return skipped;
}

// The zero of the mode `hint` predicts, where D has the floor's sign at the
// lower end of the bracket p -+ w (w the hint's half-width; the bracket
// starts at the floor if that lies higher) and the other at its upper end; refined, with `floor`
// moved to the bracket's upper end. An even number of zeros between the floor and the bracket is
// taken as none. Nothing where the zero lies outside the bracket: the walk from the floor then
// looks for it, as it must where the prediction missed because two zeros lie where one was expected
// (a mode nearly touching the next, or one trapped just above a layer's velocity crossing the
// others).
template <class Sign, class Function>
std::optional<double> zeroNearPrediction(const Sign& sign, const Function& d, const ModeHint& hint,
                                         SignedPoint& floor, double ceiling, double tolerance) {
  const double p = hint.predicted;
  if (std::isnan(p) || !(p + hint.halfWidth > floor.x) || !(p + hint.halfWidth < ceiling)) {
    // No prediction, or one below the floor: the mode below has taken its
    // place.
    return std::nullopt;
  }
  const double lo = std::max(p - hint.halfWidth, floor.x);
  const double loValue = lo == floor.x ? floor.sign : sign(lo);
  if (!strictlySameSign(loValue, floor.sign)) {
    return std::nullopt;
  }
  const double hi = p + hint.halfWidth;
  const double hiValue = sign(hi);
  if (strictlySameSign(hiValue, loValue)) {
    return std::nullopt;
  }
  // The refinement starts from the chord through the bracket's ends rather
  // than from the prediction, its middle: over a bracket this narrow D
  // without its growth is nearly straight, so the chord lands within a
  // tolerance of the zero where the prediction, off by a tenth to a third of the
  // half-width, took one point more (200 to 192 evaluations over the
  // benchmark's 3-layer curve).
  const double zero =
      hiValue == 0.0 ? hi : refineLowestRoot(d, {lo, d(lo)}, {hi, d(hi)}, tolerance);
  floor = {hi, -floor.sign};
  return zero;
}

}  // namespace detail

// Whether a pair of zeros could lie below a mode's predicted zero where the
// signs at the prediction cannot see it.
//
// The lowest mode: the motion gains more than kBracketPhase of vertical
// phase between where the mode's walk would begin (the floor, or the bound
// below which the hint expects no zero) and the prediction. The fundamental
// mode meeting a mode trapped in a buried slow layer turns away from the
// line of its higher frequencies there, the trapped mode's zeros crowding
// just above that layer's velocity: the walk, whose steps shrink with the
// phase, then finds the lowest of them.
//
// A higher mode starts from the zero of the mode below, and its prediction
// lies about pi of phase above that by nature; the motion gaining more than
// kHigherModePhase between them leaves room for two zeros more. That is
// what the modes trapped in a thick slow layer do as c passes the layer's
// velocity: their zeros appear just above it, crowded, while the modes of
// the other layers go on along their lines (0.5 m of 286 m/s over 22 m of
// 173 m/s, 7.3 m of 151 m/s and a 454 m/s half-space: Love modes 3 and 4 at
// 70 Hz, 173.2 and 173.9 m/s, lie between mode 2 and the prediction of
// mode 3 from its higher frequencies, 175 m/s).
inline bool pairMayHideBelow(const PhaseStepper& stepper, const detail::SignedPoint& floor,
                             const ModeHint& hint, int mode) {
  if (mode > 0) {
    return floor.x < hint.predicted &&
           stepper.phaseGrowth(floor.x, hint.predicted) > kHigherModePhase;
  }
  const double from = std::max(floor.x, hint.unlikelyBelow);
  return from < hint.predicted && stepper.phaseGrowth(from, hint.predicted) > kBracketPhase;
}

// Where a search for the lowest zeros runs (km/s): from `start`, where D has
// the sign `startSign` (nonzero; evaluated at this frequency or known from
// another, D's sign at the start being one for all frequencies), up to
// `ceiling`, each zero refined to within `tolerance`.
struct ZeroSearchRange {
  double start = 0.0;
  double startSign = 0.0;
  bool startEvaluated = false;
  double ceiling = 0.0;
  double tolerance = 0.0;
};

// The lowest zeros of D in (start, ceiling), in order: zeros[k] for mode k,
// as many as zeros holds; returns how many were found (the modes above them
// are absent at this frequency). The walk reads only signs: `sign(c)` is D
// at c times any positive factor; `d` is D in the shape the refinement
// converges on, also up to a positive factor, evaluated at the ends of the
// brackets found and inside them. Both evaluate D of the model that
// `stepper` was made for. hints[k] is what is expected of mode k (hints
// holds as many entries as zeros).
template <class Sign, class Function>
int lowestZeros(const Sign& sign, const Function& d, const PhaseStepper& stepper,
                const ZeroSearchRange& range, std::span<const ModeHint> hints,
                std::span<double> zeros) {
  using detail::SignedPoint;
  const double ceiling = range.ceiling;
  const double tolerance = range.tolerance;
  const int wanted = static_cast<int>(zeros.size());
  int found = 0;
  SignedPoint floor{range.start, detail::unitSign(range.startSign), range.startEvaluated};
  const auto take = [&](const detail::WalkOutcome& outcome) {
    for (int i = 0; i < outcome.count && found < wanted; ++i) {
      zeros[static_cast<std::size_t>(found++)] = outcome.zeros[i];
    }
    floor = outcome.end;
  };
  while (found < wanted && floor.x < ceiling) {
    const ModeHint& hint = hints[static_cast<std::size_t>(found)];
    const SignedPoint modeFloor = floor;

    // Where the higher frequencies predict the zero, in a bracket that
    // reaches at most a quarter of the way to the zero of the mode below and
    // to the predicted zero of the mode above, so that it holds neither.
    // The bracket the prediction asks for comes first; where the zero lies
    // outside it, the bracket is widened kBracketWidening times over, up to
    // kBracketWidenings times but never past those bounds, before the walk
    // from the floor takes over.
    if (!std::isnan(hint.predicted) && !pairMayHideBelow(stepper, floor, hint, found)) {
      const double below = found > 0 ? zeros[static_cast<std::size_t>(found - 1)] : range.start;
      double gap = hint.predicted - below;
      if (found + 1 < wanted) {
        const double next = hints[static_cast<std::size_t>(found + 1)].predicted;
        if (next > hint.predicted) {
          gap = std::min(gap, next - hint.predicted);
        }
      }
      double widest = std::min(kBracketGapShare * gap, kWidestBracketHalfWidth * hint.predicted);
      // Nor may the motion gain more than kBracketPhase of vertical phase
      // across it: the zeros of the modes trapped in a thick slow layer lie
      // about pi apart in that phase, crowded together just above the
      // layer's velocity.
      const auto phaseAcross = [&](double w) {
        return stepper.phaseGrowth(std::max(hint.predicted - w, floor.x), hint.predicted + w);
      };
      for (int halving = 0; halving < kBracketHalvings && phaseAcross(widest) > kBracketPhase;
           ++halving) {
        widest *= 0.5;
      }
      ModeHint bounded = hint;
      bounded.halfWidth = std::min(hint.halfWidth, widest);
      std::optional<double> zero =
          detail::zeroNearPrediction(sign, d, bounded, floor, ceiling, tolerance);
      for (int widening = 0; !zero && widening < kBracketWidenings && bounded.halfWidth < widest;
           ++widening) {
        bounded.halfWidth = std::min(kBracketWidening * bounded.halfWidth, widest);
        zero = detail::zeroNearPrediction(sign, d, bounded, floor, ceiling, tolerance);
      }
      if (zero) {
        zeros[static_cast<std::size_t>(found++)] = *zero;
        continue;
      }
    }

    // A mode absent at the next higher frequency, and absent here unless D
    // changes sign between the floor and beta_N.
    if (hint.absentAbove && strictlySameSign(sign(ceiling), floor.sign)) {
      break;
    }

    // The walk from the floor; for the lowest mode the steps below its last
    // root are passed. (Higher modes are walked for from the mode below: the
    // prediction has failed, so the modes move fast here, and their zeros
    // could pass the sign test in pairs.)
    if (found == 0 && hint.unlikelyBelow > floor.x) {
      const double skipped = detail::skippedTo(stepper, floor.x, hint.unlikelyBelow, ceiling);
      if (skipped > floor.x) {
        const double skippedValue = sign(skipped);
        if (strictlySameSign(skippedValue, floor.sign)) {
          floor = {skipped, detail::unitSign(skippedValue)};
        }
      }
    }
    const double guess = std::isnan(hint.predicted) ? hint.guess : hint.predicted;
    detail::WalkOutcome outcome =
        detail::walkToZeros(sign, d, stepper, floor, ceiling, tolerance, guess, 1);
    if (outcome.count == 0 && (found == 0 || hint.expected())) {
      // The last resort before "absent": the walk again from where this
      // mode's search began, in finer steps.
      outcome = detail::walkToZeros(sign, d, stepper, modeFloor, ceiling, tolerance, guess,
                                    kRewalkDivisions);
    }
    if (outcome.count == 0) {
      break;
    }
    take(outcome);
  }
  return found;
}

}  // namespace swcore
