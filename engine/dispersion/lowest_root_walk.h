// SPDX-License-Identifier: GPL-3.0-or-later
// The search for the fundamental Rayleigh mode at one frequency: the lowest
// zero of the secular function below the half-space S velocity.
//
// Notation (velocities in km/s, thicknesses in km, omega in rad/s):
//   c          trial phase velocity
//   v_s, h_s   velocity and thickness of a slot: the P or the S term of one
//              layer above the half-space
//   Phi(c)     omega sum_s h_s sqrt(max(0, 1/v_s^2 - 1/c^2)): the vertical
//              phase of every slot in which the motion oscillates at c
//   c_R        Rayleigh velocity of a half-space of one layer's material
//   c_low      0.95 min c_R: where every walk starts
//   beta_N     the half-space S velocity, the pole that ends the walk
//   g(c)       D e^(-sum k h r) times the walk's sign: D without the growth
//              of its evanescent terms, positive between the walk's zeros
//
// The walk. Surface and interface waves travel no slower than the smallest
// Rayleigh velocity of the layers' materials (the bound every layered
// model checked against an independent scan from 0.8 x the slowest S
// velocity kept to), so the walk starts a margin below it, at c_low, and
// steps upward to just below beta_N. Above the slowest velocity of the
// model each further guided zero needs roughly another half wavelength
// across the oscillating slots, that is another pi of Phi. The other zeros,
// the surface wave of a thick top layer and interface waves, sit where the
// decay exponents k h |r| of the evanescent slots balance; where one of them
// crosses a guided zero the two form a close pair, which a step tied to Phi
// alone passes without a sign change (a stiff layer over a thin slow one at
// 68 Hz gave a pair 0.16 rad of Phi apart). So a step may change Phi and the
// exponents together by at most kPhaseStep, and c by at most kRelativeStep.
// The first sign change brackets the lowest zero, which Anderson-Bjorck
// false position then refines.
//
// Close pairs. Where the fundamental mode and the first higher one nearly
// touch, their zeros can lie closer than any step bound tied to Phi
// (5 m of 150 m/s over 9 m of 300 m/s over 500 m/s at 8.86 Hz: zeros at
// 344.5 and 373.5 m/s, both within one 10 % step), and D keeps its sign
// across the step. D without its growth, g(c) = D e^(-sum k h r) up to the
// walk's sign, is smooth and positive between zeros and dips through zero
// across such a pair. So after each step the parabola through g at the
// last three step points is checked: where it opens upward with its vertex
// between the outer points and below zero, D is probed at the vertex, and
// at the vertex of the parabola through the three lowest points so far,
// up to kDipProbes times, until a probe has the other sign (the lower zero
// of the pair is then bracketed by it and the step point below it) or a
// parabola stays above zero. g at the step points costs no evaluation of
// D, and a probe is made only where a dip reaches toward zero, so a walk
// that the dip check leaves alone gives its old result bit for bit. A pair
// closer than the step points can resolve (under 1 % of c) leaves no such
// dip; where the walk ends without any sign change, it is repeated with
// each step cut into kRewalkDivisions parts before the frequency is given
// no root.
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "dispersion/bracket_refinement.h"
#include "dispersion/engine_state.h"
#include "dispersion/secular_function.h"
#include "dispersion/wave_type.h"
#include "simd/instruction_set.h"

namespace swcore {

// pi / 4 rad: a quarter of the typical spacing of the zeros in Phi, so that
// the two zeros of a pair must lie four times closer than usual before one
// step can hold both.
inline constexpr double kPhaseStep = 0.7853981633974483;

// 5 % of c while every slot is evanescent: the walk from c_low to the
// slowest velocity of the model then takes two to four steps.
inline constexpr double kRelativeStep = 0.05;

// 10 % of c at most once a slot oscillates. At low frequencies Phi and the
// exponents change little, but the zeros are not spaced by pi of Phi: the
// phase shifts at the interfaces and the half-space's own vertical term
// vary with c as much. 30 % passed the fundamental and the first higher
// mode at once (5 Hz, a soft layer between stiffer ones, zeros at 489 and
// about 550 m/s under a 600 m/s half-space).
inline constexpr double kWidestStep = 0.1;

// 1e-12 of beta_N: the last step point lies this close below the pole,
// where D is still finite (its factor 1 / sqrt(1 - c^2 / beta_N^2) is about
// 7e5), and a zero closer to the pole than that counts as none.
inline constexpr double kPoleGap = 1e-12;

// The Rayleigh velocity of a half-space as a fraction of its S velocity,
// for (beta / alpha)^2 = `shearToP2` in (0, 1/2] (Vp/Vs >= sqrt 2): the root
// in (0, 1) of Rayleigh's cubic in (c / beta)^2.
double halfSpaceRayleighRatio(double shearToP2);

// The passes of a stepper over its slots, in the code of one instruction
// set.
struct StepperPasses;

// The phase steps of the walk over one model at one angular frequency.
class PhaseStepper {
 public:
  // `model` is read only here; its arrays may change afterwards. The slots
  // are the P and the S term of every layer above the half-space for
  // Rayleigh waves, the S term alone for Love waves, whose motion knows no P
  // velocity.
  explicit PhaseStepper(const SecularModel& model, WaveType wave = WaveType::rayleigh);

