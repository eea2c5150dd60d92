// SPDX-License-Identifier: GPL-3.0-or-later
// The forward entry: unit conversion, the walk from frequency to frequency,
// the traces it leaves in the engine state, and its input limits.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "dispersion/forward_entry.h"
#include "dispersion/secular_function.h"
#include "test_models.h"

namespace {

using swcore::EngineState;
using swcore::runForward;

// Caller-side buffers with the capacities of the library boundary.
struct Call {
  int32_t n = 0;
  std::array<float, 50> thickness{};
  std::array<float, 50> vs{};
  std::array<float, 50> density{};
  int32_t nf = 0;
  std::array<float, 50> freq{};
  std::array<float, 50> out{};

  Call(std::vector<float> h, std::vector<float> v, std::vector<float> rho, std::vector<float> f)
      : n(static_cast<int32_t>(v.size())), nf(static_cast<int32_t>(f.size())) {
    std::copy(h.begin(), h.end(), thickness.begin());
    std::copy(v.begin(), v.end(), vs.begin());
    std::copy(rho.begin(), rho.end(), density.begin());
    std::copy(f.begin(), f.end(), freq.begin());
    out.fill(-1.0f);
  }
  void run(EngineState& state) {
    runForward(state,
               {n, thickness.data(), vs.data(), density.data(), nf, freq.data(), out.data()});
  }
};

Call exampleCall(std::vector<float> f) {
  return Call({5.0f, 10.0f, 0.0f}, {150.0f, 250.0f, 400.0f}, {1.8f, 1.9f, 2.0f}, std::move(f));
}

TEST(Forward, HalfSpaceGivesItsRayleighVelocityAtEveryFrequency) {
  EngineState state{};
  Call call({3.0f}, {150.0f}, {1.8f}, dispfit_test::standardFrequencies());
  call.run(state);
  const double expected = 150.0 * dispfit_test::halfSpaceRayleighRatio();
  for (int j = 0; j < 30; ++j) {
    EXPECT_NEAR(call.out[j], expected, 2e-5) << j;
    EXPECT_NEAR(call.out[j], 142.0961f, 1e-4f) << j;
  }
  EXPECT_EQ(call.out[30], -1.0f);
}

TEST(Forward, TwoLayersOverHalfSpaceGiveTheQuotedVelocities) {
  EngineState state{};
  Call call = exampleCall({150.0f, 20.0f, 10.0f, 5.0f});
  call.run(state);
  EXPECT_NEAR(call.out[0], 142.097f, 5e-4f);
  EXPECT_NEAR(call.out[1], 149.943f, 5e-4f);
  EXPECT_NEAR(call.out[2], 221.983f, 5e-4f);
  EXPECT_NEAR(call.out[3], 338.131f, 5e-4f);
  // The first value is the creeping false position, above the zero by more
  // than the tolerance; the others agree with the independent determinant.
  const dispfit_test::Model model = dispfit_test::twoLayersOverHalfSpace();
  const std::array<double, 4> hz{150.0, 20.0, 10.0, 5.0};
  for (int j = 0; j < 4; ++j) {
    const dispfit_test::LayeredDeterminant det(dispfit_test::layersFor(model),
                                               dispfit_test::engineOmega(hz[j]));
    const double c = state.velocity[j];
    const std::vector<double> zeros = det.zeros(c - 1e-4, c + 1e-4, 20);
    ASSERT_EQ(zeros.size(), 1u) << j;
    EXPECT_NEAR(c, zeros[0], j == 0 ? 1e-6 : 1e-8) << j;
  }
  EXPECT_GT(state.velocity[0] - 0.1420961, 1e-8);
}

TEST(Forward, LeavesPeriodsAndModelInTheStateAndTheCallersFrequenciesAlone) {
  EngineState state{};
  Call call = exampleCall({150.0f, 20.0f, 10.0f, 5.0f});
  call.run(state);
  EXPECT_EQ(call.freq[0], 150.0f);
  EXPECT_EQ(call.freq[3], 5.0f);
  EXPECT_DOUBLE_EQ(state.FREQ[0], 1.0 / 150.0);
  EXPECT_DOUBLE_EQ(state.FREQ[3], 0.2);
  EXPECT_DOUBLE_EQ(state.omega, 6.2831854820251465 * 5.0);
  EXPECT_EQ(state.layerCount, 3);
  EXPECT_DOUBLE_EQ(state.thickness[1], 0.010);
  EXPECT_DOUBLE_EQ(state.shearVelocity[2], 0.4);
  EXPECT_DOUBLE_EQ(state.pVelocity[2], 1.2);
  EXPECT_DOUBLE_EQ(state.density[0], static_cast<double>(1.8f));
  EXPECT_EQ(state.NF, 3);
  EXPECT_EQ(state.M, 4);
  // The next search starts two steps below the last result; the 5 Hz search
  // began below 0.35 km/s, so its step was the coarse one.
  EXPECT_DOUBLE_EQ(state.startVelocity, state.velocity[3] - 2.0 * 0.005);
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(call.out[j], static_cast<float>(state.velocity[j] * 1000.0));
  }
}

