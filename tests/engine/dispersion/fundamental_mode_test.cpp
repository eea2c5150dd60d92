// SPDX-License-Identifier: GPL-3.0-or-later
// The forward entry on models that are not normally dispersive: a stiff
// crust over soft soil, low-velocity layers and a half-space slower than a
// layer above it. Each result is checked against the zeros of the independent
// determinant found on a fine scan below the half-space's S velocity, and
// the order of the frequencies must not matter.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "dispersion/forward_entry.h"
#include "dispersion/secular_function.h"
#include "test_models.h"

namespace {

using dispfit_test::Model;

// A model as a caller passes it (m, m/s, g/cm3), with a name for the trace.
struct NamedModel {
  std::string name;
  std::vector<float> thickness;
  std::vector<float> vs;
  std::vector<float> density;
};

const std::vector<NamedModel>& models() {
  static const std::vector<NamedModel> table{
      {"stiff crust over soft soil", {4, 12, 0}, {400, 180, 700}, {1.9f, 1.8f, 2.0f}},
      {"soft layer under a firmer top", {3, 4, 0}, {200, 120, 400}, {1.8f, 1.7f, 2.0f}},
      {"deep low-velocity layer",
       {2, 3, 5, 10, 0},
       {150, 250, 100, 350, 600},
       {1.7f, 1.8f, 1.6f, 1.9f, 2.1f}},
      {"thin pavement over a soft fill",
       {1, 6, 8, 0},
       {250, 140, 220, 500},
       {2.0f, 1.7f, 1.8f, 2.1f}},
      {"half-space slower than the layer above", {5, 10, 0}, {200, 450, 300}, {1.8f, 2.0f, 1.9f}},
  };
  return table;
}

constexpr std::size_t kSlots = 50;
constexpr double kScanStep = 1e-4;  // km/s, 0.1 m/s
// The walk's coarse step, km/s: two zeros closer than this can both lie in
// one step, where D does not change sign, and be passed over together.
constexpr double kCoarseStep = 0.005;
// A result lies on its zero to within 0.1 m/s: the check after the
// refinement's stop proves the result within 1e-4 km/s of the zero (false
// position can stop that far off while it creeps).
constexpr double kOnZero = 1e-4;

// One forward call on a fresh state whose velocity slots hold `preset`.
struct ForwardRun {
  swcore::EngineState state{};
  std::array<float, kSlots> out{};

  ForwardRun(const NamedModel& m, const std::vector<float>& hertz, double preset = 0.0) {
    std::array<float, kSlots> h{}, vs{}, rho{}, freq{};
    std::copy(m.thickness.begin(), m.thickness.end(), h.begin());
    std::copy(m.vs.begin(), m.vs.end(), vs.begin());
    std::copy(m.density.begin(), m.density.end(), rho.begin());
    std::copy(hertz.begin(), hertz.end(), freq.begin());
    std::fill(std::begin(state.velocity), std::end(state.velocity), preset);
    out.fill(-1.0f);
    swcore::runForward(state, {static_cast<int32_t>(m.vs.size()), h.data(), vs.data(), rho.data(),
                               static_cast<int32_t>(hertz.size()), freq.data(), out.data()});
  }