  // The same with the passes over the slots compiled for `set`, which the
  // processor must have (processorHas). The sets' sums differ in their last
  // bits only (the clones fuse multiply-adds), and so do their step points.
  PhaseStepper(const SecularModel& model, WaveType wave, InstructionSet set);

  // The steps of the same model at another angular frequency (rad/s).
  void setOmega(double omega);

  // The total variation of omega sum_s h_s sqrt|1/v_s^2 - 1/c^2| from
  // c = `from` up to `to`: the growth of Phi together with the change of
  // every evanescent slot's exponent k h |r|.
  double variation(double from, double to) const;

  // The growth of Phi alone from c = `from` up to `to`: the vertical phase
  // gained in the slots in which the motion oscillates, without the change
  // of the evanescent slots' exponents.
  double phaseGrowth(double from, double to) const;

  // How many slots begin to oscillate as c rises from `from` to `to` (their
  // velocities in (from, to]) and hold at least `phase` rad of vertical
  // phase, omega h_s sqrt(1/v_s^2 - 1/to^2), at `to`.
  int slotsTurningWithPhase(double from, double to, double phase) const;

  // The rate of that variation at c, d/dc of the sum (infinite at a slot's
  // own velocity).
  double variationRate(double c) const;

  // The next step point above c, not above `ceiling` nor c (1 +
  // kRelativeStep) while every slot is evanescent, c (1 + kWidestStep)
  // beyond, up to which the variation from c stays within kPhaseStep.
  double next(double c, double ceiling) const;

 private:
  const StepperPasses* passes_;
  int slots_ = 0;
  double slowestSlot_ = std::numeric_limits<double>::infinity();  // km/s
  double inverseVelocity2_[2 * kMaxLayers] = {};                  // 1 / v_s^2
  double thickness_[2 * kMaxLayers] = {};                         // h_s, km
  double phaseFactor_[2 * kMaxLayers] = {};                       // omega h_s
};

// Where the walk starts for a model: c_low.
double walkStart(const SecularModel& model);

// Where the walk for Love waves starts: 0.95 of the slowest S velocity of the
// model, the half-space included. A Love wave travels faster than that
// velocity: below it the motion decays away from the free surface in every
// layer, and no such motion meets the conditions at both ends.
double loveWalkStart(const SecularModel& model);

// The zero of the parabola x(f) through three points of D with distinct
// values: inverse quadratic interpolation.
inline double inverseQuadraticZero(const BracketEnd& a, const BracketEnd& b, const BracketEnd& c) {
  return a.x * b.f * c.f / ((a.f - b.f) * (a.f - c.f)) +
         b.x * a.f * c.f / ((b.f - a.f) * (b.f - c.f)) +
         c.x * a.f * b.f / ((c.f - a.f) * (c.f - b.f));
}

// Anderson-Bjorck false position on a bracket whose ends differ in sign,
// until the bracket is narrower than `tolerance`; returns its newest end.
// A `firstGuess` inside the bracket is the first point instead of the
// chord's: a guess within a tolerance of the zero closes the bracket in two
// or three points.
// Once a third point is known, the zero of the inverse parabola through the
// last three replaces the false-position point wherever it falls inside the
// bracket: near a zero D is smooth, and the parabola's error shrinks faster
// than the chord's. Two guards keep it superlinear where the plain method
// would creep on the strongly curved D: every point keeps half a tolerance
// from the bracket's ends, so that once an end is within that of the zero
// the next point lands beyond the zero and closes the bracket (a point
// within a tolerance of the newest end is pushed further, below); and a
// bisection follows whenever three points have not halved the bracket.
template <class Function>
double refineLowestRoot(const Function& d, BracketEnd older, BracketEnd newer, double tolerance,
                        double firstGuess = std::numeric_limits<double>::quiet_NaN()) {
  constexpr int kMaxPasses = 400;
  double widths[3] = {};
  BracketEnd third{};
  bool haveThird = false;
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    // Plain comparisons rather than fmin and fmax, which are calls into the
    // maths library for their NaN rules: no end of a bracket is NaN, and a
    // NaN point is replaced by the middle below.
    const double lo = std::min(older.x, newer.x);
    const double hi = std::max(older.x, newer.x);
    const double width = hi - lo;
    if (width < tolerance) {
      break;
    }
    double x = newer.x - newer.f * (newer.x - older.x) / (newer.f - older.f);
    if (pass == 0 && firstGuess > lo && firstGuess < hi) {
      x = firstGuess;
    }
    if (haveThird && third.f != older.f && third.f != newer.f) {
      const double parabola = inverseQuadraticZero(older, newer, third);
      if (parabola > lo && parabola < hi) {
        x = parabola;
      }
    }
    if (pass >= 3 && width > 0.5 * widths[pass % 3]) {
      x = 0.5 * (lo + hi);
    }
    widths[pass % 3] = width;
    // A point within a tolerance of the newest end goes on past its
    // estimate, to halfway between the estimate and a tolerance from that
    // end: the bracket then closes on this point unless the estimate erred
    // by more than the room left, where it would close only on the next.
    const double fromNewest = x - newer.x;
    if (std::abs(fromNewest) < tolerance) {
      x = newer.x + std::copysign(0.5 * (std::abs(fromNewest) + tolerance), fromNewest);
    }
    const double margin = 0.5 * tolerance;
    x = std::isnan(x) ? 0.5 * (lo + hi) : std::min(std::max(x, lo + margin), hi - margin);
    const BracketEnd next{x, d(x)};
    if (next.f == 0.0) {
      return x;
    }
    if (detail::sameSign(next.f, newer.f)) {
      third = newer;
      const double m = 1.0 - next.f / newer.f;
      older.f *= (m > 0.0) ? m : 0.5;
    } else {
      third = older;
      older = newer;
    }
    haveThird = true;
    newer = next;
  }
  return newer.x;
}