TEST(Forward, HalfSpaceThicknessAndTheDensityUnitChangeNothing) {
  EngineState s1{}, s2{}, s3{};
  Call base = exampleCall(dispfit_test::standardFrequencies());
  Call deeper = base;
  deeper.thickness[2] = 1234.0f;
  Call kgPerM3 = base;
  for (int i = 0; i < 3; ++i) {
    kgPerM3.density[i] *= 1000.0f;
  }
  base.run(s1);
  deeper.run(s2);
  kgPerM3.run(s3);
  for (int j = 0; j < 30; ++j) {
    EXPECT_EQ(deeper.out[j], base.out[j]) << j;
    EXPECT_NEAR(kgPerM3.out[j], base.out[j], 1e-3f) << j;
  }
}

TEST(Forward, AscendingFrequenciesGiveTheValuesOfTheDescendingOrder) {
  // From 5 Hz up, the 10 Hz search would start above the 10 Hz root (the
  // curve falls by more than two steps) and bracket a higher zero; searched
  // from the highest frequency down, each slot gets the fundamental mode.
  EngineState down{}, up{};
  Call descending = exampleCall({10.0f, 5.0f});
  Call ascending = exampleCall({5.0f, 10.0f});
  descending.run(down);
  ascending.run(up);
  EXPECT_GT(descending.out[1] - descending.out[0], 10.0f) << "the case needs a fall of > 2 steps";
  EXPECT_EQ(ascending.out[0], descending.out[1]);
  EXPECT_EQ(ascending.out[1], descending.out[0]);
  // The state still holds the periods in the caller's order.
  EXPECT_DOUBLE_EQ(up.FREQ[0], 0.2);
  EXPECT_DOUBLE_EQ(up.FREQ[1], 0.1);
}

TEST(Forward, NoFrequenciesStoresTheModelAndWritesNoVelocity) {
  EngineState state{};
  Call call = exampleCall({});
  call.run(state);
  EXPECT_EQ(state.layerCount, 3);
  EXPECT_DOUBLE_EQ(state.shearVelocity[1], 0.25);
  EXPECT_EQ(call.out[0], -1.0f);
}

TEST(Forward, FrequencyWithoutARootKeepsTheEarlierSlotValue) {
  // A 20 km/s half-space: the search starts at 16 km/s, above the ceiling.
  Call stiff({0.0f}, {20000.0f}, {2.5f}, {30.0f, 20.0f});
  EngineState fresh{};
  stiff.run(fresh);
  EXPECT_EQ(stiff.out[0], 0.0f);
  EXPECT_EQ(stiff.out[1], 0.0f);

  EngineState used{};
  Call first({0.0f}, {150.0f}, {1.8f}, {30.0f, 20.0f});
  first.run(used);
  stiff.run(used);
  EXPECT_EQ(stiff.out[0], first.out[0]);
  EXPECT_EQ(stiff.out[1], first.out[1]);
}

TEST(Forward, SearchAfterAFrequencyWithoutRootNeverStartsAtOrBelowZero) {
  // A 13 km/s layer over a 14 km/s half-space puts the first start at
  // 10.4 km/s, above the ceiling: no root at 150 Hz, slot 1 keeps 0, and the
  // next search would start two coarse steps below it, at -0.01 km/s. It
  // starts at 10.4 km/s again: one step each.
  Call call({0.5f, 0.0f}, {13000.0f, 14000.0f}, {2.6f, 2.7f}, {150.0f, 20.0f, 5.0f});
  EngineState fresh{};
  const std::uint64_t before = swcore::secularEvaluationCount;
  call.run(fresh);
  EXPECT_EQ(swcore::secularEvaluationCount - before, 6u);
  EXPECT_EQ(call.out[0], 0.0f);
  EXPECT_EQ(call.out[1], 0.0f);
  EXPECT_EQ(call.out[2], 0.0f);
  EXPECT_DOUBLE_EQ(fresh.startVelocity, -0.01);
}

TEST(Forward, CountsOutsideTheCapacitiesAreRefusedWithoutTouchingAnything) {
  const std::vector<std::pair<int32_t, int32_t>> bad{{0, 4}, {-1, 4}, {51, 4}, {3, -1}, {3, 51}};
  for (const auto& [n, nf] : bad) {
    EngineState state{};
    state.velocity[0] = 0.5;
    const EngineState before = state;
    Call call = exampleCall({150.0f, 20.0f, 10.0f, 5.0f});
    call.n = n;
    call.nf = nf;
    call.run(state);
    EXPECT_EQ(std::memcmp(&state, &before, sizeof state), 0) << n << " " << nf;
    EXPECT_EQ(call.out[0], -1.0f) << n << " " << nf;
  }
}

TEST(Forward, FullCapacitiesAreAccepted) {
  std::vector<float> h(50, 2.0f), v(50), rho(50, 1.9f), f(50);
  for (int i = 0; i < 50; ++i) {
    v[i] = 150.0f + 10.0f * static_cast<float>(i);
    f[i] = 150.0f - 2.5f * static_cast<float>(i);
  }
  EngineState state{};
  Call call(h, v, rho, f);
  call.run(state);
  for (int j = 0; j < 50; ++j) {
    EXPECT_TRUE(std::isfinite(call.out[j])) << j;
    EXPECT_GT(call.out[j], 100.0f) << j;
  }
}

}  // namespace
