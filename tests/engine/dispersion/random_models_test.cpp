// SPDX-License-Identifier: GPL-3.0-or-later
// Forward curves of random near-surface models checked against the
// independent determinant: no undefined velocity, and every result within
// 0.1 m/s of the zero that the upward walk bracketed. A frequency whose walk
// brackets nothing but poles has no root and keeps its slot.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "dispersion/curve_walk.h"
#include "dispersion/forward_entry.h"
#include "dispersion/root_search.h"
#include "dispersion/secular_function.h"
#include "test_models.h"

namespace {

using dispfit_test::Model;

constexpr int kModels = 120;
constexpr double kAllowed = 1e-4;  // km/s, 0.1 m/s

struct Tally {
  int results = 0;
  int checkedAgainstDeterminant = 0;
  int checkedAgainstSignChange = 0;
  int withoutRoot = 0;
};

// Runs the forward entry on the model, then follows the same sequence of
// searches to learn each walk's bracket, and locates the zero in it.
void checkModel(const Model& model, Tally& tally) {
  const std::vector<float> hz = dispfit_test::standardFrequencies();
  const int n = static_cast<int>(model.vs.size());
  std::array<float, 50> h{}, vs{}, rho{}, freq{}, out{};
  for (int i = 0; i < n; ++i) {
    h[i] = static_cast<float>(model.thickness[i] * 1000.0);
    vs[i] = static_cast<float>(model.vs[i] * 1000.0);
    rho[i] = static_cast<float>(model.density[i]);
  }
  std::copy(hz.begin(), hz.end(), freq.begin());
  swcore::EngineState state{};
  swcore::runForward(state, {n, h.data(), vs.data(), rho.data(), 30, freq.data(), out.data()});

  // The model as the engine holds it (single precision widened).
  Model held;
  for (int i = 0; i < n; ++i) {
    held.thickness.push_back(state.thickness[i]);
    held.vs.push_back(state.shearVelocity[i]);
    held.density.push_back(state.density[i]);
  }
  const double halfSpace = held.vs.back();
  // The walk starts at 0.8 x the slowest S velocity and passes over the
  // poles of D at the half-space's S and P velocities (Vp = 3 Vs).
  const double slowest = *std::min_element(held.vs.begin(), held.vs.end());
  const double firstStart = slowest * 0.800000011920929;
  const swcore::PoleVelocities poles{halfSpace, 3.0 * halfSpace};
  // The check for a zero below the start applies where the slowest layer is buried.
  const swcore::CurveWalk walk{firstStart, halfSpace, 1e-8, held.vs.front() > slowest};
  double start = firstStart;
  for (int j = 0; j < 30; ++j) {
    SCOPED_TRACE(::testing::Message() << "frequency " << hz[j]);
    ASSERT_FALSE(std::isnan(out[j]));
    if (!(start > 0.0)) {
      start = firstStart;
    }
    const double omega = dispfit_test::engineOmega(hz[j]);
    const swcore::SecularFunction d(dispfit_test::stateFor(held, omega));
    double root = std::nan("");
    const swcore::SearchStart used = swcore::searchCurvePoint(d, poles, walk, start, root);
    const std::optional<swcore::Bracket> bracket =
        swcore::walkToSignChange(d, used.velocity, used.step, poles);
    if (!bracket) {
      // No root: the slot keeps the zero of the fresh state.
      EXPECT_EQ(state.velocity[j], 0.0);
      ++tally.withoutRoot;
      start = state.velocity[j] - 2.0 * used.step;
      continue;
    }
    const double result = state.velocity[j];
    ASSERT_TRUE(std::isfinite(result));
    ++tally.results;
    // The walk can end on a step point that is the zero itself (the next
    // search starts exactly two steps below a root); widen by a hair.
    const double lo = bracket->lower.x - 1e-7;
    const double hi = bracket->upper.x + 1e-7;
    std::vector<double> zeros;
    if (hi < halfSpace) {
      const dispfit_test::LayeredDeterminant det(dispfit_test::layersFor(held), omega);
      zeros = det.zeros(lo, hi, 64);
      ++tally.checkedAgainstDeterminant;
    } else {
      // Above the half-space velocity the determinant is not defined: the
      // bracketed sign change of D itself, located by bisection.
      zeros = dispfit_test::signChanges(d, lo, hi, 64);
      ++tally.checkedAgainstSignChange;
    }
    ASSERT_FALSE(zeros.empty()) << "no zero in [" << lo << ", " << hi << "]";
    double nearest = zeros[0];
    for (double z : zeros) {
      if (std::abs(z - result) < std::abs(nearest - result)) {
        nearest = z;
      }
    }
    EXPECT_LE(std::abs(result - nearest), kAllowed)
        << "result " << result << " zero " << nearest << " bracket [" << lo << ", " << hi << "]";
    start = result - 2.0 * used.step;
  }
}

TEST(RandomModels, CurvesHaveNoUndefinedValueAndLieOnTheBracketedZeros) {
  std::mt19937_64 rng(20240611);
  Tally tally;
  for (int i = 0; i < kModels; ++i) {
    const Model model = dispfit_test::randomNearSurfaceModel(rng);
    SCOPED_TRACE(::testing::Message() << "model " << i << " with " << model.vs.size() << " layers");
    checkModel(model, tally);
    if (::testing::Test::HasFatalFailure()) {
      return;
    }
  }
  EXPECT_EQ(tally.results + tally.withoutRoot, 30 * kModels);
  // Nearly all brackets lie below the half-space velocity.
  EXPECT_GT(tally.checkedAgainstDeterminant, 9 * tally.results / 10);
  std::printf(
      "%d results: %d against the determinant, %d against D's sign change; %d without root\n",
      tally.results, tally.checkedAgainstDeterminant, tally.checkedAgainstSignChange,
      tally.withoutRoot);
}

}  // namespace