// Whether two values of D have one sign, both nonzero: the walk's test,
// on values that may be many decades apart, so a sign comparison rather
// than a quotient, which could underflow to zero.
inline bool strictlySameSign(double f, double reference) {
  return (f > 0.0 && reference > 0.0) || (f < 0.0 && reference < 0.0);
}

// A sign change of D between two points of the walk: the lower point
// keeps the walk's sign, the upper one has the other or is a zero (f = 0).
struct SignChange {
  BracketEnd lower;
  BracketEnd upper;
};

// Probes of one dip of g for a pair of zeros: each moves to the vertex of
// the parabola through the three lowest points known, which closes on a
// smooth minimum superlinearly. Over 200 models within 15 % of the model
// above (30 frequencies each), one probe left two pairs unbracketed and two
// left none; the third is margin, spent only on dips that stay deep.
inline constexpr int kDipProbes = 3;

// A pair of zeros between the walk's last three step points, whose
// trend-free values `points` (x ascending) all have the walk's sign
// `walkSign`. Two zeros close together make a dip in |D| that reaches
// through zero between them; the parabola through three values across it
// then has its vertex between the outer points and beyond zero. Only
// there is D evaluated, at that vertex, and again at the vertex of the
// parabola through the three lowest points while it still lies beyond
// zero. Returns the first sign change found, none when the parabola keeps
// the walk's sign (nearly every step: no evaluation is added) or the
// probes find none.
template <class Sign, class Function>
std::optional<SignChange> signChangeInDip(const Sign& sign, const Function& d,
                                          const BracketEnd (&points)[3], double walkSign) {
  BracketEnd p[4] = {points[0], points[1], points[2], {}};
  if (std::isnan(p[0].x)) {
    return std::nullopt;
  }
  const double s = walkSign > 0.0 ? 1.0 : -1.0;
  for (int probe = 0; probe < kDipProbes; ++probe) {
    // The parabola in Newton's form on the three points, of s D (> 0 at
    // each): g0 + d01 (x - x0) + a (x - x0) (x - x1).
    const double g0 = s * p[0].f;
    const double g1 = s * p[1].f;
    const double g2 = s * p[2].f;
    const double d01 = (g1 - g0) / (p[1].x - p[0].x);
    const double d12 = (g2 - g1) / (p[2].x - p[1].x);
    const double a = (d12 - d01) / (p[2].x - p[0].x);
    if (!(a > 0.0)) {
      return std::nullopt;
    }
    const double vertex = 0.5 * (p[0].x + p[1].x) - 0.5 * d01 / a;
    if (!(vertex > p[0].x && vertex < p[2].x) || vertex == p[1].x) {
      return std::nullopt;
    }
    const double atVertex = g0 + (vertex - p[0].x) * (d01 + a * (vertex - p[1].x));
    if (!(atVertex < 0.0)) {
      return std::nullopt;
    }
    const BracketEnd probed{vertex, sign(vertex)};
    const BracketEnd& below = vertex < p[1].x ? p[0] : p[1];
    if (!strictlySameSign(probed.f, walkSign)) {
      return SignChange{below, {vertex, probed.f == 0.0 ? 0.0 : d(vertex)}};
    }
    // The four points in order; the next parabola runs through the lowest
    // of them and its two neighbours.
    p[3] = {vertex, d(vertex)};
    std::sort(p, p + 4, [](const BracketEnd& l, const BracketEnd& r) { return l.x < r.x; });
    int lowest = 1;
    for (int i = 0; i < 4; ++i) {
      lowest = s * p[i].f < s * p[lowest].f ? i : lowest;
    }
    const int first = std::clamp(lowest - 1, 0, 1);
    std::rotate(p, p + first, p + 4);
  }
  return std::nullopt;
}

// Parts of each step of the walk in its repetition before "no root".
// Pairs of zeros 0.3 to 1 % of c apart inside a 10 % step (the touching
// modes 3 to 16 % off the model above, near 7 Hz) leave no dip at the step
// points deep enough for the parabola; at an eighth of the step they do.
inline constexpr int kRewalkDivisions = 8;

}  // namespace swcore
