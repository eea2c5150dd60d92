// SPDX-License-Identifier: GPL-3.0-or-later
// The refinement of the lowest root's bracket: the zero it returns against
// zeros known in closed form, and the number of evaluations it needs.
#include "dispersion/lowest_root_walk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
#include <vector>

namespace {

using swcore::BracketEnd;

TEST(InverseQuadraticZero, ReturnsTheParabolasValueAtZero) {
  // Three points of x = 1 + 2 f + 3 f^2, at f = -1, 0.5 and 2 (x = 2, 2.75
  // and 17): the parabola through them is that one, and at f = 0 it is 1.
  const BracketEnd a{2.0, -1.0};
  const BracketEnd b{2.75, 0.5};
  const BracketEnd c{17.0, 2.0};
  EXPECT_NEAR(swcore::inverseQuadraticZero(a, b, c), 1.0, 1e-14);
  EXPECT_NEAR(swcore::inverseQuadraticZero(c, a, b), 1.0, 1e-14);
}

struct RefinementCase {
  const char* name;
  std::function<double(double)> f;
  double lo;
  double hi;
  double zero;          // in closed form
  int mostEvaluations;  // bisection would need 27 from a bracket of width 1
};

TEST(RefineLowestRoot, ClosesOnKnownZerosFasterThanBisection) {
  const double kTolerance = 1e-8;
  const std::vector<RefinementCase> cases{
      // Smooth across the bracket: a superlinear method from an error of
      // about 0.1 reaches 1e-8 in five or six points, and one more lands
      // beyond the zero to close the bracket.
      {"exp(x) - 2", [](double x) { return std::exp(x) - 2.0; }, 0.0, 1.0, std::log(2.0), 8},
      {"x^3 - 2", [](double x) { return x * x * x - 2.0; }, 1.0, 2.0, std::cbrt(2.0), 8},
      // Flat at the lower end, steep at the upper: 1 - x^4 on [0, 1.5], whose
      // first chords fall far from the zero.
      {"1 - x^4", [](double x) { return 1.0 - x * x * x * x; }, 0.0, 1.5, 1.0, 12},
      // Curved like D where an evanescent term grows: e^(50 (x - 0.3)) - 1,
      // whose chords creep along the flat side until the bisection guard
      // halves the bracket: fewer points than bisection all the same.
      {"steep exponential", [](double x) { return std::expm1(50.0 * (x - 0.3)); }, 0.0, 1.0, 0.3,
       26},
      // The zero at the lower end's doorstep: x - 1e-9 on [0, 1]. The first
      // point keeps half a tolerance from the end, beyond the zero, and
      // closes the bracket.
      {"zero near an end", [](double x) { return x - 1e-9; }, 0.0, 1.0, 1e-9, 1},
  };
  for (const RefinementCase& c : cases) {
    SCOPED_TRACE(c.name);
    int evaluations = 0;
    const auto counted = [&](double x) {
      ++evaluations;
      return c.f(x);
    };
    const double root =
        swcore::refineLowestRoot(counted, {c.lo, c.f(c.lo)}, {c.hi, c.f(c.hi)}, kTolerance);
    EXPECT_NEAR(root, c.zero, kTolerance);
    EXPECT_LE(evaluations, c.mostEvaluations);
  }
}

struct DipCase {
  const char* name;
  std::function<double(double)> f;
  double walkSign;
  bool pairFound;
  int evaluations;  // of D at probes
};

// Three step points at 0.9, 0.95 and 1.1 with values of one sign, around
// functions whose zeros are known in closed form. For a parabola the first
// probe is its own vertex: for (x - 1)(x - 1.04) that is 1.02, where it is
// -4e-4, so the pair's lower zero 1 lies between 0.95 and 1.02.
TEST(SignChangeInDip, ProbesOnlyWhereTheParabolaDipsThroughZero) {
  const std::vector<DipCase> cases{
      {"pair at 1 and 1.04", [](double x) { return (x - 1.0) * (x - 1.04); }, 1.0, true, 1},
      {"the same pair, negative", [](double x) { return -(x - 1.0) * (x - 1.04); }, -1.0, true, 1},
      // The vertex 1.02 stays 1e-4 above zero: no zero, no probe.
      {"dip above zero", [](double x) { return (x - 1.02) * (x - 1.02) + 1e-4; }, 1.0, false, 0},
      // Convex and rising: the vertex lies below the points.
      {"rising", [](double x) { return std::exp(x); }, 1.0, false, 0},
      // Concave: no minimum between the points.
      {"concave", [](double x) { return 2.0 - (x - 1.0) * (x - 1.0); }, 1.0, false, 0},
  };
  for (const DipCase& c : cases) {
    SCOPED_TRACE(c.name);
    int evaluations = 0;
    const auto sign = [&](double x) {
      ++evaluations;
      return c.f(x);
    };
    const BracketEnd points[3] = {{0.9, c.f(0.9)}, {0.95, c.f(0.95)}, {1.1, c.f(1.1)}};
    const std::optional<swcore::SignChange> pair =
        swcore::signChangeInDip(sign, c.f, points, c.walkSign);
    EXPECT_EQ(evaluations, c.evaluations);
    ASSERT_EQ(pair.has_value(), c.pairFound);
    if (pair) {
      EXPECT_DOUBLE_EQ(pair->lower.x, 0.95);
      EXPECT_NEAR(pair->upper.x, 1.02, 1e-12);
      EXPECT_LT(pair->upper.f * c.walkSign, 0.0);
    }
  }
}

// Where the first parabola's vertex keeps the walk's sign, the next probes
// run through the lowest points found. g = (x - 1.04)(x - 1.06) e^(-10 (x - 1))
// is no parabola: its dip leans toward the lower points, the first vertex
// misses the pair, and the lower zero 1.04 is bracketed all the same.
TEST(SignChangeInDip, FollowsTheDipBeyondTheFirstVertex) {
  const auto g = [](double x) { return (x - 1.04) * (x - 1.06) * std::exp(-10.0 * (x - 1.0)); };
  int evaluations = 0;
  const auto sign = [&](double x) {
    ++evaluations;
    return g(x);
  };
  const BracketEnd points[3] = {{0.9, g(0.9)}, {0.95, g(0.95)}, {1.1, g(1.1)}};
  const std::optional<swcore::SignChange> pair = swcore::signChangeInDip(sign, g, points, 1.0);
  ASSERT_TRUE(pair.has_value());
  EXPECT_GT(evaluations, 1);
  EXPECT_LE(evaluations, swcore::kDipProbes);
  EXPECT_LT(pair->lower.x, 1.04);
  EXPECT_GT(pair->upper.x, 1.04);
  EXPECT_LT(pair->upper.x, 1.06);
  EXPECT_GT(pair->lower.f, 0.0);
  EXPECT_LT(pair->upper.f, 0.0);
}

TEST(RefineLowestRoot, AGuessNearTheZeroClosesTheBracketInThreePoints) {
  const double kTolerance = 1e-8;
  // exp(x) - 2 on [0, 1], zero at ln 2; guesses on either side of it, all
  // within a tolerance. Without the guess the chords need six points.
  const auto f = [](double x) { return std::exp(x) - 2.0; };
  for (const double offset : {-8e-9, -3e-9, 0.0, 2e-9, 9e-9}) {
    SCOPED_TRACE(::testing::Message() << "guess " << offset << " from the zero");
    int evaluations = 0;
    const auto counted = [&](double x) {
      ++evaluations;
      return f(x);
    };
    const double root = swcore::refineLowestRoot(counted, {0.0, f(0.0)}, {1.0, f(1.0)}, kTolerance,
                                                 std::log(2.0) + offset);
    EXPECT_NEAR(root, std::log(2.0), kTolerance);
    EXPECT_LE(evaluations, 3);
  }
}

// A solver prepares D and the walk's steps once per model and changes only
// omega between frequencies: that must give what preparing them afresh at
// that omega gives, to the bit, across the slots' velocities.
TEST(SetOmega, GivesTheValuesOfAFunctionMadeAtThatOmega) {
  const double thickness[3] = {0.005, 0.010, 0.0};
  const double shear[3] = {0.2, 0.4, 0.8};
  const double p[3] = {0.6, 1.2, 2.4};
  const double density[3] = {1.8, 2.0, 2.2};
  const swcore::SecularModel first{3, thickness, shear, p, density, 2.0 * 3.14159 * 150.0};
  swcore::SecularFunction reused(first);
  swcore::PhaseStepper reusedSteps(first);
  for (const double hz : {5.0, 37.5, 150.0}) {
    swcore::SecularModel fresh = first;
    fresh.omega = 2.0 * 3.14159 * hz;
    reused.setOmega(fresh.omega);
    reusedSteps.setOmega(fresh.omega);
    const swcore::SecularFunction d(fresh);
    const swcore::PhaseStepper steps(fresh);
    // Below every velocity, between the S and P velocities of the top
    // layer, and between the slots' velocities deeper down.
    for (const double c : {0.18, 0.3, 0.5, 0.75}) {
      SCOPED_TRACE(::testing::Message() << hz << " Hz, c = " << c);
      EXPECT_EQ(reused.literal(c), d.literal(c));
      EXPECT_EQ(reused.rescaled(c), d.rescaled(c));
      double reusedDecay = 0.0;
      double freshDecay = 0.0;
      reused.literal(c, reusedDecay);
      d.literal(c, freshDecay);
      EXPECT_EQ(reusedDecay, freshDecay);
      EXPECT_EQ(reusedSteps.next(c, 0.8), steps.next(c, 0.8));
    }
  }
}

// The slots that begin to oscillate between two velocities, counted by
// their vertical phase at the upper one, worked by hand: 5 m of 200 m/s
// (P 600) over 10 m of 400 m/s (P 1200) at 20 Hz, omega = 40 pi. At 0.45
// km/s the top layer's S slot holds 40 pi 0.005 sqrt(1/0.04 - 1/0.2025) =
// 2.81 rad and the second layer's 40 pi 0.010 sqrt(1/0.16 - 1/0.2025) =
// 1.44 rad; both P slots are still evanescent there.
TEST(SlotsTurningWithPhase, CountsTheSlotVelocitiesPassedThatHoldThePhase) {
  const double thickness[3] = {0.005, 0.010, 0.0};
  const double shear[3] = {0.2, 0.4, 0.8};
  const double p[3] = {0.6, 1.2, 2.4};
  const double density[3] = {1.8, 2.0, 2.2};
  const swcore::SecularModel model{3, thickness, shear, p, density, 2.0 * std::numbers::pi * 20.0};
  for (const swcore::WaveType wave : {swcore::WaveType::rayleigh, swcore::WaveType::love}) {
    const swcore::PhaseStepper steps(model, wave);
    // Only the velocities passed count: 0.19 to 0.45 passes both S
    // velocities, 0.21 to 0.45 the second alone, 0.41 to 0.45 none.
    EXPECT_EQ(steps.slotsTurningWithPhase(0.19, 0.45, 0.0), 2);
    EXPECT_EQ(steps.slotsTurningWithPhase(0.21, 0.45, 0.0), 1);
    EXPECT_EQ(steps.slotsTurningWithPhase(0.41, 0.45, 0.0), 0);
    // Each slot counts only with at least the phase asked for.
    EXPECT_EQ(steps.slotsTurningWithPhase(0.19, 0.45, 1.40), 2);
    EXPECT_EQ(steps.slotsTurningWithPhase(0.19, 0.45, 1.48), 1);
    EXPECT_EQ(steps.slotsTurningWithPhase(0.19, 0.45, 2.78), 1);
    EXPECT_EQ(steps.slotsTurningWithPhase(0.19, 0.45, 2.84), 0);
  }
  // The P slots of Rayleigh waves count too: 0.59 to 0.65 km/s passes the
  // top layer's P velocity, with 40 pi 0.005 sqrt(1/0.36 - 1/0.4225) =
  // 0.403 rad at 0.65; Love waves have no P slots.
  EXPECT_EQ(swcore::PhaseStepper(model, swcore::WaveType::rayleigh)
                .slotsTurningWithPhase(0.59, 0.65, 0.39),
            1);
  EXPECT_EQ(swcore::PhaseStepper(model, swcore::WaveType::rayleigh)
                .slotsTurningWithPhase(0.59, 0.65, 0.42),
            0);
  EXPECT_EQ(
      swcore::PhaseStepper(model, swcore::WaveType::love).slotsTurningWithPhase(0.59, 0.65, 0.0),
      0);
}

}  // namespace