  // The model as the engine holds it (single precision widened, km and km/s).
  Model held() const {
    Model model;
    for (int i = 0; i < state.layerCount; ++i) {
      model.thickness.push_back(state.thickness[i]);
      model.vs.push_back(state.shearVelocity[i]);
      model.density.push_back(state.density[i]);
    }
    return model;
  }
};

// Zeros of the independent determinant from half the slowest S velocity (no
// mode is that slow) up to just below the half-space's S velocity.
std::vector<double> zerosBelowHalfSpace(const Model& model, double hertz) {
  const dispfit_test::LayeredDeterminant det(dispfit_test::layersFor(model),
                                             dispfit_test::engineOmega(hertz));
  const double lo = 0.5 * *std::min_element(model.vs.begin(), model.vs.end());
  const double hi = model.vs.back() * (1.0 - 1e-12);
  return det.zeros(lo, hi, static_cast<int>((hi - lo) / kScanStep));
}

double distanceToNearest(const std::vector<double>& zeros, double c) {
  double best = std::numeric_limits<double>::infinity();
  for (const double z : zeros) {
    best = std::min(best, std::abs(z - c));
  }
  return best;
}

// True when some other zero of the list lies within a coarse step of zeros[i].
bool hasPartnerWithinAStep(const std::vector<double>& zeros, std::size_t i) {
  for (std::size_t k = 0; k < zeros.size(); ++k) {
    if (k != i && std::abs(zeros[k] - zeros[i]) < kCoarseStep) {
      return true;
    }
  }
  return false;
}

TEST(FundamentalMode, EveryResultIsTheLowestZeroOrOneJustAboveAPairPassedOver) {
  const std::vector<float> hz = dispfit_test::standardFrequencies();
  for (const NamedModel& named : models()) {
    SCOPED_TRACE(named.name);
    const ForwardRun run(named, hz);
    const Model model = run.held();
    const double beta = model.vs.back();
    int lowest = 0;
    for (std::size_t j = 0; j < hz.size(); ++j) {
      SCOPED_TRACE(::testing::Message() << hz[j] << " Hz");
      const double c = run.state.velocity[j];
      ASSERT_TRUE(std::isfinite(c));
      // Never a pole: the half-space's S and P velocities (Vp = 3 Vs).
      EXPECT_GT(std::abs(c - beta), kOnZero);
      EXPECT_GT(std::abs(c - 3.0 * beta), kOnZero);
      const std::vector<double> zeros = zerosBelowHalfSpace(model, hz[j]);
      if (zeros.empty()) {
        // No mode below beta: a zero of D above it, or no root (slot 0).
        if (c != 0.0) {
          const swcore::SecularFunction d(
              dispfit_test::stateFor(model, dispfit_test::engineOmega(hz[j])));
          EXPECT_FALSE(dispfit_test::signChanges(d, c - kOnZero, c + kOnZero, 2).empty());
        }
        continue;
      }
      ASSERT_LT(c, beta) << "a zero lies below the half-space's S velocity at " << zeros[0];
      EXPECT_LE(distanceToNearest(zeros, c), kOnZero) << c << " is not a zero";
      if (std::abs(c - zeros[0]) <= kOnZero) {
        ++lowest;
        continue;
      }
      // Above the lowest zero only by passing over zeros in pairs: each zero
      // below the result has a partner within one step.
      for (std::size_t i = 0; i < zeros.size() && zeros[i] < c - kOnZero; ++i) {
        EXPECT_TRUE(hasPartnerWithinAStep(zeros, i)) << "zero " << zeros[i] << " passed over";
      }
    }
    std::printf("%s: %d of %zu results on the lowest zero\n", named.name.c_str(), lowest,
                hz.size());
  }
}

// Any order of the frequencies gives, slot by slot, the values of the
// descending order; frequencies that are not positive and finite keep their
// slots and change nothing else.
TEST(FundamentalMode, AscendingShuffledAndZeroContainingListsGiveTheDescendingValues) {
  const std::vector<float> descending = dispfit_test::standardFrequencies();
  const std::vector<float> ascending(descending.rbegin(), descending.rend());
  std::vector<float> shuffled = descending;
  std::mt19937 rng(271828);
  std::shuffle(shuffled.begin(), shuffled.end(), rng);
  std::vector<float> withBad = shuffled;
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  withBad.insert(withBad.begin() + 3, 0.0f);
  withBad.insert(withBad.begin() + 11, -5.0f);
  withBad.insert(withBad.begin() + 19, nan);
  withBad.insert(withBad.begin() + 26, inf);
  withBad.insert(withBad.begin(), -0.0f);

  constexpr double kPreset = 0.5;  // km/s, a value no search writes
  for (const NamedModel& named : models()) {
    SCOPED_TRACE(named.name);
    const ForwardRun reference(named, descending);
    const auto valueAt = [&](float hertz) {
      const auto k = std::find(descending.begin(), descending.end(), hertz) - descending.begin();
      return reference.out[static_cast<std::size_t>(k)];
    };
    for (const std::vector<float>& list : {ascending, shuffled, withBad}) {
      const ForwardRun run(named, list, kPreset);
      for (std::size_t j = 0; j < list.size(); ++j) {
        const float f = list[j];
        SCOPED_TRACE(::testing::Message() << "slot " << j << ", " << f << " Hz");
        if (f > 0.0f && std::isfinite(f)) {
          EXPECT_EQ(run.out[j], valueAt(f));
        } else {
          EXPECT_EQ(run.out[j], static_cast<float>(kPreset * 1000.0));
          EXPECT_EQ(run.state.velocity[j], kPreset);
        }
      }
    }
  }
}

}  // namespace
