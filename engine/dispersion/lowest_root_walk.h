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
#pragma once

#include <cmath>
#include <limits>

#include "dispersion/bracket_refinement.h"
#include "dispersion/engine_state.h"
#include "dispersion/secular_function.h"

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

// The phase steps of the walk over one model at one angular frequency.
class PhaseStepper {
 public:
  // `model` is read only here; its arrays may change afterwards.
  explicit PhaseStepper(const SecularModel& model);

  // The steps of the same model at another angular frequency (rad/s).
  void setOmega(double omega);

  // The total variation of omega sum_s h_s sqrt|1/v_s^2 - 1/c^2| from
  // c = `from` up to `to`: the growth of Phi together with the change of
  // every evanescent slot's exponent k h |r|.
  double variation(double from, double to) const;

  // The sum of the exponents k h r of the slots evanescent at c: the
  // growth of the plain reduction's terms, e^sum, which D carries as a
  // whole.
  double decayExponent(double c) const;

  // The rate of that variation at c, d/dc of the sum (infinite at a slot's
  // own velocity).
  double variationRate(double c) const;

  // The next step point above c, not above `ceiling` nor c (1 +
  // kRelativeStep) while every slot is evanescent, c (1 + kWidestStep)
  // beyond, up to which the variation from c stays within kPhaseStep.
  double next(double c, double ceiling) const;

 private:
  template <class Term>
  double slotSum(const Term& term) const;

  int slots_ = 0;
  double slowestSlot_ = std::numeric_limits<double>::infinity();  // km/s
  double inverseVelocity2_[2 * kMaxLayers] = {};                  // 1 / v_s^2
  double thickness_[2 * kMaxLayers] = {};                         // h_s, km
  double phaseFactor_[2 * kMaxLayers] = {};                       // omega h_s
};

// Where the walk starts for a model: c_low.
double walkStart(const SecularModel& model);

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
    const double lo = std::fmin(older.x, newer.x);
    const double hi = std::fmax(older.x, newer.x);
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
    x = std::isnan(x) ? 0.5 * (lo + hi) : std::fmin(std::fmax(x, lo + margin), hi - margin);
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

// What the caller expects of the lowest zero, from the zeros it found at
// neighbouring frequencies (km/s).
struct RootHints {
  // Where no zero is expected below; the start or less for no such bound.
  double unlikelyBelow = 0.0;
  // Where the zero is likely to lie; NaN for no guess.
  double likelyAt = std::numeric_limits<double>::quiet_NaN();
  // The sign of D at the start (+1 or -1), where known; 0 to evaluate it.
  double startSign = 0.0;
};

// Whether two values of D have one sign, both nonzero: the walk's test,
// on values that may be many decades apart, so a sign comparison rather
// than a quotient, which could underflow to zero.
inline bool strictlySameSign(double f, double reference) {
  return (f > 0.0 && reference > 0.0) || (f < 0.0 && reference < 0.0);
}

// The lowest zero of D in (start, beta_N) to within `tolerance` (km/s), or
// NaN when D changes sign nowhere there. The walk reads only signs:
// `sign(c)` is D at c times any positive factor. `d` is D with the shape
// the refinement converges on, also up to a positive factor; it is
// evaluated at the two ends of the bracket the walk found and inside it.
// Both evaluate D of the model that `stepper` was made for; `start` is
// walkStart() of that model.
//
// `hints.unlikelyBelow` is where the caller expects no zero below: the steps up
// to it are taken without evaluating D, and D at the last of them is
// compared with D at the start. The same sign means an even number of
// zeros below, taken as none, and the walk goes on from there; the other
// sign means a zero below, and the walk starts over from the start. Both
// walks pass through the same step points, so where no two zeros hide
// below the skipped steps the result is the one of the whole walk, bit for
// bit. `start` or less skips nothing. `hints.likelyAt`, where it lies in
// that bracket, is the refinement's first point: the result then stays
// within the tolerance of the same zero, but its last bits follow the
// guess.
template <class Sign, class Function>
double lowestRoot(const Sign& sign, const Function& d, const PhaseStepper& stepper, double start,
                  const RootHints& hints, double halfSpaceShear, double tolerance) {
  const double ceiling = halfSpaceShear * (1.0 - kPoleGap);
  double low = start;
  double lowSign = hints.startSign != 0.0 ? hints.startSign : sign(start);
  if (lowSign == 0.0) {
    return low;
  }
  double skipped = start;
  for (double x = stepper.next(skipped, ceiling); x < hints.unlikelyBelow && skipped < ceiling;
       x = stepper.next(skipped, ceiling)) {
    skipped = x;
  }
  if (skipped > start) {
    const double skippedSign = sign(skipped);
    if (strictlySameSign(skippedSign, lowSign)) {
      low = skipped;
      lowSign = skippedSign;
    }
  }
  while (low < ceiling) {
    const double x = stepper.next(low, ceiling);
    const double highSign = sign(x);
    if (!strictlySameSign(highSign, lowSign)) {
      return highSign == 0.0
                 ? x
                 : refineLowestRoot(d, {low, d(low)}, {x, d(x)}, tolerance, hints.likelyAt);
    }
    low = x;
    lowSign = highSign;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

}  // namespace swcore
